#pragma once

// The printer definitions the parameter document fuzz targets work with: the test definitions
// of the source tree (the fixture file of the document tests).
#include "definitions/DefinitionReader.h"
#include "definitions/Lookups.h"

#include <QDir>
#include <QFileInfo>

#include <cstdlib>

namespace vormex::fuzz {

inline const PrinterDefinitions& fuzzDefinitions()
{
    static const PrinterDefinitions definitions = [] {
        PrinterDefinitions loaded;
        const QString here = QFileInfo(QStringLiteral(__FILE__)).absolutePath();
        if (!LoadDefinitions(QDir(here).filePath(QStringLiteral("../tests/data/parameter-documents.xml")), loaded))
            std::abort();
        return loaded;
    }();
    return definitions;
}

inline const PrinterDefinition& fuzzPrinter(int which)
{
    const PrinterDefinitions& definitions = fuzzDefinitions();
    return definitions[size_t(which) % definitions.size()];
}

}  // namespace vormex::fuzz
