// The passes over the whole source that run before any line is encoded: labels and line
// numbers, then the WHILE/WEND and FOR/NEXT pairs. Each looks only at the first token of a line
// (after its line number) and stops at a line of blanks.
#include "basic/BasicEncoder.h"

#include "basic/NameBytes.h"

namespace vormex {

using namespace basic;

std::optional<QStringView> BasicEncoder::firstStatementToken(const SourceLine& line, QStringView* lineNumber)
{
    Scanner scanner(characters_);
    QStringView rest = scanner.NextToken(line.text);
    if (scanner.endOfLine)
        return std::nullopt;
    if (startsWithDigit(scanner.token)) {
        if (lineNumber)
            *lineNumber = scanner.token;
        scanner.NextToken(rest);
        if (scanner.endOfLine)
            return std::nullopt;
    }
    return scanner.token;
}

int BasicEncoder::collectLabelsAndLineNumbers()
{
    Scanner scanner(characters_);
    for (int i = 0; i < int(lines_.size()); ++i) {
        QStringView rest = scanner.NextToken(lines_[size_t(i)].text);
        if (scanner.endOfLine)
            return 1;
        if (startsWithDigit(scanner.token)) {
            const std::uint32_t number = leadingDecimal(scanner.token);
            lineNumbers_.push_back(number);
            numberedLineIndex_.push_back(std::uint32_t(i + 1));
            if (!entryOfLineNumber_.contains(number))
                entryOfLineNumber_.insert(number, int(lineNumbers_.size() - 1));
            rest = scanner.NextToken(rest);
            if (scanner.endOfLine)
                return 1;
        }
        if (!scanner.token.startsWith(QLatin1Char('*')))
            continue;
        scanner.ParseLabelName(rest);
        if (scanner.endOfLine || scanner.token.size() > kMaxLabelNameLength)
            continue;  // a longer name is not registered: a jump to it fails later
        const QString name = scanner.token.toString();
        labelNames_.append(name);
        labelLineIndex_.push_back(std::uint32_t(i + 1));
        if (!entryOfLabel_.contains(name))
            entryOfLabel_.insert(name, int(labelNames_.size() - 1));
        if (labelNames_.size() > limits_->labels)
            return failAt(i + 1, limits_->labelOverMessage);
    }
    return 1;
}

int BasicEncoder::matchLoops(const LoopWords& words, LoopPairs& pairs)
{
    pairs = {};
    for (int i = 0; i < int(lines_.size()); ++i) {
        const std::optional<QStringView> token = firstStatementToken(lines_[size_t(i)]);
        if (!token)
            break;
        if (*token == words.open) {
            pairs.openLines.push_back(std::uint32_t(i));
            pairs.closeLines.push_back(0);
            pairs.open = int(pairs.openLines.size() - 1);
            if (int(pairs.openLines.size()) > words.limit)
                return failAt(i + 1, words.overMessage);
        } else if (*token == words.close) {
            if (pairs.open >= int(pairs.closeLines.size()))
                return failAt(i + 1, words.closeOverMessage);
            pairs.closeLines[size_t(pairs.open)] = std::uint32_t(i);
            for (int k = int(pairs.closeLines.size()) - 1; k >= 0; --k) {
                if (pairs.closeLines[size_t(k)] == 0) {
                    pairs.open = k;
                    break;
                }
            }
        }
    }
    // Checked also when a line of blanks ended the pass: an open loop would otherwise be
    // linked to its own line.
    for (size_t k = 0; k < pairs.closeLines.size(); ++k) {
        if (pairs.closeLines[k] == 0)
            return failAt(int(pairs.openLines[k]) + 1, words.errorMessage, int(pairs.openLines[k]) + 1);
    }
    pairs.entryOfOpenLine.assign(lines_.size(), -1);
    pairs.entryOfCloseLine.assign(lines_.size(), -1);
    for (size_t k = 0; k < pairs.openLines.size(); ++k) {
        pairs.entryOfOpenLine[pairs.openLines[k]] = int(k);
        int& close = pairs.entryOfCloseLine[pairs.closeLines[k]];
        if (close < 0)
            close = int(k);
    }
    return 1;
}

}  // namespace vormex
