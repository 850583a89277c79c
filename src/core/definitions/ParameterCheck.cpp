#include "definitions/ParameterCheck.h"

#include "base/Format.h"
#include "base/StringTable.h"

namespace vormex {
namespace {

// Error codes of the checks.
enum ErrorCode {
    kLineLength = 1,
    kFieldLength = 2,
    kFieldCount = 3,
    kNotDigits = 4,
    kNoSign = 5,
    kNotOmissible = 6,
    kWrongHeader = 7,
    kParameterCount = 8,
};

// Message numbers of the check texts.
enum MessageId {
    kNotSystemParameterFile = 8050,
    kNotInitialTableFile = 8051,
    kDigitsOnly = 8052,
    kFieldLengthOutOfRange = 8053,
    kCannotOmit = 8054,
    kSignMissing = 8055,
    kLengthRange = 8056,
    kLengthExact = 8057,
    kWrongParameterCount = 8058,
};

// Sections of the initial value & table text that carry more than one data line.
constexpr int kFontConvertSection = 13;
constexpr int kFontChangeSection = 14;
constexpr int kFontConvertLines = 43;
constexpr int kFontChangeLines = 30;
// The text may end before this section (the status responses are optional).
constexpr int kOptionalSectionsStart = 15;

const QString kLineEnd = QStringLiteral("\r\n");

bool fail(ParameterCheckState& state, int code)
{
    state.error.code = code;
    return false;
}

bool digitsOnly(QStringView text)
{
    for (QChar c : text) {
        if (c.unicode() < u'0' || c.unicode() > u'9')
            return false;
    }
    return true;
}

// Cuts the text up to the next CR LF off the front of `rest`; false when no CR LF is left.
bool cutLine(QStringView& rest, QStringView& line)
{
    const qsizetype end = rest.indexOf(kLineEnd);
    if (end < 0)
        return false;
    line = rest.first(end);
    rest = rest.sliced(end + kLineEnd.size());
    return true;
}

}  // namespace

int SectionDataLineCount(int index)
{
    if (index == kFontConvertSection)
        return kFontConvertLines;
    if (index == kFontChangeSection)
        return kFontChangeLines;
    return 1;
}

bool ValidateLine(const LayoutFormat& format, const QString& line, bool labelShiftOmitted, ParameterCheckState& state)
{
    if (line.size() < format.minLength || line.size() > format.maxLength)
        return fail(state, kLineLength);

    const qsizetype fieldCount = line.count(u',') + 1;
    const qsizetype ruleCount = format.rules.size();
    const bool oneShortAllowed = labelShiftOmitted && fieldCount == ruleCount - 1;
    if (fieldCount != ruleCount && !oneShortAllowed)
        return fail(state, kFieldCount);

    QStringView rest = line;
    for (int i = 0; i < int(ruleCount); ++i) {
        QStringView field;
        const qsizetype comma = rest.indexOf(u',');
        if (comma < 0) {
            field = rest;
            rest = {};
        } else {
            field = rest.first(comma);
            rest = rest.sliced(comma + 1);
        }
        if (!ValidateField(format, i, field.toString(), state))
            return false;
    }
    if (!rest.isEmpty())
        return fail(state, kLineLength);
    return true;
}

bool ValidateField(const LayoutFormat& format, int index, const QString& field, ParameterCheckState& state)
{
    if (index < 0 || index >= format.rules.size())
        return fail(state, kFieldCount);
    state.error.fieldIndex = index;
    const FieldRule& rule = format.rules[index];

    if (field.isEmpty())
        return rule.omissible ? true : fail(state, kNotOmissible);
    if (rule.kind == FieldRule::Signed && field[0] != u'-' && field[0] != u'+')
        return fail(state, kNoSign);
    if (field.size() < rule.minLength || field.size() > rule.maxLength) {
        state.error.minLength = rule.minLength;
        state.error.maxLength = rule.maxLength;
        return fail(state, kFieldLength);
    }
    if (rule.kind == FieldRule::Signed && !digitsOnly(QStringView(field).sliced(1)))
        return fail(state, kNotDigits);
    if (rule.kind == FieldRule::Unsigned && !digitsOnly(field))
        return fail(state, kNotDigits);
    return true;
}

bool ValidateSectionLine(const PrinterDefinition& printer, int index, const QString& header, const QString& line,
                         bool labelShiftOmitted, ParameterCheckState& state)
{
    if (index < 0 || index >= printer.layoutFormats.size()) {
        state.currentSectionName.clear();
        return fail(state, kFieldCount);
    }
    const LayoutFormat& format = printer.layoutFormats[index];
    state.currentSectionName = format.name;
    if (header != format.name)
        return fail(state, kWrongHeader);
    return ValidateLine(format, line, labelShiftOmitted, state);
}

bool ValidateSystemParameterText(const PrinterDefinition& printer, const QString& text, bool labelShiftOmitted,
                                 ParameterCheckState& state)
{
    if (!printer.systemFormat)
        return fail(state, kFieldCount);
    return ValidateLine(*printer.systemFormat, text, labelShiftOmitted, state);
}

bool ValidateSectionFile(const PrinterDefinition& printer, const QString& text, bool labelShiftOmitted,
                         ParameterCheckState& state)
{
    QStringView rest = text;
    for (int i = 0; i < int(printer.layoutFormats.size()); ++i) {
        QStringView header;
        if (!cutLine(rest, header)) {
            if (i == kOptionalSectionsStart)
                return true;
            state.currentSectionName.clear();
            return fail(state, kFieldCount);
        }
        const QString headerText = header.toString();
        for (int n = SectionDataLineCount(i); n > 0; --n) {
            QStringView line;
            if (!cutLine(rest, line))
                return fail(state, kFieldCount);
            if (!ValidateSectionLine(printer, i, headerText, line.toString(), labelShiftOmitted, state))
                return false;
        }
    }
    return true;
}

QString ParameterErrorMessage(ParameterFileKind kind, const ParameterCheckState& state, const StringTable& strings)
{
    QString message;
    if (kind == ParameterFileKind::InitialTable)
        message = state.currentSectionName + kLineEnd;

    const ParameterError& error = state.error;
    switch (error.code) {
    case kFieldLength:
        message += cformat(strings.text(kFieldLengthOutOfRange), error.fieldIndex + 1);
        message += kLineEnd;
        if (error.minLength == error.maxLength)
            message += cformat(strings.text(kLengthExact), error.minLength);
        else
            message += cformat(strings.text(kLengthRange), error.minLength, error.maxLength);
        break;
    case kNotDigits:
        message += cformat(strings.text(kDigitsOnly), error.fieldIndex + 1);
        break;
    case kNoSign:
        message += cformat(strings.text(kSignMissing), error.fieldIndex + 1);
        break;
    case kNotOmissible:
        message += cformat(strings.text(kCannotOmit), error.fieldIndex + 1);
        break;
    case kParameterCount:
        message += strings.text(kWrongParameterCount);
        break;
    case kLineLength:
    case kFieldCount:
    case kWrongHeader:
        message = strings.text(kind == ParameterFileKind::SystemParameters ? kNotSystemParameterFile
                                                                            : kNotInitialTableFile);
        break;
    default:
        break;
    }
    return message;
}

}  // namespace vormex
