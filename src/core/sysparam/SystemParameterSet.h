#pragma once

#include "definitions/MaskedText.h"
#include "definitions/PrinterDefinition.h"

#include <QString>

#include <array>

namespace vormex {

// The ten drop-down lists of the system parameter page, in the order of their line fields.
enum class SystemList {
    Ribbon,           // field 2
    DotMm,            // field 3
    PrintMode,        // field 4
    Sensor,           // field 5
    GraphicPosition,  // field 6
    PrintSpeed,       // field 7
    PowerOnCalib,     // field 9
    HeadCloseCalib,   // field 10
    FormatConvert,    // field 11
    OffsetPrint,      // field 22
};
inline constexpr int kSystemListCount = 10;

// The five command switches (fields 15 to 19); ticked means the printer obeys the command.
enum class SystemSwitch { LabelSize, LabelType, MediaType, ToneAdjSd, ToneAdjMd };
inline constexpr int kSystemSwitchCount = 5;

// The definition item of each list and switch.
QString SystemListItemName(SystemList list);
QString SystemSwitchItemName(SystemSwitch box);

// The values of the system parameter page, control by control: the masked texts of the masked
// edits, the selected entry of each list (an index into the item's list, -1 for none), the
// check states and the spin value.
struct SystemParameterSet {
    MaskedText labelLength;    // "LABEL LENGTH", tenths of a millimetre
    MaskedText labelWidth;     // "LABEL WIDTH"
    MaskedText maximumLength;  // "MAXIMUM LENGTH"
    MaskedText controlPrefix;  // "CONTROL PREFIX", two hexadecimal digits
    MaskedText formatPrefix;   // "FORMAT PREFIX"
    MaskedText delimiterChar;  // "DELIMITER CHAR"
    MaskedText rfidAdjust;     // "RFID ADJUST": a sign position, then digits
    MaskedText labelShift;     // "LABEL SHIFT": a sign position, then digits
    std::array<int, kSystemListCount> selection{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    std::array<bool, kSystemSwitchCount> ticked{};
    int tabSpaces = 0;  // "TAB->SP", 0..99

    int& selected(SystemList list) { return selection[size_t(list)]; }
    int selected(SystemList list) const { return selection[size_t(list)]; }
    bool& isTicked(SystemSwitch box) { return ticked[size_t(box)]; }
    bool isTicked(SystemSwitch box) const { return ticked[size_t(box)]; }

    // The text of the selected entry of a list; empty when nothing is selected or the printer
    // lacks the item.
    QString selectedText(SystemList list, const PrinterDefinition& printer) const;

    friend bool operator==(const SystemParameterSet&, const SystemParameterSet&) = default;
};

// The page's state after it has been set up for `printer`: every control from its item's
// initial value. A missing item leaves its control empty (and, for the switches and lists, the
// ones after it in the set-up order as well).
SystemParameterSet DefaultSystemParameters(const PrinterDefinition& printer);

// The signed field value of a masked text: the first character is the sign position, the rest
// is trimmed and read as a decimal number, negated for "-".
int SignedFieldValue(const QString& maskedText);

}  // namespace vormex
