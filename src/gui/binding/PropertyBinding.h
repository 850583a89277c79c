#pragma once

#include "gui/binding/Property.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <span>
#include <vector>

class QFormLayout;

namespace vormex::gui {

// One row of a page's table of items: which definition item, shown how, with which caption,
// bound to which value of the page's document.
struct PropertyRow {
    QString item;          // the item name in the definition file; also the widget's object name
    PropertyKind kind;
    int caption;           // string number of the caption
    Property::Getter get;
    Property::Setter set;
    PropertyOptions options = {};
    // Rows of one group (not 0) are set up in table order, and an item the printer lacks ends the
    // set-up of its group: the rows after it stay empty as well.
    int setupGroup = 0;
};

// A form for a page's rows: captions right-aligned before fields kept at their own size.
QFormLayout* CreateItemForm(int horizontalSpacing = 8, int verticalSpacing = 5);

// Lays a page's table of items into forms and handles the properties as one: set up from a
// printer, load from and commit to the document, and one `edited` signal for the change mark.
// A page declares its rows; it never wires a control by hand.
class PropertyBinding : public QObject {
    Q_OBJECT
public:
    using ItemLookup = std::function<const ItemDefinition*(const PrinterDefinition&, const QString&)>;
    using TextLookup = std::function<QString(int)>;

    PropertyBinding(ItemLookup findItem, TextLookup text, QObject* parent = nullptr);
    ~PropertyBinding() override;

    // Adds the rows to `form` in order: the caption in front of the widget (a check box carries
    // its caption itself). `parent` becomes the widgets' parent. The rows of a titled group take
    // its `heading` before their names.
    void addRows(QFormLayout* form, std::span<const PropertyRow> rows, QWidget* parent, const QString& heading = {});

    // Sets every widget up from the printer's items, in the order the rows were added; no
    // printer: every widget empty and disabled.
    void configure(const PrinterDefinition* printer);
    // Gives the edits and lists of each form the width of the widest, so the fields line up. The
    // page calls it when it is shown (measuring every list entry is not worth doing for a
    // page nobody looks at yet); it does nothing when nothing changed since the last time.
    void alignWidths();
    void load();
    // Commits every property; the first that holds no value of its kind is given back (the
    // rest are committed all the same), nullptr when all are committed.
    Property* commit();

    Property* property(const QString& item) const;
    QWidget* widget(const QString& item) const;
    const std::vector<std::unique_ptr<Property>>& properties() const { return properties_; }

signals:
    void edited(const QString& item);

private:
    ItemLookup findItem_;
    TextLookup text_;
    std::vector<std::unique_ptr<Property>> properties_;
    std::vector<int> groups_;
    std::vector<QFormLayout*> forms_;
    bool widthsAligned_ = false;
};

}  // namespace vormex::gui
