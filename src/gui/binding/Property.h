#pragma once

#include "definitions/PrinterDefinition.h"

#include <QObject>
#include <QPointer>
#include <QRegularExpression>
#include <QVariant>
#include <QWidget>

#include <functional>

namespace vormex::gui {

// The parameter pages are built from properties. A property is one item of the definition file
// bound to one value of the page's document (the core's parameter set):
//  - it is made from the item's name, the kind of control, its caption, and a getter and a
//    setter on the document; the page keeps no copy of the value;
//  - it builds its own widget in one place (`createWidget`, one switch on the kind); the widget's
//    object name is the item name and its accessible name the caption without colon, line
//    break or mnemonic (AccessibleNames.h);
//  - `configure` sets the widget up from the selected printer's item (mask and template, list
//    texts, limits, length) and gives it the description of what its caption leaves out (the
//    range and unit, `ItemDescription`); without an item (the printer lacks it) the widget is
//    emptied, disabled and not described;
//  - `load` shows the document's value; `commit` writes the widget's value back. Pages commit
//    before they check, save, send or are left, so the document is current exactly then;
//  - `edited` reports every change the user makes; a load does not count as one.
//
// The value a getter gives and a setter takes, by kind:
//   MaskedEdit    QString  the display text (or the masked text, as MaskedText::setText reads it)
//   Number        int      the number of the edit with its up-down control
//   List          int      index of the selected entry of the item's list, -1 for none
//   EditableList  QString  the text of the edit
//   CheckBox      bool     ticked
//   Text          QString  the text
enum class PropertyKind { MaskedEdit, Number, List, EditableList, CheckBox, Text };

// The kind of control the definition file's item type names ("MaskedEdit", "SpinEdit",
// "ComboBox-dropdownlist", "ComboBox-dropdown", "CheckBox"/"Flag", else a text edit).
PropertyKind PropertyKindOf(const ItemDefinition& item);

// Settings of a property that the item does not carry.
struct PropertyOptions {
    QChar placeholder = QLatin1Char('_');  // masked edit: what an empty input position shows
    bool useValidChars = false;            // masked edit: the item's valid characters restrict input
    QRegularExpression textPattern;        // text: what the edit accepts while typing (none: anything)
    QString description;                   // what screen readers say after the name when the item says nothing
};

class Property : public QObject {
    Q_OBJECT
public:
    using Getter = std::function<QVariant()>;
    using Setter = std::function<void(const QVariant&)>;

    Property(QString itemName, PropertyKind kind, QString caption, Getter getter, Setter setter,
             PropertyOptions options = {}, QObject* parent = nullptr);

    const QString& itemName() const { return itemName_; }
    PropertyKind kind() const { return kind_; }
    const QString& caption() const { return caption_; }
    // The caption as screen readers announce it: no colon at its end, no line break, no mnemonic;
    // after the heading of its group when it has one (two groups may hold the same caption).
    QString accessibleName() const;
    void setHeading(const QString& heading) { heading_ = heading; }

    // Builds the widget (once; later calls give the same one).
    QWidget* createWidget(QWidget* parent);
    QWidget* widget() const { return widget_; }
    // The width the widget needs for what it shows (a masked edit: its whole template).
    int naturalWidth() const;

    // `text` gives the string table's texts (for the description).
    void configure(const ItemDefinition* item, const std::function<QString(int)>& text = {});
    bool isConfigured() const { return configured_; }
    void load();
    // False, committing nothing, when the widget holds no value of its kind (a number edit
    // without a number); the page then names the problem and puts the focus there.
    bool commit();

signals:
    void edited();

private:
    void connectEdits();
    void userChanged();

    QString itemName_;
    PropertyKind kind_;
    QString caption_;
    QString heading_;
    Getter getter_;
    Setter setter_;
    PropertyOptions options_;
    QPointer<QWidget> widget_;
    bool configured_ = false;
    int templateLength_ = 0;
    bool loading_ = false;
};

}  // namespace vormex::gui
