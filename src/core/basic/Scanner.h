#pragma once

#include "basic/SourceText.h"

#include <QString>

namespace vormex::basic {

// Splits one line of BASIC source into tokens. Works on views into the line, so the caller can
// tell where in the line a token stands; the returned rest is always a tail of the text given.
class Scanner {
public:
    explicit Scanner(const SourceCharacterSet& characters) : characters_(characters) {}

    // The next token of `text` into `token`; gives the rest that follows it. Sets `delimiter`
    // and `endOfLine`; when the text holds nothing but blanks, `token` stays as it was.
    QStringView NextToken(QStringView text);
    // A label name (after a "*" token) into `token`; gives the rest from the character that
    // ended it. Sets `endOfLine`, and `badLabelChar` when the name holds a character other than
    // an upper-case letter, a digit, "." or "_".
    QStringView ParseLabelName(QStringView text);

    QStringView token;
    QChar delimiter = QLatin1Char(' ');  // the delimiter that ended the last word, else a space
    int endOfLine = 0;
    int badLabelChar = 0;

private:
    bool isWordCharacter(QChar c) const;

    const SourceCharacterSet& characters_;
};

bool isBlank(QChar c);

}  // namespace vormex::basic
