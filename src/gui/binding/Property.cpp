#include "gui/binding/Property.h"

#include "gui/binding/AccessibleNames.h"
#include "gui/widgets/MaskedEdit.h"
#include "gui/widgets/SpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionComboBox>

namespace vormex::gui {
namespace {

QStringList listTexts(const ItemDefinition& item)
{
    QStringList texts;
    for (const ListEntry& entry : item.list)
        texts << entry.text;
    return texts;
}

// Room for `characters` characters of the widget's font and its frame.
int widthFor(const QWidget& widget, int characters)
{
    return widget.fontMetrics().horizontalAdvance(QString(characters, QLatin1Char('0'))) + 16;
}

// What a list needs to show its longest entry. Measured here, because a combo box keeps the size
// it computed first, and one that recomputes on every change builds its popup at once.
int listWidth(const QComboBox& list)
{
    int textWidth = list.fontMetrics().horizontalAdvance(QString(7, QLatin1Char('x')));
    for (int i = 0; i < list.count(); ++i)
        textWidth = std::max(textWidth, list.fontMetrics().horizontalAdvance(list.itemText(i)));
    QStyleOptionComboBox option;
    option.initFrom(&list);
    option.editable = list.isEditable();
    const QSize content(textWidth, list.fontMetrics().height());
    return list.style()->sizeFromContents(QStyle::CT_ComboBox, &option, content, &list).width();
}

}  // namespace

PropertyKind PropertyKindOf(const ItemDefinition& item)
{
    if (item.type == QLatin1String("MaskedEdit"))
        return PropertyKind::MaskedEdit;
    if (item.type == QLatin1String("SpinEdit"))
        return PropertyKind::Number;
    if (item.type == QLatin1String("ComboBox-dropdownlist"))
        return PropertyKind::List;
    if (item.type == QLatin1String("ComboBox-dropdown"))
        return PropertyKind::EditableList;
    if (item.type == QLatin1String("CheckBox") || item.type == QLatin1String("Flag"))
        return PropertyKind::CheckBox;
    return PropertyKind::Text;
}

Property::Property(QString itemName, PropertyKind kind, QString caption, Getter getter, Setter setter,
                   PropertyOptions options, QObject* parent)
    : QObject(parent), itemName_(std::move(itemName)), kind_(kind), caption_(std::move(caption)),
      getter_(std::move(getter)), setter_(std::move(setter)), options_(std::move(options))
{
}

QString Property::accessibleName() const
{
    const QString name = gui::AccessibleNameOf(caption_);
    return heading_.isEmpty() ? name : gui::AccessibleNameOf(heading_) + QLatin1Char(' ') + name;
}

QWidget* Property::createWidget(QWidget* parent)
{
    if (widget_)
        return widget_;
    switch (kind_) {
    case PropertyKind::MaskedEdit: {
        auto* edit = new MaskedEdit(parent);
        edit->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        widget_ = edit;
        break;
    }
    case PropertyKind::Number:
        widget_ = new SpinEdit(parent);
        break;
    case PropertyKind::List:
        widget_ = new QComboBox(parent);
        break;
    case PropertyKind::EditableList: {
        auto* list = new QComboBox(parent);
        list->setEditable(true);
        list->setInsertPolicy(QComboBox::NoInsert);
        widget_ = list;
        break;
    }
    case PropertyKind::CheckBox:
        widget_ = new QCheckBox(caption_, parent);
        break;
    case PropertyKind::Text: {
        auto* edit = new QLineEdit(parent);
        if (options_.textPattern.isValid() && !options_.textPattern.pattern().isEmpty())
            edit->setValidator(new QRegularExpressionValidator(options_.textPattern, edit));
        widget_ = edit;
        break;
    }
    }
    widget_->setObjectName(itemName_);
    widget_->setAccessibleName(accessibleName());
    connectEdits();
    return widget_;
}

void Property::connectEdits()
{
    switch (kind_) {
    case PropertyKind::MaskedEdit:
        connect(static_cast<MaskedEdit*>(widget_.data()), &MaskedEdit::edited, this, &Property::userChanged);
        break;
    case PropertyKind::Number:
        connect(static_cast<SpinEdit*>(widget_.data()), &QSpinBox::textChanged, this, &Property::userChanged);
        break;
    case PropertyKind::List:
        connect(static_cast<QComboBox*>(widget_.data()), &QComboBox::activated, this, &Property::userChanged);
        break;
    case PropertyKind::EditableList:
        connect(static_cast<QComboBox*>(widget_.data()), &QComboBox::editTextChanged, this, &Property::userChanged);
        break;
    case PropertyKind::CheckBox:
        connect(static_cast<QCheckBox*>(widget_.data()), &QCheckBox::toggled, this, &Property::userChanged);
        break;
    case PropertyKind::Text:
        connect(static_cast<QLineEdit*>(widget_.data()), &QLineEdit::textChanged, this, &Property::userChanged);
        break;
    }
}

void Property::userChanged()
{
    if (!loading_)
        emit edited();
}

void Property::configure(const ItemDefinition* item, const std::function<QString(int)>& text)
{
    if (!widget_)
        return;
    loading_ = true;
    configured_ = item != nullptr;
    switch (kind_) {
    case PropertyKind::MaskedEdit: {
        auto* edit = static_cast<MaskedEdit*>(widget_.data());
        edit->setModel(item ? MaskedText::forItem(*item, options_.placeholder, options_.useValidChars) : MaskedText());
        templateLength_ = item ? static_cast<int>(item->templateText.size()) : 0;
        break;
    }
    case PropertyKind::Number: {
        auto* spin = static_cast<SpinEdit*>(widget_.data());
        if (item)
            spin->setLimits(item->min, item->max, item->length);
        else
            spin->setLimits(0, 0, 0);
        break;
    }
    case PropertyKind::List:
    case PropertyKind::EditableList: {
        auto* list = static_cast<QComboBox*>(widget_.data());
        list->clear();
        if (item)
            list->addItems(listTexts(*item));
        if (list->lineEdit())
            list->lineEdit()->setMaxLength(item && item->length > 0 ? item->length : 32767);
        break;
    }
    case PropertyKind::CheckBox:
        static_cast<QCheckBox*>(widget_.data())->setChecked(false);
        break;
    case PropertyKind::Text: {
        auto* edit = static_cast<QLineEdit*>(widget_.data());
        edit->clear();
        edit->setMaxLength(item && item->length > 0 ? item->length : 32767);
        break;
    }
    }
    widget_->setEnabled(configured_);
    const QString described = item && text ? ItemDescription(text, *item) : QString();
    widget_->setAccessibleDescription(described.isEmpty() ? options_.description : described);
    loading_ = false;
}

int Property::naturalWidth() const
{
    if (!widget_)
        return 0;
    switch (kind_) {
    case PropertyKind::MaskedEdit:
        return std::max(widget_->sizeHint().width(), widthFor(*widget_, templateLength_ + 1));
    case PropertyKind::List:
    case PropertyKind::EditableList:
        return listWidth(*static_cast<QComboBox*>(widget_.data()));
    default:
        return widget_->sizeHint().width();
    }
}

void Property::load()
{
    if (!widget_ || !getter_)
        return;
    loading_ = true;
    const QVariant value = getter_();
    switch (kind_) {
    case PropertyKind::MaskedEdit:
        static_cast<MaskedEdit*>(widget_.data())->setValueText(value.toString());
        break;
    case PropertyKind::Number: {
        auto* spin = static_cast<SpinEdit*>(widget_.data());
        // A number beyond what the edit takes (read from a file) is shown, not cut to fit.
        const int number = value.toInt();
        spin->setRange(std::min(spin->minimum(), number), std::max(spin->maximum(), number));
        spin->setValue(number);
        break;
    }
    case PropertyKind::List:
        static_cast<QComboBox*>(widget_.data())->setCurrentIndex(value.toInt());
        break;
    case PropertyKind::EditableList:
        static_cast<QComboBox*>(widget_.data())->setEditText(value.toString());
        break;
    case PropertyKind::CheckBox:
        static_cast<QCheckBox*>(widget_.data())->setChecked(value.toBool());
        break;
    case PropertyKind::Text:
        static_cast<QLineEdit*>(widget_.data())->setText(value.toString());
        break;
    }
    loading_ = false;
}

bool Property::commit()
{
    if (!widget_ || !setter_)
        return true;
    switch (kind_) {
    case PropertyKind::MaskedEdit: {
        auto* edit = static_cast<MaskedEdit*>(widget_.data());
        edit->finishEditing();
        setter_(edit->value().displayText());
        break;
    }
    case PropertyKind::Number: {
        int number = 0;
        if (!static_cast<SpinEdit*>(widget_.data())->readNumber(number))
            return false;
        setter_(number);
        break;
    }
    case PropertyKind::List:
        setter_(static_cast<QComboBox*>(widget_.data())->currentIndex());
        break;
    case PropertyKind::EditableList:
        setter_(static_cast<QComboBox*>(widget_.data())->currentText());
        break;
    case PropertyKind::CheckBox:
        setter_(static_cast<QCheckBox*>(widget_.data())->isChecked());
        break;
    case PropertyKind::Text:
        setter_(static_cast<QLineEdit*>(widget_.data())->text());
        break;
    }
    return true;
}

}  // namespace vormex::gui
