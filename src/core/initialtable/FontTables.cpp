#include "initialtable/FontTables.h"

#include "base/StringTable.h"
#include "definitions/Lookups.h"
#include "initialtable/CScanner.h"

#include <QStringList>

namespace vormex {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");
const QString kConvertHeader = QStringLiteral("Font Convert Table");
const QString kChangeHeader = QStringLiteral("Font Change Table");
// The seven lines that stand for the character codes 0x3A to 0x40 between "9" and "A".
const QString kFillerLine = QStringLiteral(
    "                      ,M,00005,00009,ZA,B,00005,00007,00002,0000,0000,000,000,+00000,+00000,0");
// A position of the change table without a row.
const QString kEmptyChangeLine = QStringLiteral(
    "                      ,M,00000,00000,  ,B,00000,00000,00000,0000,0000,000,000,+00000,+00000,0");
constexpr int kFillerLines = 7;
constexpr int kRowsBeforeFillers = 10;
constexpr int kNameWidth = 22;
constexpr int kIntegerRangeMessage = 61714;

QString listValue(const PrinterDefinition& printer, const char* itemName, const QString& text)
{
    const ItemDefinition* item = FindFontItem(printer, QString::fromLatin1(itemName));
    return item ? ValueOfText(*item, text) : QString();
}

QString listText(const PrinterDefinition& printer, const char* itemName, const QString& value)
{
    const ItemDefinition* item = FindFontItem(printer, QString::fromLatin1(itemName));
    return item ? TextOfValue(*item, value) : QString();
}

QList<KirnCode> definitionKirnCodes(const PrinterDefinition& printer)
{
    QList<KirnCode> codes;
    if (const ItemDefinition* item = FindFontItem(printer, QStringLiteral("KIRNFontCode"))) {
        for (const ListEntry& entry : item->list)
            codes.append({entry.text, entry.value, entry.type});
    }
    return codes;
}

QString paddedCode(const QString& code) { return code.leftJustified(2, QLatin1Char(' '), false); }

// The numeric fields of a row with the items that limit them.
struct NumericField {
    const char* itemName;
    int FontTableRow::*field;
    bool bitmapGroup;
    bool outlineGroup;
};
const NumericField kNumericFields[] = {
    {"Minimun Width", &FontTableRow::MinimunWidth, false, false},
    {"Minimum Height", &FontTableRow::MinimumHeight, false, false},
    {"BMP Adjust Width", &FontTableRow::BMPAdjustWidth, true, false},
    {"BMP CAP Height", &FontTableRow::BMPCAPHeight, true, false},
    {"BMP Descender", &FontTableRow::BMPDescender, true, false},
    {"Cher Space", &FontTableRow::CharSpace, true, false},
    {"TrueType Adjust Width", &FontTableRow::TrueTypeAdjustWidth, false, true},
    {"TrueType Adjust Height", &FontTableRow::TrueTypeAdjustHeight, false, true},
    {"TrueType CAP Height", &FontTableRow::TrueTypeCAPHeight, false, true},
    {"TrueType Char Space", &FontTableRow::TrueTypeCaraSpace, false, true},
};

int initialNumberOf(const PrinterDefinition& printer, const char* itemName)
{
    const ItemDefinition* item = FindFontItem(printer, QString::fromLatin1(itemName));
    return item ? item->initialNumber : 0;
}

QString initialTextOf(const PrinterDefinition& printer, const char* itemName)
{
    const ItemDefinition* item = FindFontItem(printer, QString::fromLatin1(itemName));
    return item ? item->initialText : QString();
}

}  // namespace

bool FontTableSet::hasKirnCode(const QString& code, const QString& type) const
{
    return std::any_of(kirnCodes.cbegin(), kirnCodes.cend(), [&](const KirnCode& entry) {
        return entry.type == type && (entry.code == code || entry.value == code);
    });
}

void FontTableSet::addKirnCode(const QString& code, const QString& type)
{
    if (!hasKirnCode(code, type))
        kirnCodes.append({code, code, type});
}

QStringList FontTableSet::kirnCodesOf(const QString& type) const
{
    QStringList codes;
    for (const KirnCode& entry : kirnCodes) {
        if (entry.type == type)
            codes.append(entry.code);
    }
    return codes;
}

FontTableSet DefaultFontTables(const PrinterDefinition& printer)
{
    FontTableSet set;
    if (printer.fontConvert) {
        set.rows = printer.fontConvert->lines;
        set.convertRows = printer.fontConvert->lineCount;
        set.totalRows = printer.fontConvert->totalRows;
    }
    set.kirnCodes = definitionKirnCodes(printer);
    return set;
}

