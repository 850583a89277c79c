#pragma once

#include <QString>

#include <optional>

// The rules of the options sheet that do not depend on widgets.
namespace vormex {

class StringTable;

// The wait time after a download, in milliseconds, as the downloader page accepts it.
inline constexpr int kMinWaitTimeMs = 1;
inline constexpr int kMaxWaitTimeMs = 60000;

// The wait time typed on the downloader page: an integer from 1 to 60000. Otherwise nothing,
// with the page's range message (61714 with 1 and 60000) in `message`.
std::optional<int> ReadWaitTime(const QString& text, const StringTable& strings, QString* message = nullptr);

// The stored "Language" of the language page's choice: "JPN" for Japanese, "ENG" for English.
QString LanguageSetting(bool japanese);

}  // namespace vormex
