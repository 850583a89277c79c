#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The in-memory model of the parameter definition file: one PrinterDefinition per printer
// model, built once at start-up and read-only afterwards.
namespace vormex {

// One choice of an item's list.
struct ListEntry {
    QString text;   // shown to the user
    QString value;  // written into the printer's files
    QString type;   // only the font convert lists interpret it (KIRN font type of a code)
    friend bool operator==(const ListEntry&, const ListEntry&) = default;
};

// One editable parameter.
struct ItemDefinition {
    QString name;
    QString type;             // kind of control
    int min = 0;
    int max = 0;
    int initialNumber = 0;    // for types other than the five text types
    QString initialText;      // for "ComboBox-dropdownlist", "MaskedEdit", "Edit", "ComboBox-dropdown", "CheckBox"
    QList<ListEntry> list;
    QString mask;
    QString templateText;     // attribute "template"
    int length = 0;
    QString validChars;       // attribute "validchars"
    friend bool operator==(const ItemDefinition&, const ItemDefinition&) = default;
};

// From "Allocate": the printer's storage in blocks of blockSizeKb kilobytes.
struct AllocationDefinition {
    int blockSizeKb = 0;
    int totalBlocks = 0;
    int trueTypeMin = 0, trueTypeMax = 0;
    int bitmapMin = 0, bitmapMax = 0;
    int basicMin = 0, basicMax = 0;
    int trueTypeDefault = 0, bitmapDefault = 0, basicDefault = 0;
    int startBlockBasicMain = 0;
    int startBlockBasicSystem = 2;
    int startBlockSystemParam = 3;
    int startBlockInitialTable = 4;
    int kanjiVariants = 0;
    int trueTypeMaxKanji1 = 0, bitmapMaxKanji1 = 0;
    int trueTypeMaxKanji2 = 0, bitmapMaxKanji2 = 0;
    int totalBlocksKanji1 = 0, totalBlocksKanji2 = 0;
    friend bool operator==(const AllocationDefinition&, const AllocationDefinition&) = default;
};

// From "DriveMapping".
struct DriveMappingDefinition {
    QStringList tList;        // texts of the items inside "T" (KIRN drive names)
    QStringList zList;        // texts of the items inside "Z" (VORMEX drive names)
    QStringList defaultList;  // "default" attributes of all items, in document order
    QStringList valueList;    // "value" attributes of all items, in document order
    friend bool operator==(const DriveMappingDefinition&, const DriveMappingDefinition&) = default;
};

// One initial row of the font convert table (attributes of a "line" element).
struct FontConvertLine {
    QString ZPLFontCode;
    QString ZPLFontName;
    QString ZPLFontType;
    int MinimunWidth = 0;
    int MinimumHeight = 0;
    QString KIRNFontCode;
    QString KIRNFontType;
    int BMPAdjustWidth = 0;
    int BMPCAPHeight = 0;
    int BMPDescender = 0;
    int TrueTypeCAPHeight = 0;
    int TrueTypeDescender = 0;
    int TrueTypeAdjustWidth = 0;
    int TrueTypeAdjustHeight = 0;
    int CharSpace = 0;
    int TrueTypeCaraSpace = 0;
    QString Drive;
    friend bool operator==(const FontConvertLine&, const FontConvertLine&) = default;
};

// From "FontConvert".
struct FontConvertDefinition {
    QList<ItemDefinition> items;
    QList<FontConvertLine> lines;
    int totalRows = 0;   // "max" of "initial" plus one per line read after it
    int lineCount = 0;   // number of "line" elements read
    friend bool operator==(const FontConvertDefinition&, const FontConvertDefinition&) = default;
};

// From "item" inside a status response "command".
struct ResponseParameterDefinition {
    QString name;
    QString type;
    int min = 0;
    int max = 0;
    int omissible = 0;
    friend bool operator==(const ResponseParameterDefinition&, const ResponseParameterDefinition&) = default;
};

// From "command" inside "StatusResponse".
struct ResponseCommandDefinition {
    QString name;
    int min = 0;
    int max = 0;
    QList<ResponseParameterDefinition> parameters;
    QString text;  // the default response
    friend bool operator==(const ResponseCommandDefinition&, const ResponseCommandDefinition&) = default;
};

// One field of a parameter line.
struct FieldRule {
    enum Kind { Text = 1, Signed = 2, Unsigned = 3 };
    int minLength = 0;
    int maxLength = 0;
    int kind = Text;
    int omissible = 0;
    friend bool operator==(const FieldRule&, const FieldRule&) = default;
};

// From "format" inside "Layout": the rules of one kind of parameter line.
struct LayoutFormat {
    QString name;
    int minLength = 0;   // bounds of the whole line's length in characters
    int maxLength = 0;
    QList<FieldRule> rules;
    friend bool operator==(const LayoutFormat&, const LayoutFormat&) = default;
};

// One printer model.
struct PrinterDefinition {
    QString name;
    QList<ItemDefinition> systemItems;
    std::optional<DriveMappingDefinition> driveMapping;
    std::optional<AllocationDefinition> allocation;
    QList<ItemDefinition> initialItems;
    std::optional<FontConvertDefinition> fontConvert;
    QList<ResponseCommandDefinition> responseCommands;
    QList<LayoutFormat> layoutFormats;
    std::optional<LayoutFormat> systemFormat;  // the format named "System Parameter"
    int labelShiftOmitted = 0;
    int firmwareHandshake = 0;
    int variableControlCodes = 0;
    friend bool operator==(const PrinterDefinition&, const PrinterDefinition&) = default;
};

// Every printer entry of the definition file, in file order.
using PrinterDefinitions = std::vector<PrinterDefinition>;

}  // namespace vormex
