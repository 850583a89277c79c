#include "app/Language.h"

#include "app/DataFiles.h"
#include "base/StringIds.h"
#include "base/StringTable.h"

namespace vormex {

LanguageChoice chooseLanguage(const QString& storedLanguage, StringTable& table, const QStringList& searchDirs)
{
    LanguageChoice choice;
    if (storedLanguage == QLatin1String("JPN")) {
        choice.japaneseUi = 1;
        return choice;
    }
    const QString fileName = datafiles::englishResourceFileName(table.text(strings::kEnglishResourceFile));
    choice.englishFilePath = fileName;
    const QString path = datafiles::findIn(searchDirs, fileName);
    if (!path.isEmpty() && table.loadOverlay(path)) {
        choice.englishLoaded = true;
        choice.englishFilePath = path;
    }
    return choice;
}

}  // namespace vormex
