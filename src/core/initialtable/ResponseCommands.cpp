#include "initialtable/ResponseCommands.h"

#include <QStringList>

namespace vormex {

namespace {

const char* const kLabels[kResponseCount] = {
    "HI String",   "HM String",   "HS String1",  "HS String2",  "HS String3",
    "HQMA String", "HQMI String", "HQOD String", "HQPH String", "HQES String",
    "HQHA String", "HQJT String", "HQPP String", "HQSN String", "HQUI String",
};
constexpr int kFirstResponseFormat = 15;
const QString kLineEnd = QStringLiteral("\r\n");

// The answer after the first occurrence of the label: from two characters after it up to the
// next CR LF; empty when the label is missing or no CR LF ends the answer.
QString answerAfterLabel(const QString& text, const QString& label)
{
    const qsizetype at = text.indexOf(label);
    if (at < 0)
        return {};
    const qsizetype start = at + label.size() + 2;
    if (start >= text.size())
        return {};
    const qsizetype end = text.indexOf(kLineEnd, start);
    if (end < 0)
        return {};
    return text.mid(start, end - start);
}

}  // namespace

QString ResponseLabel(int row) { return QString::fromLatin1(kLabels[row]); }

QString ResponseElementName(int row) { return ResponseLabel(row).remove(QLatin1Char(' ')); }

void FillResponseDefaults(const PrinterDefinition& printer, ResponseSet& set)
{
    for (int row = 0; row < kResponseCount; ++row) {
        const QString label = ResponseLabel(row);
        const auto found = std::find_if(printer.responseCommands.cbegin(), printer.responseCommands.cend(),
                                        [&label](const ResponseCommandDefinition& command) { return command.name == label; });
        if (found == printer.responseCommands.cend())
            return;
        set.answers[row] = found->text;
    }
}

ResponseSet DefaultResponses(const PrinterDefinition& printer)
{
    ResponseSet set;
    FillResponseDefaults(printer, set);
    return set;
}

QString ResponseCommandsText(const ResponseSet& set)
{
    QString text;
    for (int row = 0; row < kResponseCount; ++row)
        text += ResponseLabel(row) + kLineEnd + set.answers[row] + kLineEnd;
    return text;
}

bool ParseResponseCommands(const QString& text, const PrinterDefinition& printer, ResponseSet& set)
{
    const QString first = answerAfterLabel(text, ResponseLabel(0));
    if (first.isEmpty()) {
        FillResponseDefaults(printer, set);
        return true;
    }
    set.answers[0] = first;
    for (int row = 1; row < kResponseCount; ++row)
        set.answers[row] = answerAfterLabel(text, ResponseLabel(row));
    return true;
}

std::optional<ResponseFailure> ValidateResponseCommands(const ResponseSet& set, const PrinterDefinition& printer,
                                                        ParameterCheckState& check, const StringTable& strings)
{
    for (int row = 0; row < kResponseCount; ++row) {
        if (ValidateSectionLine(printer, kFirstResponseFormat + row, ResponseLabel(row), set.answers[row],
                                printer.labelShiftOmitted == 1, check))
            continue;
        const int format = kFirstResponseFormat + row;
        const bool defined = format < printer.layoutFormats.size() && printer.layoutFormats[format].name == ResponseLabel(row);
        // A wrong structure of the parameters is reported as a wrong number of parameters.
        if (check.error.code == 1 || check.error.code == 3)
            check.error.code = 8;
        return ResponseFailure{row, ParameterErrorMessage(ParameterFileKind::InitialTable, check, strings), !defined};
    }
    return std::nullopt;
}

}  // namespace vormex
