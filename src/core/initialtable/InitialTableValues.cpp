#include "initialtable/InitialTableValues.h"

#include "base/Numbers.h"
#include "base/StringIds.h"
#include "base/StringTable.h"
#include "definitions/Lookups.h"
#include "initialtable/DriveMapping.h"
#include "initialtable/InitialValueSet.h"

#include <QRegularExpression>

namespace vormex {
namespace {

// How many of the 26 values each of the twelve initial value sections holds, in order.
constexpr int kValuesPerSection[] = {3, 2, 2, 1, 5, 1, 1, 1, 6, 2, 1, 1};

const char* const kFontColumns[] = {
    "ZPLFontName",  "ZPLFontType",       "MinimunWidth",      "MinimumHeight",       "KIRNFontCode",
    "KIRNFontType", "BMPAdjustWidth",    "BMPCAPHeight",      "BMPDescender",        "TrueTypeCAPHeight",
    "TrueTypeDescender", "TrueTypeAdjustWidth", "TrueTypeAdjustHeight", "CharSpace", "TrueTypeCaraSpace",
    "Drive",
};

QString itemName(InitialValue value) { return InitialValueItemName(value); }

QString withItem(const QString& item, const QString& value, const QString& message)
{
    return QStringLiteral("%1: %2\r\n%3").arg(item, value, message);
}

// The value as the text carries it, for the line naming it.
QString valueText(const InitialValueSet& set, InitialValue value)
{
    return InitialValueKindOf(value) == InitialValueKind::Ratio ? set.ratio.maskedText() : QString::number(set.number(value));
}

std::optional<QString> checkValue(const InitialValueSet& set, const std::array<QString, kInitialValueCount>& choices,
                                  InitialValue value, const PrinterDefinition& printer, const StringTable& strings)
{
    switch (InitialValueKindOf(value)) {
    case InitialValueKind::Flag: {
        const qint64 flag = set.number(value);
        if (flag != 0 && flag != 1)
            return strings.text(strings::kValueNotFlag).arg(itemName(value), QString::number(flag));
        return std::nullopt;
    }
    case InitialValueKind::Choice: {
        const ItemDefinition* item = FindInitialItem(printer, itemName(value));
        const QString& chosen = choices[size_t(value)];
        if (item && IndexOfValue(*item, chosen) < 0)
            return strings.text(strings::kValueNotInList).arg(itemName(value), chosen);
        return std::nullopt;
    }
    case InitialValueKind::Number: {
        const std::optional<QString> message = CheckInitialValueRange(set, value, printer, strings);
        return message ? std::optional(withItem(itemName(value), valueText(set, value), *message)) : std::nullopt;
    }
    case InitialValueKind::Ratio:
    case InitialValueKind::LongNumber:
        return CheckInitialValueRange(set, value, printer, strings);
    }
    return std::nullopt;
}

bool isSignedDigits(const QString& text)
{
    static const QRegularExpression digits(QStringLiteral("^\\s*[+-]?[0-9]+\\s*$"));
    return digits.match(text).hasMatch();
}

}  // namespace

QString InitialTableFieldItemName(const QString& sectionName, int field)
{
    const QStringList& headers = InitialValueSectionHeaders();
    const qsizetype section = headers.indexOf(sectionName);
    if (section >= 0) {
        int first = 0;
        for (qsizetype i = 0; i < section; ++i)
            first += kValuesPerSection[i];
        if (field < 0 || field >= kValuesPerSection[section])
            return {};
        return itemName(InitialValue(first + field));
    }
    if (sectionName == QLatin1String("Font Convert Table") || sectionName == QLatin1String("Font Change Table")) {
        if (field >= 0 && field < int(std::size(kFontColumns)))
            return QString::fromLatin1(kFontColumns[field]);
    }
    return {};
}

std::optional<QString> CheckInitialTableValues(const QString& text, const PrinterDefinition& printer,
                                               const StringTable& strings)
{
    InitialValueSet set = DefaultInitialValues(printer);
    if (!ParseInitialValues(text, printer, set))
        return std::nullopt;  // without its first section the text has failed its section check
    const std::array<QString, kInitialValueCount> choices = InitialChoiceValueTexts(text);
    for (int i = 0; i < kInitialValueCount; ++i) {
        if (std::optional<QString> problem = checkValue(set, choices, InitialValue(i), printer, strings))
            return problem;
    }
    return CheckDriveMappingValues(text, printer, strings);
}

std::optional<QString> CheckInitialValueXmlTexts(const InitialValueXmlTexts& texts, const PrinterDefinitions& definitions,
                                                 const StringTable& strings)
{
    const PrinterDefinition* filePrinter = FindPrinter(definitions, texts.printerName);
    for (int i = 0; i < kInitialValueCount; ++i) {
        const InitialValue value = InitialValue(i);
        const QString& text = texts.texts[size_t(i)];
        if (text.isEmpty())
            continue;
        switch (InitialValueKindOf(value)) {
        case InitialValueKind::Number:
        case InitialValueKind::Ratio:
            if (!ParseWholeNumber(text))
                return strings.text(strings::kValueNotWholeNumber).arg(itemName(value), text);
            break;
        case InitialValueKind::LongNumber:
            if (!isSignedDigits(text))
                return strings.text(strings::kValueNotWholeNumber).arg(itemName(value), text);
            break;
        case InitialValueKind::Flag:
            if (text != QLatin1String("ON") && text != QLatin1String("OFF"))
                return strings.text(strings::kValueNotSwitchWord).arg(itemName(value), text, QStringLiteral("ON"), QStringLiteral("OFF"));
            break;
        case InitialValueKind::Choice: {
            const ItemDefinition* item = filePrinter ? FindInitialItem(*filePrinter, itemName(value)) : nullptr;
            if (item && IndexOfText(*item, text) < 0)
                return strings.text(strings::kTextNotInFileList).arg(itemName(value), text, filePrinter->name);
            break;
        }
        }
    }
    return std::nullopt;
}

}  // namespace vormex
