#include "sysparam/SystemParameterValues.h"

#include "base/Numbers.h"
#include "base/StringIds.h"
#include "base/StringTable.h"
#include "definitions/Lookups.h"
#include "definitions/ParameterLine.h"
#include "sysparam/SystemParameterLine.h"

#include <QRegularExpression>

namespace vormex {
namespace {

constexpr int kFieldCount = 24;
constexpr int kTabSpacesField = 20;
constexpr int kTabSpacesMax = 99;

const char* const kFieldItems[kFieldCount] = {
    "LABEL LENGTH",   "LABEL WIDTH",      "RIBBON",         "DOT/MM",         "PRINT MODE",     "SENSOR",
    "GRAPHIC POSITION", "PRINT SPEED",    "MAXIMUM LENGTH", "POWER ON CALIB", "HEAD CLOSE CALIB", "FORMAT CONVERT",
    "CONTROL PREFIX", "FORMAT PREFIX",    "DELIMITER CHAR", "LABEL SIZE(LL)", "LABEL TYPE(MN)", "MEDIA TYPE(MT)",
    "TONE ADJ(SD)",   "TONE ADJ(MD)",     "TAB->SP",        "RFID ADJUST",    "OFFSET PRINT",   "LABEL SHIFT",
};

// The five fields with a range in tenths, in the page's order, with their captions.
struct RangeField {
    int field;
    int label;
};
constexpr RangeField kRangeFields[] = {{0, 801}, {1, 802}, {8, 803}, {21, 804}, {23, 805}};

constexpr int kListFields[] = {2, 3, 4, 5, 6, 7, 9, 10, 11, 22};
constexpr int kPrefixFields[] = {12, 13, 14};
constexpr int kFlagFields[] = {15, 16, 17, 18, 19};

// The XML file's number items.
const char* const kXmlNumberItems[] = {"LABEL LENGTH", "LABEL WIDTH", "MAXIMUM LENGTH", "TAB->SP", "RFID ADJUST", "LABEL SHIFT"};

int fieldCount(const QString& line) { return int(line.count(QLatin1Char(','))) + 1; }

QString itemName(int field) { return SystemFieldItemName(field); }

// A message that does not name the item gets a line naming it and the value before it.
QString withItem(const QString& item, const QString& value, const QString& message)
{
    return QStringLiteral("%1: %2\r\n%3").arg(item, value, message);
}

class LineValues {
public:
    LineValues(const QString& line, const PrinterDefinition& printer, const StringTable& strings)
        : line_(line), printer_(printer), strings_(strings)
    {
    }

    std::optional<QString> check() const
    {
        for (auto step : {&LineValues::tabSpaces, &LineValues::ranges, &LineValues::lists, &LineValues::prefixes,
                          &LineValues::flags}) {
            if (std::optional<QString> problem = (this->*step)())
                return problem;
        }
        return std::nullopt;
    }

private:
    bool hasField(int field) const { return field < fieldCount(line_); }

    const ItemDefinition* item(int field, std::optional<QString>& problem) const
    {
        const ItemDefinition* found = FindSystemItem(printer_, itemName(field));
        if (!found)
            problem = strings_.text(strings::kItemMissing).arg(printer_.name, itemName(field));
        return found;
    }

    std::optional<QString> tabSpaces() const
    {
        std::optional<QString> problem;
        const ItemDefinition* spin = item(kTabSpacesField, problem);
        if (!spin)
            return problem;
        const int value = IntFieldAt(line_, kTabSpacesField);
        const int low = std::max(0, spin->min);
        const int high = std::min(kTabSpacesMax, spin->max);
        if (value < low || value > high)
            return withItem(itemName(kTabSpacesField), FieldAt(line_, kTabSpacesField),
                            strings_.text(strings::kEnterIntegerInRange).arg(low).arg(high));
        return std::nullopt;
    }

    std::optional<QString> ranges() const
    {
        for (const RangeField& range : kRangeFields) {
            if (!hasField(range.field))
                continue;  // a printer without the label shift field gets a line without it
            std::optional<QString> problem;
            const ItemDefinition* limits = item(range.field, problem);
            if (!limits)
                return problem;
            const int value = IntFieldAt(line_, range.field);
            if (value < limits->min || value > limits->max)
                return RangeMessage(strings_, strings_.text(range.label), limits->min, limits->max);
        }
        return std::nullopt;
    }

    std::optional<QString> lists() const
    {
        for (int field : kListFields) {
            std::optional<QString> problem;
            const ItemDefinition* list = item(field, problem);
            if (!list)
                return problem;
            const QString value = FieldAt(line_, field);
            if (IndexOfValue(*list, value) < 0)
                return strings_.text(strings::kValueNotInList).arg(itemName(field), value);
        }
        return std::nullopt;
    }

    std::optional<QString> prefixes() const
    {
        static const QRegularExpression hexPair(QStringLiteral("^[0-9A-Fa-f]{2}$"));
        for (int field : kPrefixFields) {
            const QString value = FieldAt(line_, field);
            if (!hexPair.match(value).hasMatch())
                return strings_.text(strings::kValueNotHexPair).arg(itemName(field), value);
        }
        return std::nullopt;
    }

    std::optional<QString> flags() const
    {
        for (int field : kFlagFields) {
            const QString value = FieldAt(line_, field);
            if (value != QLatin1String("0") && value != QLatin1String("1"))
                return strings_.text(strings::kValueNotFlag).arg(itemName(field), value);
        }
        return std::nullopt;
    }

    const QString& line_;
    const PrinterDefinition& printer_;
    const StringTable& strings_;
};

}  // namespace

QString SystemFieldItemName(int field)
{
    return field >= 0 && field < kFieldCount ? QString::fromLatin1(kFieldItems[field]) : QString();
}

std::optional<QString> CheckSystemParameterValues(const QString& line, const PrinterDefinition& printer,
                                                  const StringTable& strings)
{
    return LineValues(line, printer, strings).check();
}

std::optional<QString> CheckSystemParameterXmlTexts(const SystemParameterXmlTexts& texts,
                                                    const PrinterDefinitions& definitions, const StringTable& strings)
{
    const auto text = [&texts](const QString& itemName) -> std::optional<QString> {
        const auto found = texts.items.constFind(SystemXmlNameOf(itemName));
        if (found == texts.items.cend())
            return std::nullopt;
        return *found;
    };
    for (const char* name : kXmlNumberItems) {
        const QString item = QString::fromLatin1(name);
        const std::optional<QString> value = text(item);
        if (value && !value->trimmed().isEmpty() && !ParseWholeNumber(*value))
            return strings.text(strings::kValueNotWholeNumber).arg(item, *value);
    }
    if (const PrinterDefinition* filePrinter = FindPrinter(definitions, texts.printerName)) {
        for (int field : kListFields) {
            const QString item = itemName(field);
            const std::optional<QString> value = text(item);
            const ItemDefinition* list = FindSystemItem(*filePrinter, item);
            if (value && list && IndexOfText(*list, *value) < 0)
                return strings.text(strings::kTextNotInFileList).arg(item, *value, filePrinter->name);
        }
    }
    for (int field : kFlagFields) {
        const QString item = itemName(field);
        const std::optional<QString> value = text(item);
        if (value && *value != QLatin1String("ENABLE") && *value != QLatin1String("DISABLE"))
            return strings.text(strings::kValueNotSwitchWord).arg(item, *value, QStringLiteral("ENABLE"), QStringLiteral("DISABLE"));
    }
    return std::nullopt;
}

}  // namespace vormex
