#include "codec/Codec.h"

#include <QtEndian>

#include <iconv.h>

#include <cerrno>
#include <memory>
#include <optional>

namespace vormex::codec {
namespace {

constexpr const char* kPrinterCodePage = "CP932";
constexpr const char* kWesternCodePage = "CP1252";
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr const char* kUtf16 = "UTF-16LE";
#else
constexpr const char* kUtf16 = "UTF-16BE";
#endif

struct IconvCloser {
    void operator()(void* handle) const { iconv_close(static_cast<iconv_t>(handle)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

IconvHandle openConverter(const char* to, const char* from)
{
    iconv_t handle = iconv_open(to, from);
    if (handle == reinterpret_cast<iconv_t>(-1))
        return nullptr;
    return IconvHandle(handle);
}

// Converts the whole text; nothing when any character fails.
std::optional<QByteArray> convertExactly(void* cd, QStringView text)
{
    iconv(static_cast<iconv_t>(cd), nullptr, nullptr, nullptr, nullptr);
    QByteArray out;
    out.resize(text.size() * 4 + 16);
    char* in = const_cast<char*>(reinterpret_cast<const char*>(text.utf16()));
    size_t inLeft = static_cast<size_t>(text.size() * 2);
    char* dst = out.data();
    size_t dstLeft = static_cast<size_t>(out.size());
    const size_t rc = iconv(static_cast<iconv_t>(cd), &in, &inLeft, &dst, &dstLeft);
    if (rc != 0 || inLeft != 0)
        return std::nullopt;  // an error, or (rc > 0) a lossy conversion
    out.truncate(dst - out.data());
    return out;
}

QString decode(const QByteArray& input, const char* codePage, StopAtNul stop);

// A character converts exactly when its bytes convert back to the same character; this rules
// out the best-fit mappings some converters make (the yen sign to a backslash, say).
QByteArray encode(const QString& text, const char* codePage)
{
    if (text.isEmpty())
        return {};
    IconvHandle cd = openConverter(codePage, kUtf16);
    if (!cd)
        return QByteArray(text.size(), '?');

    if (auto whole = convertExactly(cd.get(), text); whole && decode(*whole, codePage, StopAtNul::No) == text)
        return *whole;

    QByteArray out;
    out.reserve(text.size() * 2);
    qsizetype i = 0;
    while (i < text.size()) {
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const QStringView character = QStringView(text).sliced(i, pair ? 2 : 1);
        const auto bytes = convertExactly(cd.get(), character);
        if (bytes && decode(*bytes, codePage, StopAtNul::No) == character)
            out.append(*bytes);
        else
            out.append('?');
        i += character.size();
    }
    return out;
}

QString decode(const QByteArray& input, const char* codePage, StopAtNul stop)
{
    QByteArray bytes = input;
    if (stop == StopAtNul::Yes) {
        const qsizetype nul = bytes.indexOf('\0');
        if (nul >= 0)
            bytes.truncate(nul);
    }
    if (bytes.isEmpty())
        return {};
    IconvHandle cd = openConverter(kUtf16, codePage);
    if (!cd)
        return QString::fromLatin1(bytes);

    QString out;
    out.reserve(bytes.size());
    char* in = bytes.data();
    size_t inLeft = static_cast<size_t>(bytes.size());
    char16_t buffer[256];
    while (inLeft > 0) {
        char* dst = reinterpret_cast<char*>(buffer);
        size_t dstLeft = sizeof buffer;
        const size_t rc = iconv(static_cast<iconv_t>(cd.get()), &in, &inLeft, &dst, &dstLeft);
        out.append(QStringView(buffer, (reinterpret_cast<char16_t*>(dst) - buffer)));
        if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
            // An invalid or truncated sequence: one '?' for the byte, then go on after it.
            out.append(QLatin1Char('?'));
            ++in;
            --inLeft;
            iconv(static_cast<iconv_t>(cd.get()), nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
}

}  // namespace

QByteArray toPrinterCodePage(const QString& text) { return encode(text, kPrinterCodePage); }

QString fromPrinterCodePage(const QByteArray& bytes, StopAtNul stop)
{
    return decode(bytes, kPrinterCodePage, stop);
}

QByteArray toCp1252(const QString& text) { return encode(text, kWesternCodePage); }

QString fromCp1252(const QByteArray& bytes, StopAtNul stop) { return decode(bytes, kWesternCodePage, stop); }

const char* printerCodePageName() { return kPrinterCodePage; }

}  // namespace vormex::codec
