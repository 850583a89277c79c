#include "support/DocumentFixtures.h"

#include "TestSupport.h"
#include "definitions/DefinitionReader.h"
#include "definitions/Lookups.h"

#include <gtest/gtest.h>

namespace vormex::test {

QString documentDefinitionFile() { return sourcePath(QStringLiteral("tests/data/parameter-documents.xml")); }

const PrinterDefinitions& documentDefinitions()
{
    static const PrinterDefinitions definitions = [] {
        PrinterDefinitions loaded;
        DefinitionLoadError error;
        if (!LoadDefinitions(documentDefinitionFile(), loaded, &error))
            ADD_FAILURE() << "test definitions: " << error.message.toStdString() << " line " << error.line;
        return loaded;
    }();
    return definitions;
}

const PrinterDefinition& documentPrinter(const QString& name)
{
    const PrinterDefinition* printer = FindPrinter(documentDefinitions(), name);
    if (!printer) {
        ADD_FAILURE() << "no test printer " << name.toStdString();
        static const PrinterDefinition empty;
        return empty;
    }
    return *printer;
}

const StringTable& builtInStrings()
{
    static const StringTable strings = StringTable::builtIn();
    return strings;
}

}  // namespace vormex::test