FontTableRow NewFontRow(const PrinterDefinition& printer)
{
    FontTableRow row;
    row.ZPLFontCode = initialTextOf(printer, "ZPLFontCode");
    if (row.ZPLFontCode.isEmpty())
        row.ZPLFontCode = QStringLiteral(" ");
    row.ZPLFontName = initialTextOf(printer, "ZPLFontName");
    row.ZPLFontType = initialTextOf(printer, "ZPLFontType");
    row.KIRNFontCode = initialTextOf(printer, "KIRNFontCode");
    row.KIRNFontType = initialTextOf(printer, "KIRNFontType");
    row.Drive = initialTextOf(printer, "Storage");
    for (const NumericField& field : kNumericFields)
        row.*field.field = initialNumberOf(printer, field.itemName);
    row.TrueTypeDescender = initialNumberOf(printer, "TrueType Descender");
    return row;
}

bool IsBitmapFontType(const QString& type)
{
    return type == QLatin1String("Bitmap Font") || type == QLatin1String("GAIJI Font");
}

int OutlineDescender(int capHeight)
{
    const qint64 descender = 1000 - qint64(capHeight);
    return (descender < 0 || descender > 10000) ? 0 : int(descender);
}

QString FontTableLine(const FontTableRow& row, const PrinterDefinition& printer)
{
    return row.ZPLFontName.leftJustified(kNameWidth, QLatin1Char(' '), false) + QLatin1Char(',')
           + listValue(printer, "ZPLFontType", row.ZPLFontType)
           + QString::asprintf(",%05d,%05d,", row.MinimunWidth, row.MinimumHeight) + paddedCode(row.KIRNFontCode)
           + QLatin1Char(',') + listValue(printer, "KIRNFontType", row.KIRNFontType)
           + QString::asprintf(",%05d,%05d,%05d,%04d,%04d,%03d,%03d,%+06d,%+06d,", row.BMPAdjustWidth, row.BMPCAPHeight,
                               row.BMPDescender, row.TrueTypeCAPHeight, row.TrueTypeDescender, row.TrueTypeAdjustWidth,
                               row.TrueTypeAdjustHeight, row.CharSpace, row.TrueTypeCaraSpace)
           + listValue(printer, "Storage", row.Drive);
}

QString FontTablesText(const FontTableSet& set, const PrinterDefinition& printer)
{
    QString text = kConvertHeader + kLineEnd;
    const int convertRows = std::min<int>(set.convertRows, int(set.rows.size()));
    for (int i = 0; i < convertRows; ++i) {
        if (i == kRowsBeforeFillers) {
            for (int k = 0; k < kFillerLines; ++k)
                text += kFillerLine + kLineEnd;
        }
        text += FontTableLine(set.rows[i], printer) + kLineEnd;
    }
    if (convertRows <= kRowsBeforeFillers) {
        for (int k = 0; k < kFillerLines; ++k)
            text += kFillerLine + kLineEnd;
    }
    text += kChangeHeader + kLineEnd;
    for (int position = set.convertRows; position < set.totalRows; ++position) {
        text += (position < set.rows.size() ? FontTableLine(set.rows[position], printer) : kEmptyChangeLine) + kLineEnd;
    }
    return text;
}

