#pragma once

#include <QString>

#include <functional>

class QLabel;
class QWidget;

namespace vormex {
struct ItemDefinition;
}

namespace vormex::gui {

// Names and descriptions that screen readers announce for the controls. A control is named
// after its visible caption, so the user hears what the screen shows beside it; what the caption
// leaves out (the unit, the range) goes into the description.

// The caption as a name: no colon at its end, no mnemonic marker ("(&S)", "&S"; "&&" is one
// "&"), no "..." at its end, line breaks joined (with a blank between two Latin words, without
// one between Japanese ones), blanks trimmed.
QString AccessibleNameOf(const QString& caption);

// Makes `label` the buddy of `control` and names the control after the label's caption.
void NameAfterCaption(QLabel* label, QWidget* control);

using TextLookup = std::function<QString(int)>;

// "Range MIN to MAX" with the unit after it when there is one (the numbers as they are shown).
QString RangeDescription(const TextLookup& text, const QString& min, const QString& max, const QString& unit = {});
QString RangeDescription(const TextLookup& text, int min, int max, const QString& unit = {});

// What the definition item's caption does not say about its control: a masked edit's range in
// the form its mask shows it, with the template's unit ("Range 5.0 to 999.9 mm"), or the number
// of hexadecimal digits it takes; a number edit's range. Empty for lists, check boxes, texts and
// an item without limits.
QString ItemDescription(const TextLookup& text, const ItemDefinition& item);

// The name of a browse button that belongs to the control named `controlName`.
QString BrowseButtonName(const TextLookup& text, const QString& controlName);

}  // namespace vormex::gui
