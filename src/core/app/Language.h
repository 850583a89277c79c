#pragma once

#include <QString>
#include <QStringList>

namespace vormex {

class StringTable;

// The outcome of choosing the user-interface language at start-up.
struct LanguageChoice {
    int japaneseUi = 0;        // 1 when the built-in Japanese texts are in use by choice
    bool englishLoaded = false;
    QString englishFilePath;   // the file that was loaded, or the name that was looked for
};

// Chooses the language resources from the stored "Language" value: exactly "JPN" keeps the
// built-in Japanese table; anything else looks for the English file (named by string 1000) in
// `searchDirs` and lays it over the table. A missing file silently leaves Japanese texts with
// `japaneseUi` 0.
LanguageChoice chooseLanguage(const QString& storedLanguage, StringTable& table, const QStringList& searchDirs);

}  // namespace vormex
