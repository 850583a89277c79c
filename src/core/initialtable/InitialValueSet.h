#pragma once

#include "definitions/MaskedText.h"
#include "definitions/PrinterDefinition.h"

#include <QString>

#include <array>
#include <functional>
#include <optional>

namespace vormex {

class StringTable;

// The 26 command defaults of the emulation, in the order of the initial value text.
enum class InitialValue {
    BarcodeHeight, ModuleSize, Ratio,
    Rotation, CharGap,
    IncDec, ZeroSuppress,
    Unit,
    RectWidth, NumLine, LineMargin, Align, AdjustXPos,
    LineWidth,
    DensAdjust,
    CharSet,
    HomeXPos, HomeYPos, LabelShift, RotationMirror, YOffset, FeedAdjust,
    IssueCount, CutInterval,
    PcSaveArea,
    Getcmdzb,
};
inline constexpr int kInitialValueCount = 26;

enum class InitialValueKind { Number, Ratio, LongNumber, Flag, Choice };

// The definition item of a value and what kind of value it is.
QString InitialValueItemName(InitialValue value);
InitialValueKind InitialValueKindOf(InitialValue value);

inline constexpr qint64 kIncDecLimit = 9999999999LL;

// The initial value page's values. Numbers, "INC/DEC" and the "ZeroSuppress" flag (0: zero
// suppression chosen) are held as numbers; a choice as the index of its entry in the item's
// list (-1 for none); the ratio as the masked text of its field (tenths: "2.5" is 25).
struct InitialValueSet {
    std::array<qint64, kInitialValueCount> numbers{};
    std::array<int, kInitialValueCount> selection{};
    MaskedText ratio;

    InitialValueSet() { selection.fill(-1); }

    qint64& number(InitialValue value) { return numbers[size_t(value)]; }
    qint64 number(InitialValue value) const { return numbers[size_t(value)]; }
    int& selected(InitialValue value) { return selection[size_t(value)]; }
    int selected(InitialValue value) const { return selection[size_t(value)]; }
    int ratioTenths() const;

    // Display text and value text of a choice (empty when none is chosen).
    QString choiceText(InitialValue value, const PrinterDefinition& printer) const;
    QString choiceValue(InitialValue value, const PrinterDefinition& printer) const;

    friend bool operator==(const InitialValueSet&, const InitialValueSet&) = default;
};

// Every value from its definition item (`FillInitialValueDefaults` without the page).
InitialValueSet DefaultInitialValues(const PrinterDefinition& printer);

// The twelve initial value sections: header line, data line, each ended by CR LF.
QString InitialValuesText(const InitialValueSet& set, const PrinterDefinition& printer);

// The same sections from plain values: numbers (flag and "INC/DEC" included), the ratio in
// tenths and the value texts of the choices.
QString InitialValuesTextFrom(const std::array<qint64, kInitialValueCount>& numbers, int ratioTenths,
                              const std::array<QString, kInitialValueCount>& choiceValues);

// Reads the twelve sections (found by search) into the set. Fails, changing nothing, when the
// text has no "BARCODE Default" section.
bool ParseInitialValues(const QString& text, const PrinterDefinition& printer, InitialValueSet& set);

// The page's checks, in the order the page reads its fields: the number fields in page order
// (each within its own item's limits, message 61714), then the ratio (message 800 with the
// ratio's caption and limits in tenths), then "INC/DEC" (ten digits and a sign, message 811).
// `notAnInteger` names the fields whose text is no integer (message 61712 in their place).
// Nothing when all pass.
struct InitialValueFailure {
    InitialValue value;
    int messageId = 0;  // 61712, 61714, 800 or 811
    QString message;
};
using UnreadableValue = std::function<bool(InitialValue)>;
std::optional<InitialValueFailure> ValidateInitialValues(const InitialValueSet& set, const PrinterDefinition& printer,
                                                         const StringTable& strings,
                                                         const UnreadableValue& notAnInteger = {});
// The same check of one value (flags and choices always pass): the message, or nothing.
std::optional<QString> CheckInitialValueRange(const InitialValueSet& set, InitialValue value, const PrinterDefinition& printer,
                                              const StringTable& strings);

// The value texts of the five choices as a text holds them (by position, as ParseInitialValues
// takes them); empty for the other values and for a missing section.
std::array<QString, kInitialValueCount> InitialChoiceValueTexts(const QString& text);

// The long number in text: a sign and ten digits ("%c%05d%05d").
QString IncDecText(qint64 value);

// The twelve section headers (without CR LF), in the order of the text.
const QStringList& InitialValueSectionHeaders();

}  // namespace vormex
