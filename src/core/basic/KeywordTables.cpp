#include "basic/KeywordTables.h"

#include "base/StringIds.h"
#include "base/StringTable.h"

namespace vormex::basic {
namespace {

QHash<QString, int> indexOf(const QStringList& entries)
{
    QHash<QString, int> index;
    index.reserve(entries.size());
    for (int i = 0; i < entries.size(); ++i) {
        if (!index.contains(entries[i]))
            index.insert(entries[i], i);
    }
    return index;
}

}  // namespace

KeywordTables::KeywordTables(const StringTable& strings)
    : statements_(indexOf(strings.list(strings::kStatementTable))),
      functions_(indexOf(strings.list(strings::kFunctionTable))),
      operators_(indexOf(strings.list(strings::kOperatorTable)))
{
}

}  // namespace vormex::basic
