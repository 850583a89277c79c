#include "gui/binding/PropertyBinding.h"

#include <QFormLayout>
#include <QLabel>

#include <map>
#include <set>

namespace vormex::gui {

PropertyBinding::PropertyBinding(ItemLookup findItem, TextLookup text, QObject* parent)
    : QObject(parent), findItem_(std::move(findItem)), text_(std::move(text))
{
}

PropertyBinding::~PropertyBinding() = default;

QFormLayout* CreateItemForm(int horizontalSpacing, int verticalSpacing)
{
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setHorizontalSpacing(horizontalSpacing);
    form->setVerticalSpacing(verticalSpacing);
    return form;
}

void PropertyBinding::addRows(QFormLayout* form, std::span<const PropertyRow> rows, QWidget* parent,
                              const QString& heading)
{
    for (const PropertyRow& row : rows) {
        auto property = std::make_unique<Property>(row.item, row.kind, text_(row.caption), row.get,
                                                   row.set, row.options);
        property->setHeading(heading);
        if (row.kind == PropertyKind::CheckBox) {
            form->addRow(property->createWidget(parent));
        } else {
            // The caption first, so it comes before its field in the widget tree as on screen.
            auto* label = new QLabel(property->caption(), parent);
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            QWidget* widget = property->createWidget(parent);
            label->setBuddy(widget);  // Alt + the caption's mnemonic, and the name for screen readers
            form->addRow(label, widget);
        }
        const QString item = property->itemName();
        connect(property.get(), &Property::edited, this, [this, item] { emit edited(item); });
        properties_.push_back(std::move(property));
        groups_.push_back(row.setupGroup);
        forms_.push_back(form);
    }
}

void PropertyBinding::configure(const PrinterDefinition* printer)
{
    std::set<int> endedGroups;
    for (size_t i = 0; i < properties_.size(); ++i) {
        Property& property = *properties_[i];
        const int group = groups_[i];
        const ItemDefinition* item = nullptr;
        if (printer && !(group != 0 && endedGroups.count(group)))
            item = findItem_(*printer, property.itemName());
        if (!item && group != 0)
            endedGroups.insert(group);
        property.configure(item, text_);
    }
    widthsAligned_ = false;
}

void PropertyBinding::alignWidths()
{
    if (widthsAligned_)
        return;
    widthsAligned_ = true;
    const auto lined = [](const Property& property) {
        return property.kind() != PropertyKind::CheckBox && property.kind() != PropertyKind::Number;
    };
    std::map<QFormLayout*, int> widest;
    for (size_t i = 0; i < properties_.size(); ++i) {
        if (lined(*properties_[i]))
            widest[forms_[i]] = std::max(widest[forms_[i]], properties_[i]->naturalWidth());
    }
    for (size_t i = 0; i < properties_.size(); ++i) {
        if (lined(*properties_[i]))
            properties_[i]->widget()->setMinimumWidth(widest[forms_[i]]);
    }
}

void PropertyBinding::load()
{
    for (const auto& property : properties_)
        property->load();
}

Property* PropertyBinding::commit()
{
    Property* failed = nullptr;
    for (const auto& property : properties_) {
        if (!property->commit() && !failed)
            failed = property.get();
    }
    return failed;
}

Property* PropertyBinding::property(const QString& item) const
{
    for (const auto& property : properties_) {
        if (property->itemName() == item)
            return property.get();
    }
    return nullptr;
}

QWidget* PropertyBinding::widget(const QString& item) const
{
    Property* found = property(item);
    return found ? found->widget() : nullptr;
}

}  // namespace vormex::gui
