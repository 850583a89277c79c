// The checks of the encoder's limits: the line check before the passes, and the counts after
// each encoded line.
#include "basic/BasicEncoder.h"

#include "basic/NameBytes.h"

namespace vormex {

using namespace basic;

int BasicEncoder::CheckLines()
{
    // A line of blanks, an empty line after one, or a line numbered 0 gets no line-table entry;
    // when an encoded line follows it, every later line would be out of step with the line
    // table, so such a program is refused at the first line without an entry.
    Scanner scanner(characters_);
    bool afterBlankLine = false;
    int firstLineWithoutEntry = 0;
    for (int p = 1; p <= int(lines_.size()); ++p) {
        const QString& text = lines_[size_t(p - 1)].text;
        if (text.isEmpty()) {
            if (!afterBlankLine)
                return failAt(p, msg::kLinefeedError, p);
            if (!firstLineWithoutEntry)
                firstLineWithoutEntry = p;
            continue;
        }
        QStringView rest = scanner.NextToken(text);
        if (scanner.endOfLine) {
            afterBlankLine = true;
            if (!firstLineWithoutEntry)
                firstLineWithoutEntry = p;
            continue;
        }
        if (firstLineWithoutEntry)
            return failAt(firstLineWithoutEntry, msg::kLinefeedError, firstLineWithoutEntry);
        if (startsWithDigit(scanner.token)) {
            const std::uint32_t number = leadingDecimal(scanner.token);
            scanner.NextToken(rest);
            if (scanner.endOfLine)
                return failAt(p, msg::kLinefeedError, p);
            if (number == 0)
                firstLineWithoutEntry = p;
        }
    }
    return 1;
}

int BasicEncoder::CheckCounts(int programKind)
{
    const EncoderLimits& limits = EncoderLimitsFor(programKind);
    if (encodedLineCount_ > limits.lines)
        return fail(limits.lineOverMessage);
    if (variableNames_.size() > limits.variables)
        return fail(limits.variableOverMessage);
    if (arrayNames_.size() > limits.arrays)
        return fail(msg::kArrayOver);
    return 1;
}

}  // namespace vormex
