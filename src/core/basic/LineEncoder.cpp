// Encoding one source line into its record: line-table entry, then every token as its bytes.
#include "basic/BasicEncoder.h"

#include "basic/NameBytes.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <limits>

namespace vormex {

using namespace basic;

namespace {

// Token bytes of the encoded program.
constexpr char kString = 0x00;
constexpr char kReal = 0x01;
constexpr char kByteInteger = 0x02;
constexpr char kWordInteger = 0x03;
constexpr char kStringVariable = 0x04;
constexpr char kRealVariable = 0x07;
constexpr char kIntegerVariable = 0x0A;
constexpr char kStringArray = 0x0D;
constexpr char kNumericArray = 0x0E;
constexpr char kFileNumber = 0x14;
constexpr char kTimer = 0x18;
constexpr char kSystemArray = 0x1C;

// Functions that the interpreter reads with two more bytes.
bool takesEmptyArgument(const QString& word)
{
    return word == QLatin1String("ERR") || word == QLatin1String("ERL") || word == QLatin1String("ENGERR$")
           || word == QLatin1String("PRTSTS$") || word == QLatin1String("INKEY$");
}

bool isSystemArray(const QString& word)
{
    return word.size() == 7 && word.startsWith(QLatin1String("SDATA")) && word[5].unicode() >= '1'
           && word[5].unicode() <= '4' && word[6].unicode() == '$';
}

// The value of a real constant as the C library reads the text (up to the first character that
// does not fit), in single precision.
float toSingle(double value)
{
    if (std::fabs(value) > double(std::numeric_limits<float>::max()))
        return std::copysign(std::numeric_limits<float>::infinity(), float(value));
    return float(value);
}

float realValue(QStringView text)
{
    const QByteArray latin = text.toLatin1();
    double value = 0;
    const std::from_chars_result read = std::from_chars(latin.constData(), latin.constData() + latin.size(), value);
    if (read.ec == std::errc::result_out_of_range) {
        // The C library gives infinity for a value too large and 0 for one too small; from_chars
        // leaves the value untouched, so tell the two apart by the exponent's sign.
        const qsizetype e = text.indexOf(QLatin1Char('E'), 0, Qt::CaseInsensitive);
        const bool tiny = e >= 0 && e + 1 < text.size() && text[e + 1] == QLatin1Char('-');
        return tiny ? 0.0f : std::numeric_limits<float>::infinity();
    }
    return toSingle(value);
}

double leadingDigitsValue(QStringView text)
{
    double value = 0;
    for (const QChar c : text) {
        if (c.unicode() < '0' || c.unicode() > '9')
            break;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

std::uint32_t digitsValue(QStringView text, int base)
{
    std::uint64_t value = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        int digit = -1;
        if (u >= '0' && u <= '9')
            digit = u - '0';
        else if (u >= 'a' && u <= 'z')
            digit = u - 'a' + 10;
        else if (u >= 'A' && u <= 'Z')
            digit = u - 'A' + 10;
        if (digit < 0 || digit >= base)
            break;
        value = value * std::uint64_t(base) + std::uint64_t(digit);
        if (value > 0xFFFFFFFFull)
            return 0xFFFFFFFFu;
    }
    return std::uint32_t(value);
}

void appendWord(QByteArray& bytes, std::uint32_t value)
{
    bytes.append(char((value >> 8) & 0xFF));
    bytes.append(char(value & 0xFF));
}

void appendReal(QByteArray& bytes, float value)
{
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(value);
    bytes.append(kReal);
    appendWord(bytes, bits >> 16);
    appendWord(bytes, bits & 0xFFFF);
    bytes.append(4, '\0');
}

}  // namespace

void BasicEncoder::appendString(const QByteArray& bytes)
{
    lineBytes_.append(kString);
    lineBytes_.append(char(bytes.size() & 0xFF));
    lineBytes_.append(bytes);
}

void BasicEncoder::appendLink(std::uint32_t position)
{
    lineBytes_.append(char((position / 100) & 0xFF));
    lineBytes_.append(char((position % 100) & 0xFF));
}

bool BasicEncoder::appendConstant(QString& token, Scanner& scanner, QStringView& rest)
{
    const char16_t first = token[0].unicode();
    if ((first >= '0' && first <= '9') || first == '.') {
        if (token.endsWith(QLatin1Char('E')) || token.endsWith(QLatin1Char('e'))) {
            // The scanner split the exponent off: join it again.
            rest = scanner.NextToken(rest);
            if (!scanner.endOfLine) {
                token += scanner.token;
                if (scanner.token.startsWith(QLatin1Char('+')) || scanner.token.startsWith(QLatin1Char('-'))) {
                    rest = scanner.NextToken(rest);
                    if (!scanner.endOfLine)
                        token += scanner.token;
                }
            }
        }
        if (token.contains(QLatin1Char('.'))) {
            appendReal(lineBytes_, realValue(token));
            return true;
        }
        const double value = leadingDigitsValue(token);
        if (value < 256) {
            lineBytes_.append(kByteInteger);
            lineBytes_.append(char(int(value)));
        } else if (value < 65536) {
            lineBytes_.append(kWordInteger);
            appendWord(lineBytes_, std::uint32_t(value));
        } else {
            appendReal(lineBytes_, toSingle(value));
        }
        return true;
    }
    if (first == '#') {
        // Only the one character after "#" is read, as a digit.
        const int character = token.size() > 1 ? token[1].unicode() : 0;
        lineBytes_.append(kFileNumber);
        lineBytes_.append(char((character - '0') & 0xFF));
        return true;
    }
    if (first == '&' && token.size() > 1) {
        const char16_t kind = token[1].toUpper().unicode();
        if (kind == 'H' || kind == 'O') {
            lineBytes_.append(kWordInteger);
            appendWord(lineBytes_, digitsValue(QStringView(token).sliced(2), kind == 'H' ? 16 : 8) & 0xFFFF);
            return true;
        }
    }
    return false;
}

int BasicEncoder::appendLoopLink(const QString& statement)
{
    const size_t line = size_t(encodedLineCount_ - 1);
    auto entryIn = [line](const std::vector<int>& entries) { return line < entries.size() ? entries[line] : -1; };
    if (statement == QLatin1String("FOR")) {
        if (inOpen_)
            return 1;  // the FOR of «OPEN ... FOR INPUT»
        const int k = entryIn(forLoops_.entryOfOpenLine);
        if (k < 0)
            return fail(msg::kForNextError, encodedLineCount_);
        appendLink(forLoops_.closeLines[size_t(k)] + 1);
    } else if (statement == QLatin1String("NEXT")) {
        if (afterResume_)
            return 1;  // the NEXT of «RESUME NEXT»
        const int k = entryIn(forLoops_.entryOfCloseLine);
        if (k < 0)
            return fail(msg::kForNextError, encodedLineCount_);
        appendLink(forLoops_.openLines[size_t(k)] + 1);
    } else if (statement == QLatin1String("WHILE")) {
        const int k = entryIn(whileLoops_.entryOfOpenLine);
        if (k < 0)
            return fail(msg::kWhileWendError, encodedLineCount_);
        appendLink(whileLoops_.closeLines[size_t(k)] + 1);
    } else if (statement == QLatin1String("WEND")) {
        const int k = entryIn(whileLoops_.entryOfCloseLine);
        if (k < 0)
            return fail(msg::kWhileWendError, encodedLineCount_);
        appendLink(whileLoops_.openLines[size_t(k)]);
    }
    return 1;
}

void BasicEncoder::appendName(const QString& name, bool followedByParenthesis)
{
    auto numbered = [this](char firstCode, int number) {
        lineBytes_.append(char(firstCode + (number <= 255 ? 0 : number <= 511 ? 1 : 2)));
        lineBytes_.append(char(number & 0xFF));
    };
    if (followedByParenthesis) {
        if (isSystemArray(name)) {
            lineBytes_.append(kSystemArray);
            lineBytes_.append(char(name[5].unicode() - '0'));
            return;
        }
        auto found = arrayNumber_.constFind(name);
        if (found == arrayNumber_.constEnd()) {
            arrayNames_.append(name);
            found = arrayNumber_.insert(name, int(arrayNames_.size() - 1));
        }
        lineBytes_.append(name.endsWith(QLatin1Char('$')) ? kStringArray : kNumericArray);
        lineBytes_.append(char(*found & 0xFF));
        return;
    }
    auto found = variableNumber_.constFind(name);
    if (found == variableNumber_.constEnd()) {
        variableNames_.append(name);
        found = variableNumber_.insert(name, int(variableNames_.size() - 1));
    }
    if (name.endsWith(QLatin1Char('$')))
        numbered(kStringVariable, *found);
    else if (name.endsWith(QLatin1Char('%')))
        numbered(kIntegerVariable, *found);
    else if (name == QLatin1String("TIMER"))
        numbered(kTimer, *found);
    else
        numbered(kRealVariable, *found);
}

int BasicEncoder::encodeLine(int index)
{
    const SourceLine& line = lines_[size_t(index)];
    Scanner scanner(characters_);
    lineStarted_ = afterResume_ = expectJump_ = inOpen_ = 0;
    lineBytes_.clear();
    lineBytes_.append('\0');  // the length, set when the line is complete

    LineRecord record;
    record.position = index + 1;
    record.bodyOffset = std::uint32_t(body_.size());

    QString token;           // the current token, as the rules change it
    QStringView tokenInLine;  // where it stands in the line (for literals)
    QStringView rest = line.text;
    auto nextToken = [&] {
        rest = scanner.NextToken(rest);
        if (!scanner.endOfLine) {
            tokenInLine = scanner.token;
            token = scanner.token.toString();
        }
    };

    nextToken();
    for (;;) {
        const bool noToken = scanner.endOfLine != 0;
        if (token == QLatin1String(":"))
            inOpen_ = 0;
        if (afterResume_ && (noToken || token == QLatin1String(":") || token == QLatin1String("0"))) {
            lineBytes_.append(kFileNumber);
            lineBytes_.append('\0');
            afterResume_ = expectJump_ = 0;
        }
        if (lineBytes_.size() > 1 && token == QLatin1String("REM") && lineStarted_)
            break;  // a comment after a statement leaves nothing
        if (noToken)
            break;

        if (!lineStarted_) {
            std::uint32_t lineNumber = std::uint32_t(encodedLineCount_ + 1);
            if (startsWithDigit(token)) {
                const std::uint32_t n = leadingDecimal(token);
                if (n == 0)
                    break;  // a line numbered 0 gets no line-table entry
                lineNumber = n;
                nextToken();
            }
            image_.writeLineEntry(encodedLineCount_, lineNumber, std::uint32_t(body_.size()));
            record.hasLineEntry = true;
            record.lineNumber = lineNumber;
            ++encodedLineCount_;
            lineStarted_ = 1;
            if (scanner.endOfLine)
                break;
            if (token.startsWith(QLatin1Char('*')))
                token = QStringLiteral("REM");  // a label line
        }

        if (expectJump_) {
            if (token == QLatin1String("*")) {
                scanner.badLabelChar = 0;
                rest = scanner.ParseLabelName(rest);
                if (scanner.badLabelChar || scanner.token.size() > kMaxLabelNameLength)
                    return fail(msg::kLabelOrLineError, encodedLineCount_);
                const int entry = entryOfLabel_.value(scanner.token.toString(), -1);
                if (entry < 0)
                    return fail(msg::kLabelOrLineError, encodedLineCount_);
                token = QString::number(labelLineIndex_[size_t(entry)]);
            } else if (startsWithDigit(token)) {
                const int entry = entryOfLineNumber_.value(leadingDecimal(token), -1);
                if (entry < 0)
                    return fail(msg::kLabelOrLineError, encodedLineCount_);
                token = QString::number(numberedLineIndex_[size_t(entry)]);
            }
            expectJump_ = 0;
        }

        bool handled = false;
        if (token.startsWith(QLatin1Char('"'))) {
            // The characters between the quotes, as the bytes that stand in the file.
            const qsizetype start = tokenInLine.data() - line.text.constData();
            lineBytes_.append(kString);
            const QByteArray text = token.size() >= 2 ? line.bytesOf(start + 1, start + token.size() - 1) : QByteArray();
            lineBytes_.append(char(text.size() & 0xFF));
            lineBytes_.append(text);
            handled = true;
        } else {
            handled = appendConstant(token, scanner, rest);
        }

        if (!handled) {
            token = SourceCharacterSet::toUpper(token);
            if (const int s = keywords_->LookupStatement(token); s >= 0) {
                lineBytes_.append(char(KeywordTables::kStatementCode + s));
                handled = true;
                if (token == QLatin1String("GOSUB") || token == QLatin1String("ELSE") || token == QLatin1String("GOTO")
                    || token == QLatin1String("THEN"))
                    expectJump_ = 1;
                if (token == QLatin1String("OPEN"))
                    inOpen_ = 1;
                if (!appendLoopLink(token))
                    return 0;
                if (token == QLatin1String("REM"))
                    break;
                if (token == QLatin1String("DATA")) {
                    const qsizetype start = rest.isEmpty() ? line.text.size() : rest.data() - line.text.constData();
                    appendString(line.bytesOf(start, line.text.size()));
                    break;
                }
            } else {
                if (token == QLatin1String("RESUME"))
                    expectJump_ = afterResume_ = 1;
                if (const int f = keywords_->LookupFunction(token); f >= 0) {
                    lineBytes_.append(char(KeywordTables::kFunctionCode + f));
                    if (takesEmptyArgument(token)) {
                        lineBytes_.append(kByteInteger);
                        lineBytes_.append('\0');
                    }
                    handled = true;
                } else if (const int o = keywords_->LookupOperator(token); o >= 0) {
                    lineBytes_.append(char(KeywordTables::kOperatorCode + o));
                    handled = true;
                }
            }
        }
        if (!handled) {
            appendName(token, scanner.delimiter == QLatin1Char('('));
        }
        nextToken();
    }

    if (lineBytes_.size() > kMaxRecordBytes)
        return fail(msg::kLineLengthOver, encodedLineCount_);
    lineBytes_[0] = char(lineBytes_.size() - 1);
    lineBytes_.append('\0');
    body_.append(lineBytes_);
    record.bytes = lineBytes_;
    lineRecords_.push_back(std::move(record));
    if (body_.size() > limits_->bodyBytes)
        return fail(limits_->bodyOverMessage);
    return 1;
}

}  // namespace vormex
