#include "sysparam/SystemParameterLine.h"

#include "base/Format.h"
#include "base/StringTable.h"
#include "codec/Codec.h"
#include "definitions/Lookups.h"
#include "definitions/ParameterLine.h"

#include <cstdlib>

namespace vormex {

namespace {

constexpr int kRangeMessage = 800;
constexpr int kSpinRangeMessage = 61714;

QString listValue(const SystemParameterSet& set, SystemList list, const PrinterDefinition& printer)
{
    const ItemDefinition* item = FindSystemItem(printer, SystemListItemName(list));
    if (!item)
        return {};
    return ValueOfText(*item, set.selectedText(list, printer));
}

QChar signOf(qint64 value) { return value < 0 ? QLatin1Char('-') : QLatin1Char('+'); }

// "%3d.%d mm" and its relatives: a length in tenths as the masked edits show it.
QString tenthsDisplay(int value, int width)
{
    return QString::asprintf("%*d.%d mm", width, value / 10, value % 10);
}

QString signedTenthsDisplay(int value)
{
    const qint64 magnitude = std::llabs(qint64(value));
    return QString::asprintf("%c%3lld.%lld mm", value < 0 ? '-' : ' ', static_cast<long long>(magnitude / 10),
                             static_cast<long long>(magnitude % 10));
}

}  // namespace

QString SignedFieldText(int value)
{
    const qint64 v = value;
    return signOf(v) + QString::asprintf("%04lld", static_cast<long long>(std::llabs(v)));
}

QString BuildSystemParameterLine(const SystemParameterSet& set, const PrinterDefinition& printer)
{
    QString line;
    line += QString::asprintf("%05d,%04d,", CDecimal(set.labelLength.maskedText()), CDecimal(set.labelWidth.maskedText()));
    for (SystemList list : {SystemList::Ribbon, SystemList::DotMm, SystemList::PrintMode, SystemList::Sensor,
                            SystemList::GraphicPosition, SystemList::PrintSpeed})
        line += listValue(set, list, printer) + QLatin1Char(',');
    line += QString::asprintf("%05d,", CDecimal(set.maximumLength.maskedText()));
    for (SystemList list : {SystemList::PowerOnCalib, SystemList::HeadCloseCalib, SystemList::FormatConvert})
        line += listValue(set, list, printer) + QLatin1Char(',');
    for (const MaskedText* prefix : {&set.controlPrefix, &set.formatPrefix, &set.delimiterChar})
        line += prefix->maskedText().toUpper() + QLatin1Char(',');
    for (bool ticked : set.ticked)
        line += ticked ? QStringLiteral("0,") : QStringLiteral("1,");
    line += QString::asprintf("%02d,", set.tabSpaces);
    line += SignedFieldText(SignedFieldValue(set.rfidAdjust.maskedText())) + QLatin1Char(',');
    line += listValue(set, SystemList::OffsetPrint, printer);
    line += QLatin1Char(',') + SignedFieldText(SignedFieldValue(set.labelShift.maskedText())) + QStringLiteral("\r\n");
    return line;
}

void ParseSystemParameterLine(const QString& line, const PrinterDefinition& printer, SystemParameterSet& set)
{
    const ItemDefinition* lengthItem = FindSystemItem(printer, QStringLiteral("LABEL LENGTH"));
    const int lengthWidth = (lengthItem && lengthItem->max >= 10000) ? 4 : 3;
    set.labelLength.setText(tenthsDisplay(IntFieldAt(line, 0), lengthWidth));
    set.labelWidth.setText(tenthsDisplay(IntFieldAt(line, 1), 3));
    set.maximumLength.setText(tenthsDisplay(IntFieldAt(line, 8), 4));
    set.rfidAdjust.setText(signedTenthsDisplay(IntFieldAt(line, 21)));
    set.labelShift.setText(signedTenthsDisplay(IntFieldAt(line, 23)));
    set.tabSpaces = IntFieldAt(line, 20);
    set.controlPrefix.setText(QString::asprintf("HEX(%02X)", HexFieldAt(line, 12)));
    set.formatPrefix.setText(QString::asprintf("HEX(%02X)", HexFieldAt(line, 13)));
    set.delimiterChar.setText(QString::asprintf("HEX(%02X)", HexFieldAt(line, 14)));
    for (int i = 0; i < kSystemSwitchCount; ++i)
        set.ticked[i] = IntFieldAt(line, 15 + i) == 0;

    const struct {
        SystemList list;
        int field;
    } lists[] = {{SystemList::Ribbon, 2},         {SystemList::PrintMode, 4},      {SystemList::Sensor, 5},
                 {SystemList::PrintSpeed, 7},     {SystemList::PowerOnCalib, 9},   {SystemList::HeadCloseCalib, 10},
                 {SystemList::DotMm, 3},          {SystemList::FormatConvert, 11}, {SystemList::GraphicPosition, 6},
                 {SystemList::OffsetPrint, 22}};
    for (const auto& entry : lists) {
        const ItemDefinition* item = FindSystemItem(printer, SystemListItemName(entry.list));
        set.selected(entry.list) = item ? IndexOfValue(*item, FieldAt(line, entry.field)) : -1;
    }
}

qsizetype StorageBlockBytes(const PrinterDefinition& printer)
{
    if (!printer.allocation || printer.allocation->blockSizeKb <= 0)
        return 0;
    return qsizetype(printer.allocation->blockSizeKb) * 1024;
}

AreaResult BuildSystemParameterArea(const QString& line, const PrinterDefinition& printer)
{
    QByteArray text = codec::toPrinterCodePage(line);
    // Without the label shift field: the comma and sign become CR LF, the rest of the field and
    // the old line end go.
    if (printer.labelShiftOmitted == 1 && text.size() >= 8) {
        text.chop(6);
        text[text.size() - 2] = '\r';
        text[text.size() - 1] = '\n';
    }
    return BuildPrinterFileArea(QByteArray(kSystemParameterFileName), text, StorageBlockBytes(printer));
}

QString TenthsText(int tenths)
{
    const qint64 magnitude = std::llabs(qint64(tenths));
    return QString::asprintf("%s%lld.%lld", tenths < 0 ? "-" : "", static_cast<long long>(magnitude / 10),
                             static_cast<long long>(magnitude % 10));
}

QString RangeMessage(const StringTable& strings, const QString& label, int minTenths, int maxTenths)
{
    // The bounds are written with their sign ("-0.5"), which a plain "%d.%d" cannot show.
    QString pattern = strings.text(kRangeMessage);
    pattern.replace(QLatin1String("%d.%d"), QLatin1String("%s"));
    return cformat(pattern, label, TenthsText(minTenths), TenthsText(maxTenths));
}

std::optional<RangeFailure> ValidateRanges(const SystemParameterSet& set, const PrinterDefinition& printer,
                                           const StringTable& strings)
{
    if (set.tabSpaces < 0 || set.tabSpaces > 99)
        return RangeFailure{QStringLiteral("TAB->SP"), strings.text(kSpinRangeMessage).arg(0).arg(99)};

    const struct {
        const char* itemName;
        int label;
        const MaskedText& text;
        bool isSigned;
    } checks[] = {
        {"LABEL LENGTH", 801, set.labelLength, false},  {"LABEL WIDTH", 802, set.labelWidth, false},
        {"MAXIMUM LENGTH", 803, set.maximumLength, false}, {"RFID ADJUST", 804, set.rfidAdjust, true},
        {"LABEL SHIFT", 805, set.labelShift, true},
    };
    for (const auto& check : checks) {
        const QString name = QString::fromLatin1(check.itemName);
        const ItemDefinition* item = FindSystemItem(printer, name);
        if (!item)
            return RangeFailure{name, QString()};
        // A signed field reads past the blanks behind its sign, as the line does.
        const QString masked = check.text.maskedText();
        const int value = check.isSigned ? SignedFieldValue(masked) : CDecimal(masked);
        if (value < item->min || value > item->max)
            return RangeFailure{name, RangeMessage(strings, strings.text(check.label), item->min, item->max)};
    }
    return std::nullopt;
}

QString SystemParameterFieldName(int index)
{
    static const char* const names[kSystemParameterFieldCount] = {
        "LABEL LENGTH", "LABEL WIDTH", "RIBBON", "DOT/MM", "PRINT MODE", "SENSOR", "GRAPHIC POSITION", "PRINT SPEED",
        "MAXIMUM LENGTH", "POWER ON CALIB", "HEAD CLOSE CALIB", "FORMAT CONVERT", "CONTROL PREFIX", "FORMAT PREFIX",
        "DELIMITER CHAR", "LABEL SIZE(LL)", "LABEL TYPE(MN)", "MEDIA TYPE(MT)", "TONE ADJ(SD)", "TONE ADJ(MD)", "TAB->SP",
        "RFID ADJUST", "OFFSET PRINT", "LABEL SHIFT"};
    if (index < 0 || index >= kSystemParameterFieldCount)
        return {};
    return QLatin1String(names[index]);
}

}  // namespace vormex
