#include "definitions/FieldRules.h"

#include "definitions/ParameterLine.h"

namespace vormex {
namespace {

int kindOfLetter(QChar letter)
{
    switch (letter.unicode()) {
    case u'S':
        return FieldRule::Text;
    case u'D':
        return FieldRule::Signed;
    case u'U':
        return FieldRule::Unsigned;
    default:
        return 0;
    }
}

}  // namespace

void ParseFieldRules(QStringView text, QList<FieldRule>& rules)
{
    for (QStringView token : text.tokenize(u',')) {
        FieldRule rule;
        if (token.startsWith(u'O')) {
            rule.omissible = 1;
            token = token.sliced(1);
        }
        rule.kind = token.isEmpty() ? 0 : kindOfLetter(token.front());
        if (rule.kind == 0)
            return;
        token = token.sliced(1);
        const qsizetype dash = token.indexOf(u'-');
        if (dash < 0)
            return;
        rule.minLength = CDecimal(token.first(dash));
        rule.maxLength = CDecimal(token.sliced(dash + 1));
        rules.append(rule);
    }
}

}  // namespace vormex
