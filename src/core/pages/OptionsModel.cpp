#include "pages/OptionsModel.h"

#include "base/Numbers.h"
#include "base/StringIds.h"
#include "base/StringTable.h"

namespace vormex {

std::optional<int> ReadWaitTime(const QString& text, const StringTable& strings, QString* message)
{
    const std::optional<int> value = ParseWholeNumber(text);
    if (value && *value >= kMinWaitTimeMs && *value <= kMaxWaitTimeMs)
        return value;
    if (message)
        *message = strings.text(strings::kEnterIntegerInRange).arg(kMinWaitTimeMs).arg(kMaxWaitTimeMs);
    return std::nullopt;
}

QString LanguageSetting(bool japanese) { return japanese ? QStringLiteral("JPN") : QStringLiteral("ENG"); }

}  // namespace vormex
