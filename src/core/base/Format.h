#pragma once

#include <QByteArray>
#include <QString>

#include <tuple>
#include <utility>

namespace vormex {
namespace detail {
inline QByteArray keepArg(const QString& text) { return text.toUtf8(); }
template <typename T>
T keepArg(const T& value) { return value; }
inline const char* passArg(const QByteArray& bytes) { return bytes.constData(); }
template <typename T>
T passArg(const T& value) { return value; }
}  // namespace detail

// printf-style formatting of a message from the string table ("%d", "%02d", "%s", ...);
// QString arguments may be given for "%s".
template <typename... Args>
QString cformat(const QString& format, const Args&... args)
{
    const QByteArray pattern = format.toUtf8();
    auto kept = std::make_tuple(detail::keepArg(args)...);
    return std::apply(
        [&pattern](const auto&... values) { return QString::asprintf(pattern.constData(), detail::passArg(values)...); },
        kept);
}

}  // namespace vormex
