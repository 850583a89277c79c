// Placeholder bodies until the definition reader is written.
#include "definitions/DefinitionReader.h"

namespace vormex {
int LoadDefinitions(const QString&, PrinterDefinitions&, DefinitionLoadError*) { return 0; }
int CopyFromStandard(const PrinterDefinitions&, PrinterDefinition&) { return 0; }
}  // namespace vormex
