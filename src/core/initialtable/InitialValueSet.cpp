#include "initialtable/InitialValueSet.h"

#include "base/StringTable.h"
#include "definitions/Lookups.h"
#include "definitions/ParameterLine.h"
#include "initialtable/CScanner.h"
#include "sysparam/SystemParameterLine.h"

#include <QStringList>

#include <cstdlib>

namespace vormex {

namespace {

constexpr int kRatioLabel = 810;
constexpr int kIncDecRangeMessage = 811;
constexpr int kIntegerRangeMessage = 61714;
constexpr int kNotAnIntegerMessage = 61712;
constexpr int kRatioRangeMessage = 800;
const QString kLineEnd = QStringLiteral("\r\n");

struct ValueInfo {
    const char* itemName;
    InitialValueKind kind;
};

constexpr ValueInfo kValues[kInitialValueCount] = {
    {"BARCODE Height", InitialValueKind::Number}, {"Module Size", InitialValueKind::Number},
    {"Ratio", InitialValueKind::Ratio},           {"Rotation", InitialValueKind::Choice},
    {"Char Gap", InitialValueKind::Number},       {"INC/DEC", InitialValueKind::LongNumber},
    {"ZeroSuppress", InitialValueKind::Flag},     {"Unit", InitialValueKind::Choice},
    {"Rect Width", InitialValueKind::Number},     {"Num Line", InitialValueKind::Number},
    {"Line Margin", InitialValueKind::Number},    {"Align", InitialValueKind::Choice},
    {"AdjustXPos", InitialValueKind::Number},     {"Line Width", InitialValueKind::Number},
    {"Dens Adjust", InitialValueKind::Number},    {"CharSet", InitialValueKind::Number},
    {"Home XPos", InitialValueKind::Number},      {"Home YPos", InitialValueKind::Number},
    {"Label Shift", InitialValueKind::Number},    {"Rotation Mirror", InitialValueKind::Choice},
    {"Y Offset", InitialValueKind::Number},       {"Feed Adjust", InitialValueKind::Number},
    {"Issue Count", InitialValueKind::Number},    {"Cut Interval", InitialValueKind::Number},
    {"PC Save Area", InitialValueKind::Number},   {"GETCMDZB", InitialValueKind::Choice},
};

const ItemDefinition* itemOf(const PrinterDefinition& printer, InitialValue value)
{
    return FindInitialItem(printer, InitialValueItemName(value));
}

// The data line after the first "header CR LF"; nothing when the header is missing, empty when
// no CR LF ends the data line.
std::optional<QString> sectionDataLine(const QString& text, const QString& header)
{
    const QString headerLine = header + kLineEnd;
    const qsizetype at = text.indexOf(headerLine);
    if (at < 0)
        return std::nullopt;
    const qsizetype start = at + headerLine.size();
    const qsizetype end = text.indexOf(kLineEnd, start);
    if (end < 0)
        return QString();
    return text.mid(start, end - start);
}

int asInt(qint64 value) { return int(value); }

}  // namespace

QString InitialValueItemName(InitialValue value) { return QString::fromLatin1(kValues[size_t(value)].itemName); }
InitialValueKind InitialValueKindOf(InitialValue value) { return kValues[size_t(value)].kind; }

const QStringList& InitialValueSectionHeaders()
{
    static const QStringList headers = {
        QStringLiteral("BARCODE Default"), QStringLiteral("FIELD Default"),     QStringLiteral("Serialization Data"),
        QStringLiteral("dot/mm/inch"),     QStringLiteral("FieldBlock Data"),   QStringLiteral("Line Data"),
        QStringLiteral("Adjust Data"),     QStringLiteral("Code Page"),         QStringLiteral("LABEL Default"),
        QStringLiteral("Print Default"),   QStringLiteral("SAVE Area Allocate"), QStringLiteral("GETCMDZB Operation"),
    };
    return headers;
}

int InitialValueSet::ratioTenths() const { return CDecimal(ratio.maskedText()); }

QString InitialValueSet::choiceText(InitialValue value, const PrinterDefinition& printer) const
{
    const ItemDefinition* item = itemOf(printer, value);
    const int index = selected(value);
    if (!item || index < 0 || index >= item->list.size())
        return {};
    return item->list[index].text;
}

QString InitialValueSet::choiceValue(InitialValue value, const PrinterDefinition& printer) const
{
    const ItemDefinition* item = itemOf(printer, value);
    return item ? ValueOfText(*item, choiceText(value, printer)) : QString();
}

InitialValueSet DefaultInitialValues(const PrinterDefinition& printer)
{
    InitialValueSet set;
    for (int i = 0; i < kInitialValueCount; ++i) {
        const InitialValue value = InitialValue(i);
        const ItemDefinition* item = itemOf(printer, value);
        if (!item)
            continue;
        switch (InitialValueKindOf(value)) {
        case InitialValueKind::Number:
        case InitialValueKind::LongNumber:
        case InitialValueKind::Flag:
            set.numbers[i] = item->initialNumber;
            break;
        case InitialValueKind::Choice:
            set.selection[i] = IndexOfText(*item, item->initialText);
            break;
        case InitialValueKind::Ratio:
            set.ratio = MaskedText::forItem(*item);
            set.ratio.setText(item->initialText);
            break;
        }
    }
    return set;
}

QString IncDecText(qint64 value)
{
    // The magnitude is taken unsigned: negating the smallest 64-bit value would overflow.
    const quint64 magnitude = value < 0 ? quint64(0) - quint64(value) : quint64(value);
    return QString::asprintf("%c%05llu%05llu", value < 0 ? '-' : '+', static_cast<unsigned long long>(magnitude / 100000),
                             static_cast<unsigned long long>(magnitude % 100000));
}

QString InitialValuesTextFrom(const std::array<qint64, kInitialValueCount>& numbers, int ratioTenths,
                              const std::array<QString, kInitialValueCount>& choiceValues)
{
    using V = InitialValue;
    auto n = [&numbers](V value) { return asInt(numbers[size_t(value)]); };
    auto choice = [&choiceValues](V value) { return choiceValues[size_t(value)]; };
    const int ratio = ratioTenths;
    const QStringList& headers = InitialValueSectionHeaders();

    const QString lines[] = {
        QString::asprintf("%03d,%02d,%d.%d", n(V::BarcodeHeight), n(V::ModuleSize), ratio / 10, ratio % 10),
        choice(V::Rotation) + QString::asprintf(",%03d", n(V::CharGap)),
        IncDecText(numbers[size_t(V::IncDec)]) + QString::asprintf(",%d", n(V::ZeroSuppress)),
        choice(V::Unit),
        QString::asprintf("%04d,%03d,%+04d,", n(V::RectWidth), n(V::NumLine), n(V::LineMargin)) + choice(V::Align)
            + QString::asprintf(",%03d", n(V::AdjustXPos)),
        QString::asprintf("%03d", n(V::LineWidth)),
        QString::asprintf("%+03d", n(V::DensAdjust)),
        QString::asprintf("%02d", n(V::CharSet)),
        QString::asprintf("%04d,%04d,%+05d,", n(V::HomeXPos), n(V::HomeYPos), n(V::LabelShift)) + choice(V::RotationMirror)
            + QString::asprintf(",%04d,%+04d", n(V::YOffset), n(V::FeedAdjust)),
        QString::asprintf("%04d,%03d", n(V::IssueCount), n(V::CutInterval)),
        QString::asprintf("%02d", n(V::PcSaveArea)),
        choice(V::Getcmdzb),
    };
    QString text;
    for (int i = 0; i < headers.size(); ++i)
        text += headers[i] + kLineEnd + lines[i] + kLineEnd;
    return text;
}

QString InitialValuesText(const InitialValueSet& set, const PrinterDefinition& printer)
{
    std::array<QString, kInitialValueCount> choiceValues;
    for (int i = 0; i < kInitialValueCount; ++i) {
        if (InitialValueKindOf(InitialValue(i)) == InitialValueKind::Choice)
            choiceValues[i] = set.choiceValue(InitialValue(i), printer);
    }
    return InitialValuesTextFrom(set.numbers, set.ratioTenths(), choiceValues);
}

bool ParseInitialValues(const QString& text, const PrinterDefinition& printer, InitialValueSet& set)
{
    using V = InitialValue;
    const QStringList& headers = InitialValueSectionHeaders();
    const std::optional<QString> barcode = sectionDataLine(text, headers[0]);
    if (!barcode)
        return false;

    auto selectByValue = [&](V value, const QString& valueText) {
        const ItemDefinition* item = itemOf(printer, value);
        set.selected(value) = item ? IndexOfValue(*item, valueText) : -1;
    };
    // Scans "%d,%d,..." into the given values. The scan stops at the first number that does not
    // match; later values keep their contents. A null target is the place of a choice, which is
    // read by position instead: its number is scanned and thrown away, so a choice value that is
    // not a number ends the scan there (the definitions give these choices digits as values).
    auto scanNumbers = [&](const QString& line, std::initializer_list<std::optional<V>> targets) {
        CScanner scanner(line);
        bool first = true;
        for (const std::optional<V>& target : targets) {
            if (!first && !scanner.literal(QLatin1Char(',')))
                return;
            first = false;
            if (!target) {
                if (!scanner.scanInt32())
                    return;
                continue;
            }
            const std::optional<qint64> number = scanner.scanInt32();
            if (!number)
                return;
            set.number(*target) = *number;
        }
    };

    {
        CScanner scanner(*barcode);
        std::optional<qint64> height = scanner.scanInt32();
        if (height) {
            set.number(V::BarcodeHeight) = *height;
            std::optional<qint64> module = scanner.literal(QLatin1Char(',')) ? scanner.scanInt32() : std::nullopt;
            if (module) {
                set.number(V::ModuleSize) = *module;
                if (scanner.literal(QLatin1Char(',')))
                    if (const std::optional<QString> ratio = scanner.scanWord(31))
                        set.ratio.setText(*ratio);
            }
        }
    }
    if (const auto line = sectionDataLine(text, headers[1])) {
        selectByValue(V::Rotation, FieldAt(*line, 0));
        scanNumbers(*line, {std::nullopt, V::CharGap});
    }
    if (const auto line = sectionDataLine(text, headers[2])) {
        CScanner scanner(*line);
        if (const std::optional<qint64> incDec = scanner.scanInt64()) {
            set.number(V::IncDec) = *incDec;
            if (scanner.literal(QLatin1Char(',')))
                if (const std::optional<qint64> flag = scanner.scanInt32())
                    set.number(V::ZeroSuppress) = *flag;
        }
    }
    if (const auto line = sectionDataLine(text, headers[3]))
        selectByValue(V::Unit, *line);
    if (const auto line = sectionDataLine(text, headers[4])) {
        selectByValue(V::Align, FieldAt(*line, 3));
        scanNumbers(*line, {V::RectWidth, V::NumLine, V::LineMargin, std::nullopt, V::AdjustXPos});
    }
    if (const auto line = sectionDataLine(text, headers[5]))
        scanNumbers(*line, {V::LineWidth});
    if (const auto line = sectionDataLine(text, headers[6]))
        scanNumbers(*line, {V::DensAdjust});
    if (const auto line = sectionDataLine(text, headers[7]))
        scanNumbers(*line, {V::CharSet});
    if (const auto line = sectionDataLine(text, headers[8])) {
        selectByValue(V::RotationMirror, FieldAt(*line, 3));
        scanNumbers(*line, {V::HomeXPos, V::HomeYPos, V::LabelShift, std::nullopt, V::YOffset, V::FeedAdjust});
    }
    if (const auto line = sectionDataLine(text, headers[9]))
        scanNumbers(*line, {V::IssueCount, V::CutInterval});
    if (const auto line = sectionDataLine(text, headers[10]))
        scanNumbers(*line, {V::PcSaveArea});
    if (const auto line = sectionDataLine(text, headers[11]))
        selectByValue(V::Getcmdzb, *line);
    return true;
}

std::optional<QString> CheckInitialValueRange(const InitialValueSet& set, InitialValue value, const PrinterDefinition& printer,
                                              const StringTable& strings)
{
    const qint64 number = set.number(value);
    const ItemDefinition* item = itemOf(printer, value);
    switch (InitialValueKindOf(value)) {
    case InitialValueKind::Number:
        if (item && (number < item->min || number > item->max))
            return strings.text(kIntegerRangeMessage).arg(item->min).arg(item->max);
        break;
    case InitialValueKind::Ratio:
        if (item && (set.ratioTenths() < item->min || set.ratioTenths() > item->max))
            return RangeMessage(strings, strings.text(kRatioLabel), item->min, item->max);
        break;
    case InitialValueKind::LongNumber:
        if (number < -kIncDecLimit || number > kIncDecLimit)
            return strings.text(kIncDecRangeMessage);
        break;
    case InitialValueKind::Flag:
    case InitialValueKind::Choice:
        break;
    }
    return std::nullopt;
}

std::optional<InitialValueFailure> ValidateInitialValues(const InitialValueSet& set, const PrinterDefinition& printer,
                                                         const StringTable& strings, const UnreadableValue& notAnInteger)
{
    const auto unreadable = [&notAnInteger](InitialValue value) { return notAnInteger && notAnInteger(value); };
    const auto failure = [&strings](InitialValue value, int messageId, QString message = {}) {
        return InitialValueFailure{value, messageId, message.isEmpty() ? strings.text(messageId) : message};
    };
    for (int i = 0; i < kInitialValueCount; ++i) {
        const InitialValue value = InitialValue(i);
        if (InitialValueKindOf(value) != InitialValueKind::Number)
            continue;
        if (unreadable(value))
            return failure(value, kNotAnIntegerMessage);
        const ItemDefinition* item = itemOf(printer, value);
        if (item && (set.numbers[i] < item->min || set.numbers[i] > item->max))
            return failure(value, kIntegerRangeMessage,
                           strings.text(kIntegerRangeMessage).arg(item->min).arg(item->max));
    }
    if (const ItemDefinition* item = itemOf(printer, InitialValue::Ratio)) {
        const int tenths = set.ratioTenths();
        if (tenths < item->min || tenths > item->max)
            return failure(InitialValue::Ratio, kRatioRangeMessage,
                           RangeMessage(strings, strings.text(kRatioLabel), item->min, item->max));
    }
    if (unreadable(InitialValue::IncDec))
        return failure(InitialValue::IncDec, kNotAnIntegerMessage);
    const qint64 incDec = set.number(InitialValue::IncDec);
    if (incDec < -kIncDecLimit || incDec > kIncDecLimit)
        return failure(InitialValue::IncDec, kIncDecRangeMessage);
    return std::nullopt;
}

std::array<QString, kInitialValueCount> InitialChoiceValueTexts(const QString& text)
{
    using V = InitialValue;
    const QStringList& headers = InitialValueSectionHeaders();
    std::array<QString, kInitialValueCount> values;
    auto line = [&](int section) { return sectionDataLine(text, headers[section]).value_or(QString()); };
    values[size_t(V::Rotation)] = FieldAt(line(1), 0);
    values[size_t(V::Unit)] = line(3);
    values[size_t(V::Align)] = FieldAt(line(4), 3);
    values[size_t(V::RotationMirror)] = FieldAt(line(8), 3);
    values[size_t(V::Getcmdzb)] = line(11);
    return values;
}

}  // namespace vormex
