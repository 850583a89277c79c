// Placeholder bodies until the definitions subsystem is written; replaced file by file.
#include "definitions/DefinitionReader.h"
#include "definitions/Lookups.h"
#include "definitions/ParameterCheck.h"
#include "definitions/ParameterLine.h"

namespace vormex {
int LoadDefinitions(const QString&, PrinterDefinitions&, DefinitionLoadError*) { return 0; }
int CopyFromStandard(const PrinterDefinitions&, PrinterDefinition&) { return 0; }
const PrinterDefinition* FindPrinter(const PrinterDefinitions&, const QString&) { return nullptr; }
const ItemDefinition* FindSystemItem(const PrinterDefinition&, const QString&) { return nullptr; }
const ItemDefinition* FindInitialItem(const PrinterDefinition&, const QString&) { return nullptr; }
const ItemDefinition* FindFontItem(const PrinterDefinition&, const QString&) { return nullptr; }
const DriveMappingDefinition* FindDriveMapping(const PrinterDefinitions&, const QString&) { return nullptr; }
int IndexOfText(const ItemDefinition&, const QString&) { return -1; }
int IndexOfValue(const ItemDefinition&, const QString&) { return -1; }
QString ValueOfText(const ItemDefinition&, const QString&) { return {}; }
QString TextOfValue(const ItemDefinition&, const QString&) { return {}; }
int CDecimal(QStringView) { return 0; }
qint64 CDecimal64(QStringView) { return 0; }
QString FieldAt(const QString&, int) { return {}; }
int IntFieldAt(const QString&, int) { return 0; }
int HexFieldAt(const QString&, int) { return 0; }
bool ValidateLine(const LayoutFormat&, const QString&, bool, ParameterCheckState&) { return false; }
bool ValidateField(const LayoutFormat&, int, const QString&, ParameterCheckState&) { return false; }
bool ValidateSectionLine(const PrinterDefinition&, int, const QString&, const QString&, bool, ParameterCheckState&) { return false; }
bool ValidateSystemParameterText(const PrinterDefinition&, const QString&, bool, ParameterCheckState&) { return false; }
bool ValidateSectionFile(const PrinterDefinition&, const QString&, bool, ParameterCheckState&) { return false; }
QString ParameterErrorMessage(ParameterFileKind, const ParameterCheckState&, const StringTable&) { return {}; }
}  // namespace vormex