bool ParseFontTables(const QString& text, const PrinterDefinition& printer, FontTableSet& set)
{
    const QString headerLine = kConvertHeader + kLineEnd;
    const qsizetype at = text.indexOf(headerLine);
    if (at < 0)
        return false;

    const FontTableSet defaults = DefaultFontTables(printer);
    set.rows.clear();
    set.kirnCodes = defaults.kirnCodes;
    set.convertRows = defaults.convertRows;
    set.totalRows = defaults.totalRows;

    const ItemDefinition* storage = FindFontItem(printer, QStringLiteral("Storage"));
    const QString firstStorage = (storage && !storage->list.isEmpty()) ? storage->list.first().text : QString();

    QStringView rest = QStringView(text).mid(at + headerLine.size());
    for (int i = 0;; ++i) {
        const qsizetype end = rest.indexOf(kLineEnd);
        const QString line = end < 0 ? QString() : rest.first(end).toString();
        rest = rest.mid(std::min(rest.size(), (end < 0 ? 0 : end) + 2));

        if (i >= kRowsBeforeFillers && i < kRowsBeforeFillers + kFillerLines)
            continue;
        if (line == kChangeHeader)
            continue;
        if (line == QLatin1String("HI String"))
            break;
        const QString name = line.left(kNameWidth).trimmed();
        if (name.isEmpty() && rest.size() < kNameWidth)
            break;

        FontTableRow row;
        row.ZPLFontName = name;
        QChar zplType, code1, code2, kirnType, drive;
        {
            CScanner scanner(QStringView(line).mid(std::min<qsizetype>(line.size(), kNameWidth + 1)));
            auto character = [&scanner](QChar& out) {
                const std::optional<QChar> c = scanner.scanChar();
                if (c)
                    out = *c;
                return c.has_value();
            };
            auto number = [&scanner](int& out) {
                const std::optional<qint64> n = scanner.scanInt32();
                if (n)
                    out = int(*n);
                return n.has_value();
            };
            auto comma = [&scanner] { return scanner.literal(QLatin1Char(',')); };
            // "%c,%d,%d,%c%c,%c,%d,%d,%d,%d,%d,%d,%d,%d,%d,%c": the scan ends at the first mismatch.
            (void)(character(zplType) && comma() && number(row.MinimunWidth) && comma() && number(row.MinimumHeight)
                   && comma() && character(code1) && character(code2) && comma() && character(kirnType) && comma()
                   && number(row.BMPAdjustWidth) && comma() && number(row.BMPCAPHeight) && comma()
                   && number(row.BMPDescender) && comma() && number(row.TrueTypeCAPHeight) && comma()
                   && number(row.TrueTypeDescender) && comma() && number(row.TrueTypeAdjustWidth) && comma()
                   && number(row.TrueTypeAdjustHeight) && comma() && number(row.CharSpace) && comma()
                   && number(row.TrueTypeCaraSpace) && comma() && character(drive));
        }
        row.ZPLFontCode = set.rows.size() < 36 ? QString(QLatin1Char(kZplFontCodes[set.rows.size()])) : QStringLiteral(" ");
        auto asText = [](QChar c) { return c.isNull() ? QString() : QString(c); };
        row.ZPLFontType = listText(printer, "ZPLFontType", asText(zplType));
        row.KIRNFontType = listText(printer, "KIRNFontType", asText(kirnType));
        row.Drive = listText(printer, "Storage", asText(drive));
        if (row.Drive.isEmpty())
            row.Drive = firstStorage;

        const QString code = (asText(code1) + asText(code2)).trimmed();
        if (!code.isEmpty() && (set.totalRows <= 0 || set.rows.size() < set.totalRows)) {
            row.KIRNFontCode = paddedCode(code);
            set.addKirnCode(row.KIRNFontCode, row.KIRNFontType);
            set.rows.append(row);
        }
        if (rest.size() < kNameWidth)
            break;
    }
    return true;
}

std::optional<FontRowFailure> RegisterFontRow(FontTableSet& set, const PrinterDefinition& printer, FontTableRow row,
                                              int target, const StringTable& strings)
{
    for (const NumericField& field : kNumericFields) {
        const ItemDefinition* item = FindFontItem(printer, QString::fromLatin1(field.itemName));
        const int value = row.*field.field;
        if (item && (value < item->min || value > item->max))
            return FontRowFailure{QString::fromLatin1(field.itemName),
                                  strings.text(kIntegerRangeMessage).arg(item->min).arg(item->max)};
    }
    const bool adding = target < 0;
    if (adding ? !set.canAddRow() : target >= set.rows.size())
        return FontRowFailure{QString(), QString()};

    if (const ItemDefinition* nameItem = FindFontItem(printer, QStringLiteral("ZPLFontName")); nameItem && nameItem->length > 0)
        row.ZPLFontName = row.ZPLFontName.left(nameItem->length);

    const QString code = paddedCode(row.KIRNFontCode.trimmed());
    set.addKirnCode(code, row.KIRNFontType);
    // A code already known only as another entry's value is stored trimmed and padded as well.
    row.KIRNFontCode = code;
    for (const KirnCode& entry : set.kirnCodes) {
        if (entry.code == code && entry.type == row.KIRNFontType) {
            row.KIRNFontCode = entry.value;
            break;
        }
    }

    // Only the group of the row's font kind is the user's; the other keeps its defaults.
    const bool bitmap = IsBitmapFontType(row.KIRNFontType);
    for (const NumericField& field : kNumericFields) {
        if ((bitmap && field.outlineGroup) || (!bitmap && field.bitmapGroup))
            row.*field.field = initialNumberOf(printer, field.itemName);
    }
    row.TrueTypeDescender = bitmap ? initialNumberOf(printer, "TrueType Descender") : OutlineDescender(row.TrueTypeCAPHeight);

    if (adding) {
        set.rows.append(row);
    } else {
        row.ZPLFontCode = set.rows[target].ZPLFontCode;
        set.rows[target] = row;
    }
    return std::nullopt;
}

bool DeleteFontRow(FontTableSet& set, int index)
{
    if (!set.isChangeRow(index))
        return false;
    set.rows.removeAt(index);
    return true;
}

}  // namespace vormex
