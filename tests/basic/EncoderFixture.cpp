#include "EncoderFixture.h"

#include <gtest/gtest.h>


namespace vormex::test {

const std::vector<std::pair<int, const char*>>& encoderMessageTexts()
{
    static const std::vector<std::pair<int, const char*>> texts = {
        {2000, "Encodeing failure"},
        {2001, "%d : Linefeed Error"},
        {2002, "Label over 1000"},
        {2003, "Label over 200"},
        {2004, "WHILE over 500"},
        {2005, "WHILE over 100"},
        {2006, "WEND over 500"},
        {2007, "WEND over 100"},
        {2008, "%d : WHILE and WEND Error"},
        {2009, "FOR over 1000"},
        {2010, "FOR over 200"},
        {2011, "NEXT over 1000"},
        {2012, "NEXT over 200"},
        {2013, "%d : FOR and NEXT Error"},
        {2014, "%d : Label or Line number Error"},
        {2015, "%d :Encoded Line Length Over Error"},
        {2016, "Line over 10000"},
        {2017, "Line over 2000"},
        {2018, "Variable over 512"},
        {2019, "Variable over 256"},
        {2020, "Array Variable over 50"},
        {2021, "Encoded Program size over 204.75kbyte"},
        {2022, "Encoded Program size over 43.5kbyte"},
    };
    return texts;
}

StringTable encoderStrings() { return StringTable::builtIn(); }

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (const int v : values)
        out.append(char(v));
    return out;
}

QByteArray source(const QStringList& lines)
{
    QByteArray out;
    for (const QString& line : lines)
        out += line.toLatin1() + "\r\n";
    return out;
}

Encoded encode(const QByteArray& text, int programKind, int languageValue)
{
    BasicEncoder encoder(encoderStrings(), languageValue);
    Encoded result;
    result.ok = encoder.EncodeProgramBytes(text, QStringLiteral("TEST.BAS"), programKind);
    result.error = encoder.errorMessage();
    result.image = encoder.image();
    result.body = encoder.body();
    result.records = encoder.lineRecords();
    return result;
}

int word16(const QByteArray& image, int offset)
{
    return (std::uint8_t(image[offset]) << 8) | std::uint8_t(image[offset + 1]);
}

std::uint32_t word32(const QByteArray& image, int offset)
{
    return (std::uint32_t(word16(image, offset)) << 16) | std::uint32_t(word16(image, offset + 2));
}

}  // namespace vormex::test
