#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace vormex {
class StringTable;
}

namespace vormex::basic {

// The printer's three keyword tables (statements, functions, operators), read once from the
// string table in their order. An entry's number decides its one-byte code, so the order is
// that of the table; the first of two equal entries wins.
class KeywordTables {
public:
    explicit KeywordTables(const StringTable& strings);

    // Entry number of an upper-cased word, or -1. The code is 0x80, 0x40 or 0x20 plus it.
    int LookupStatement(const QString& word) const { return statements_.value(word, -1); }
    int LookupFunction(const QString& word) const { return functions_.value(word, -1); }
    int LookupOperator(const QString& word) const { return operators_.value(word, -1); }

    static constexpr int kStatementCode = 0x80;
    static constexpr int kFunctionCode = 0x40;
    static constexpr int kOperatorCode = 0x20;

private:
    QHash<QString, int> statements_;
    QHash<QString, int> functions_;
    QHash<QString, int> operators_;
};

}  // namespace vormex::basic
