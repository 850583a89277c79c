#include "gui/pages/FontConvertView.h"

#include "base/SettingNames.h"
#include "base/StringIds.h"
#include "definitions/Lookups.h"
#include "gui/application/VORMEXSettingToolApp.h"
#include "gui/binding/GuiStrings.h"
#include "gui/widgets/PageScrollArea.h"
#include "gui/widgets/SpinEdit.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vormex::gui {
namespace {

// The row editor's groups: rows close together, so the list above gets the height.
QFormLayout* compactForm()
{
    QFormLayout* form = CreateItemForm(8, 2);
    form->setContentsMargins(8, 4, 8, 4);
    return form;
}

constexpr int kRestoreQuestion = 8112;
constexpr int kFileNameField = 6915;
constexpr int kFirstColumnTitle = 600;
constexpr int kZplGroup = 300220;
constexpr int kKirnGroup = 300221;
constexpr int kBitmapGroup = 300222;
constexpr int kOutlineGroup = 300223;
constexpr int kKirnTypeCaption = 300224;
constexpr int kColumnSlots = 20;
constexpr int kSpareColumnWidth = 100;

using IntField = int FontTableRow::*;
using TextField = QString FontTableRow::*;

// The numbers of a bitmap font and of an outline font, by group.
const std::pair<const char*, IntField> kBitmapFields[] = {
    {"BMP Adjust Width", &FontTableRow::BMPAdjustWidth},
    {"BMP CAP Height", &FontTableRow::BMPCAPHeight},
    {"BMP Descender", &FontTableRow::BMPDescender},
    {"Cher Space", &FontTableRow::CharSpace},
};
const std::pair<const char*, IntField> kOutlineFields[] = {
    {"TrueType Adjust Width", &FontTableRow::TrueTypeAdjustWidth},
    {"TrueType Adjust Height", &FontTableRow::TrueTypeAdjustHeight},
    {"TrueType CAP Height", &FontTableRow::TrueTypeCAPHeight},
    {"TrueType Descender", &FontTableRow::TrueTypeDescender},
    {"TrueType Char Space", &FontTableRow::TrueTypeCaraSpace},
};

// The 17 cells of a row, in column order.
QStringList cellsOf(const FontTableRow& row)
{
    const auto n = [](int value) { return QString::number(value); };
    return {row.ZPLFontCode,         row.ZPLFontName,         row.ZPLFontType,          n(row.MinimunWidth),
            n(row.MinimumHeight),    row.KIRNFontType,        row.KIRNFontCode,         n(row.BMPAdjustWidth),
            n(row.BMPCAPHeight),     n(row.BMPDescender),     n(row.TrueTypeCAPHeight), n(row.TrueTypeDescender),
            n(row.TrueTypeAdjustWidth), n(row.TrueTypeAdjustHeight), n(row.CharSpace), n(row.TrueTypeCaraSpace),
            row.Drive};
}

// Name and font type on the left, the short codes and the drive centred, numbers on the right.
Qt::Alignment columnAlignment(int column)
{
    switch (column) {
    case 0:
    case 1:
        return Qt::AlignLeft | Qt::AlignVCenter;
    case 2:
    case 5:
    case 6:
    case 16:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignRight | Qt::AlignVCenter;
    }
}

// Column titles wider than their column end in an ellipsis (the window looks draw the titles
// themselves and would cut them at either side); the full title shows as the tip.
class ElidingHeader : public QHeaderView {
public:
    explicit ElidingHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

protected:
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override
    {
        QHeaderView::initStyleOptionForIndex(option, logicalIndex);
        const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, option, this);
        const int room = sectionSize(logicalIndex) - 2 * margin - 2;
        option->text = fontMetrics().elidedText(option->text, Qt::ElideRight, std::max(room, 0));
    }
};

}  // namespace

CFontConvertView::CFontConvertView(std::shared_ptr<InitialTableGroup> group, QWidget* parent)
    : InitialTablePage(std::move(group), InitialTableTab::FontTables,
                       {kRead, kSave, kGet, kDownload, kRestore, kFileNameField}, parent)
{
    setObjectName(QStringLiteral("FontConvertView"));
    binding_ = new PropertyBinding(&FindFontItem, [this](int id) { return text(id); }, this);
    buildControls();
    placeButtonsLastInTabOrder();
    restoreColumnWidths();
    this->group().Register(*this);
}

CFontConvertView::~CFontConvertView()
{
    QStringList widths;
    for (int column = 0; column < list_->columnCount(); ++column)
        widths << QString::number(list_->header()->sectionSize(column));
    app().store().writeString(QString::fromLatin1(settings::kListColumnWidth), widths.join(QLatin1Char(',')));
}

FontTableSet& CFontConvertView::tables() const { return group().document().fonts; }

const ItemDefinition* CFontConvertView::item(const char* name) const
{
    const PrinterDefinition* printer = group().printer();
    return printer ? FindFontItem(*printer, QString::fromLatin1(name)) : nullptr;
}

QWidget* CFontConvertView::control(const char* itemName) const { return binding_->widget(QString::fromLatin1(itemName)); }

QComboBox* CFontConvertView::kirnCodeBox() const { return static_cast<QComboBox*>(control("KIRNFontCode")); }

QPushButton* CFontConvertView::tableButton(Button id) const
{
    const auto found = tableButtons_.find(id);
    return found == tableButtons_.end() ? button(id) : found->second;
}

bool CFontConvertView::bitmapFieldsShown() const { return fieldGroups_->currentWidget() == bitmapGroup_; }

void CFontConvertView::buildControls()
{
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("FontTableList"));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setHeader(new ElidingHeader(list_));
    list_->header()->setStretchLastSection(false);
    list_->header()->setSectionsMovable(false);
    const QStringList titles = app().app().strings.list(kFirstColumnTitle);
    list_->setColumnCount(kColumnCount);
    auto* header = new QTreeWidgetItem;
    for (int column = 0; column < kColumnCount; ++column) {
        header->setText(column, titles.value(column));
        header->setToolTip(column, titles.value(column));
        header->setTextAlignment(column, columnAlignment(column));
    }
    list_->setHeaderItem(header);
    list_->setAccessibleName(text(text::kPageFontTables));
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &CFontConvertView::updateButtons);
    // From the keyboard: Enter modifies the chosen row (as a double-click does), Delete deletes it.
    connect(list_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        list_->setCurrentItem(item);
        OnModify();
    });
    new QShortcut(QKeySequence::Delete, list_, this, [this] { OnDelete(); }, Qt::WidgetShortcut);
    content()->addWidget(list_, 1);

    auto* tableRow = new QHBoxLayout;
    tableRow->setSpacing(8);
    const std::pair<Button, void (CFontConvertView::*)()> actions[] = {
        {kAdd, &CFontConvertView::OnAdd}, {kModify, &CFontConvertView::OnModify}, {kDelete, &CFontConvertView::OnDelete},
        {kRegister, nullptr},             {kCancel, &CFontConvertView::OnCancel},
    };
    for (const auto& [id, action] : actions) {
        if (id == kRegister)
            tableRow->addStretch(1);
        auto* button = new QPushButton(text(text::controlCaption(id)), this);
        button->setObjectName(QStringLiteral("Button%1").arg(id));
        button->setAutoDefault(false);
        if (action)
            connect(button, &QPushButton::clicked, this, action);
        else
            connect(button, &QPushButton::clicked, this, [this] { OnRegister(); });
        tableRow->addWidget(button);
        tableButtons_[id] = button;
    }
    content()->addLayout(tableRow);

    // The fields scroll sideways in a window too narrow for them; the list takes the rest of the
    // height, so the page keeps close spacing.
    content()->setSpacing(4);
    rowEditor_ = CreatePageScrollArea(QStringLiteral("FontRowArea"), this);
    rowEditor_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* area = new QWidget;
    area->setObjectName(QStringLiteral("FontRowFields"));
    rowEditor_->setWidget(area);
    content()->addWidget(rowEditor_);
    buildFields(area);
    // Escape in the fields leaves the edit, as Cancel does.
    new QShortcut(QKeySequence::Cancel, area, this, [this] { OnCancel(); }, Qt::WidgetWithChildrenShortcut);
    rowEditor_->installEventFilter(this);
    fitRowEditorHeight();
}

// As high as the fields, and the scroll bar only when the window is too narrow for them.
void CFontConvertView::fitRowEditorHeight()
{
    const QWidget* area = rowEditor_->widget();
    const bool scrolls = area->minimumSizeHint().width() > rowEditor_->width();
    const int height = area->sizeHint().height() + (scrolls ? rowEditor_->horizontalScrollBar()->sizeHint().height() : 0);
    if (rowEditor_->height() != height || rowEditor_->minimumHeight() != height)
        rowEditor_->setFixedHeight(height);
}

bool CFontConvertView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == rowEditor_ && event->type() == QEvent::Resize)
        fitRowEditorHeight();
    return InitialTablePage::eventFilter(watched, event);
}

void CFontConvertView::buildFields(QWidget* area)
{
    auto* columns = new QHBoxLayout(area);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(8);

    auto* zpl = new QGroupBox(text(kZplGroup), area);
    zpl->setObjectName(QStringLiteral("ZplFont"));
    auto* zplForm = compactForm();
    zpl->setLayout(zplForm);
    columns->addWidget(zpl, 0, Qt::AlignTop);

    auto* kirn = new QGroupBox(text(kKirnGroup), area);
    kirn->setObjectName(QStringLiteral("KirnFont"));
    auto* kirnForm = compactForm();
    kirn->setLayout(kirnForm);
    columns->addWidget(kirn, 0, Qt::AlignTop);

    // The bitmap and the outline corrections take the same place; one shows at a time.
    fieldGroups_ = new QStackedWidget(area);
    fieldGroups_->setObjectName(QStringLiteral("CorrectionFields"));
    auto* bitmap = new QGroupBox(text(kBitmapGroup), fieldGroups_);
    bitmap->setObjectName(QStringLiteral("BitmapFont"));
    auto* bitmapForm = compactForm();
    bitmap->setLayout(bitmapForm);
    auto* outline = new QGroupBox(text(kOutlineGroup), fieldGroups_);
    outline->setObjectName(QStringLiteral("OutlineFont"));
    auto* outlineForm = compactForm();
    outline->setLayout(outlineForm);
    fieldGroups_->addWidget(bitmap);
    fieldGroups_->addWidget(outline);
    bitmapGroup_ = bitmap;
    outlineGroup_ = outline;
    columns->addWidget(fieldGroups_, 0, Qt::AlignTop);
    columns->addStretch(1);

    declareRows(zplForm, kirnForm, bitmapForm, outlineForm, zpl, kirn, bitmap, outline);

    // Room for the longest font name the text form holds.
    if (QWidget* name = control("ZPLFontName"))
        name->setMinimumWidth(name->fontMetrics().horizontalAdvance(QString(22, QLatin1Char('0'))) + 12);
    if (auto* fontType = qobject_cast<QComboBox*>(control("KIRNFontType")))
        connect(fontType, &QComboBox::activated, this, &CFontConvertView::kirnTypeChosen);
    if (auto* capHeight = qobject_cast<SpinEdit*>(control("TrueType CAP Height")))
        connect(capHeight, &QSpinBox::textChanged, this, &CFontConvertView::followCapHeight);
    connect(kirnCodeBox(), &QComboBox::editTextChanged, this, &CFontConvertView::updateButtons);
}

void CFontConvertView::declareRows(QFormLayout* zpl, QFormLayout* kirn, QFormLayout* bitmap, QFormLayout* outline,
                                   QWidget* zplParent, QWidget* kirnParent, QWidget* bitmapParent,
                                   QWidget* outlineParent)
{
    // The captions are those of the controls, by their ids; the KIRN font type's has a number of
    // its own (the download page's control of that id has another caption).
    const auto number = [this](const char* name, int id, IntField field) {
        return PropertyRow{QString::fromLatin1(name), PropertyKind::Number, text::controlCaption(id),
                           [this, field] { return QVariant(editRow_.*field); },
                           [this, field](const QVariant& v) { editRow_.*field = v.toInt(); }};
    };
    const auto textRow = [this](const char* name, int id, TextField field, PropertyKind kind) {
        return PropertyRow{QString::fromLatin1(name), kind, text::controlCaption(id),
                           [this, field] { return QVariant(editRow_.*field); },
                           [this, field](const QVariant& v) { editRow_.*field = v.toString(); }};
    };
    // A list holds the display text of its entry.
    const auto list = [this](const char* name, int caption, TextField field) {
        return PropertyRow{QString::fromLatin1(name), PropertyKind::List, caption,
                           [this, name, field] {
                               const ItemDefinition* entry = item(name);
                               return QVariant(entry ? IndexOfText(*entry, editRow_.*field) : -1);
                           },
                           [this, name, field](const QVariant& v) {
                               const ItemDefinition* entry = item(name);
                               const int index = v.toInt();
                               editRow_.*field = entry && index >= 0 && index < entry->list.size()
                                                     ? entry->list[index].text
                                                     : QString();
                           }};
    };
    const PropertyRow zplRows[] = {
        textRow("ZPLFontCode", 6308, &FontTableRow::ZPLFontCode, PropertyKind::Text),
        textRow("ZPLFontName", 6301, &FontTableRow::ZPLFontName, PropertyKind::Text),
        list("ZPLFontType", text::controlCaption(6341), &FontTableRow::ZPLFontType),
        number("Minimun Width", 6302, &FontTableRow::MinimunWidth),
        number("Minimum Height", 6303, &FontTableRow::MinimumHeight),
    };
    const PropertyRow kirnRows[] = {
        list("KIRNFontType", kKirnTypeCaption, &FontTableRow::KIRNFontType),
        textRow("KIRNFontCode", 6343, &FontTableRow::KIRNFontCode, PropertyKind::EditableList),
        list("Storage", text::controlCaption(6344), &FontTableRow::Drive),
    };
    const PropertyRow bitmapRows[] = {
        number("BMP Adjust Width", 6304, &FontTableRow::BMPAdjustWidth),
        number("BMP CAP Height", 6305, &FontTableRow::BMPCAPHeight),
        number("BMP Descender", 6307, &FontTableRow::BMPDescender),
        number("Cher Space", 6306, &FontTableRow::CharSpace),
    };
    const PropertyRow outlineRows[] = {
        number("TrueType Adjust Width", 6309, &FontTableRow::TrueTypeAdjustWidth),
        number("TrueType Adjust Height", 6310, &FontTableRow::TrueTypeAdjustHeight),
        number("TrueType CAP Height", 6311, &FontTableRow::TrueTypeCAPHeight),
        number("TrueType Descender", 6312, &FontTableRow::TrueTypeDescender),
        number("TrueType Char Space", 6313, &FontTableRow::TrueTypeCaraSpace),
    };
    // The groups share captions ("Width" in both corrections): their titles tell them apart.
    binding_->addRows(zpl, zplRows, zplParent, text(kZplGroup));
    binding_->addRows(kirn, kirnRows, kirnParent, text(kKirnGroup));
    binding_->addRows(bitmap, bitmapRows, bitmapParent, text(kBitmapGroup));
    binding_->addRows(outline, outlineRows, outlineParent, text(kOutlineGroup));
}

QList<int> CFontConvertView::ColumnWidthsFrom(const QString& stored)
{
    QList<int> widths;
    if (stored.isEmpty()) {
        for (int slot = 0; slot < kColumnSlots; ++slot)
            widths << (slot < 5 ? 75 : slot == 5 ? 100 : slot < 16 ? 75 : slot == 16 ? 120 : kSpareColumnWidth);
        return widths;
    }
    const QStringList fields = stored.split(QLatin1Char(','));
    for (int slot = 0; slot < kColumnSlots; ++slot) {
        const int width = slot < fields.size() ? fields[slot].trimmed().toInt() : 0;
        widths << (width < 1 ? kSpareColumnWidth : width);
    }
    return widths;
}

void CFontConvertView::restoreColumnWidths()
{
    const QList<int> widths =
        ColumnWidthsFrom(app().store().readString(QString::fromLatin1(settings::kListColumnWidth), QString()));
    for (int column = 0; column < kColumnCount; ++column)
        list_->header()->resizeSection(column, widths[column]);
}

void CFontConvertView::fillList()
{
    list_->clear();
    QList<QTreeWidgetItem*> items;
    for (const FontTableRow& row : tables().rows) {
        auto* entry = new QTreeWidgetItem(cellsOf(row));
        for (int column = 0; column < kColumnCount; ++column)
            entry->setTextAlignment(column, columnAlignment(column));
        items << entry;
    }
    list_->addTopLevelItems(items);
}

void CFontConvertView::SetUpForPrinter(const PrinterDefinition* printer)
{
    binding_->configure(printer);
    for (const char* readOnly : {"ZPLFontCode", "TrueType Descender"}) {
        if (auto* edit = qobject_cast<QLineEdit*>(control(readOnly)))
            edit->setReadOnly(true);
        if (auto* spin = qobject_cast<QSpinBox*>(control(readOnly))) {
            spin->setReadOnly(true);
            spin->setButtonSymbols(QAbstractSpinBox::NoButtons);
        }
    }
    enableDocumentButtons(printer != nullptr);
    if (isVisible())
        binding_->alignWidths();
    ShowDocument();
}

void CFontConvertView::showEvent(QShowEvent* event)
{
    binding_->alignWidths();
    InitialTablePage::showEvent(event);
}

void CFontConvertView::ShowDocument()
{
    fillList();
    const PrinterDefinition* printer = group().printer();
    loadFields(printer ? NewFontRow(*printer) : FontTableRow{});
    target_ = -1;
    setEditing(false);
}

void CFontConvertView::ResetFontTables()
{
    const PrinterDefinition* printer = group().printer();
    tables() = printer ? DefaultFontTables(*printer) : FontTableSet{};
    ShowDocument();
    group().ClearChanged(tab());
}

void CFontConvertView::OnRestoreDefaults()
{
    if (!askRestore(kRestoreQuestion))
        return;
    ResetFontTables();
    group().ClearFilePath();
}

void CFontConvertView::loadFields(const FontTableRow& row)
{
    editRow_ = row;
    binding_->load();
    fillKirnCodes(row.KIRNFontType, row.KIRNFontCode);
    showFieldGroup(row.KIRNFontType);
}

void CFontConvertView::fillKirnCodes(const QString& type, const QString& code)
{
    QComboBox* box = kirnCodeBox();
    {
        const QSignalBlocker blocker(box);
        box->clear();
        box->addItems(tables().kirnCodesOf(type));
        int index = code.isNull() ? -1 : box->findText(code);
        if (index < 0 && !code.isNull())
            index = box->findText(code.trimmed());
        box->setCurrentIndex(index < 0 && box->count() > 0 ? 0 : index);
    }
    updateButtons();
}

void CFontConvertView::showFieldGroup(const QString& type)
{
    shownType_ = type;
    fieldGroups_->setCurrentWidget(IsBitmapFontType(type) ? bitmapGroup_ : outlineGroup_);
}

void CFontConvertView::kirnTypeChosen(int)
{
    const QString previous = shownType_;
    for (const auto& property : binding_->properties())
        property->commit();
    const QString type = editRow_.KIRNFontType;
    // The group that goes out of sight goes back to its defaults.
    if (const PrinterDefinition* printer = group().printer(); printer && IsBitmapFontType(type) != IsBitmapFontType(previous)) {
        const FontTableRow defaults = NewFontRow(*printer);
        if (IsBitmapFontType(type)) {
            for (const auto& [name, field] : kOutlineFields)
                editRow_.*field = defaults.*field;
        } else {
            for (const auto& [name, field] : kBitmapFields)
                editRow_.*field = defaults.*field;
        }
    }
    binding_->load();
    fillKirnCodes(type, QString());
    showFieldGroup(type);
}

void CFontConvertView::followCapHeight()
{
    auto* capHeight = qobject_cast<SpinEdit*>(control("TrueType CAP Height"));
    auto* descender = qobject_cast<SpinEdit*>(control("TrueType Descender"));
    int cap = 0;
    if (!capHeight || !descender || !capHeight->readNumber(cap))
        return;
    const int value = OutlineDescender(cap);
    descender->setRange(std::min(descender->minimum(), value), std::max(descender->maximum(), value));
    descender->setValue(value);
}

int CFontConvertView::selectedRow() const
{
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    return selected.isEmpty() ? -1 : list_->indexOfTopLevelItem(selected.first());
}

void CFontConvertView::setEditing(bool editing)
{
    editing_ = editing;
    for (const auto& property : binding_->properties())
        property->widget()->setEnabled(editing && property->isConfigured());
    updateButtons();
}

void CFontConvertView::updateButtons()
{
    const bool known = group().printer() != nullptr;
    const int selected = selectedRow();
    const QString code = kirnCodeBox()->currentText().trimmed();
    list_->setEnabled(!editing_);
    tableButtons_[kAdd]->setEnabled(known && !editing_ && tables().canAddRow());
    tableButtons_[kModify]->setEnabled(known && !editing_ && selected >= 0);
    tableButtons_[kDelete]->setEnabled(known && !editing_ && tables().isChangeRow(selected));
    tableButtons_[kRegister]->setEnabled(editing_ && !code.isEmpty() && code.size() <= 2);
    tableButtons_[kCancel]->setEnabled(editing_);
}

void CFontConvertView::OnAdd()
{
    const PrinterDefinition* printer = group().printer();
    if (editing_ || !printer || !tables().canAddRow())
        return;
    target_ = -1;
    loadFields(NewFontRow(*printer));
    setEditing(true);
    if (QWidget* name = control("ZPLFontName"))
        name->setFocus(Qt::OtherFocusReason);
}

void CFontConvertView::OnModify()
{
    const int selected = selectedRow();
    if (editing_ || selected < 0 || selected >= tables().rows.size())
        return;
    target_ = selected;
    loadFields(tables().rows[selected]);
    setEditing(true);
    if (QWidget* name = control("ZPLFontName"))
        name->setFocus(Qt::OtherFocusReason);
}

bool CFontConvertView::OnRegister()
{
    const PrinterDefinition* printer = group().printer();
    if (!editing_ || !printer)
        return false;
    Property* unreadable = nullptr;
    for (const auto& property : binding_->properties()) {
        if (!property->commit() && !unreadable)
            unreadable = property.get();
    }
    if (unreadable) {
        unreadable->widget()->setFocus(Qt::OtherFocusReason);
        app().ShowMessage(QMessageBox::Warning, text(strings::kEnterInteger), QMessageBox::Ok);
        return false;
    }
    const std::optional<FontRowFailure> failure =
        RegisterFontRow(tables(), *printer, editRow_, target_, app().app().strings);
    if (failure) {
        if (QWidget* field = binding_->widget(failure->itemName))
            field->setFocus(Qt::OtherFocusReason);
        if (!failure->message.isEmpty())
            app().ShowMessage(QMessageBox::Warning, failure->message, QMessageBox::Ok);
        return false;
    }
    const int registered = target_ >= 0 ? target_ : int(tables().rows.size()) - 1;
    group().MarkChanged(tab());
    fillList();
    target_ = -1;
    setEditing(false);
    returnToList(registered);
    return true;
}

void CFontConvertView::OnCancel()
{
    const int row = target_;
    list_->clearSelection();
    target_ = -1;
    setEditing(false);
    returnToList(row);
}

void CFontConvertView::OnDelete()
{
    const int row = selectedRow();
    if (editing_ || !DeleteFontRow(tables(), row))
        return;
    group().MarkChanged(tab());
    fillList();
    setEditing(false);
    returnToList(std::min(row, int(tables().rows.size()) - 1));
}

void CFontConvertView::returnToList(int row)
{
    // The row becomes the keyboard's place without being chosen (the list was filled again and
    // nothing is chosen): Modify and Delete wait until the user chooses a row.
    if (QTreeWidgetItem* item = list_->topLevelItem(row))
        list_->selectionModel()->setCurrentIndex(list_->indexFromItem(item), QItemSelectionModel::NoUpdate);
    if (isVisible())
        list_->setFocus(Qt::OtherFocusReason);
}

}  // namespace vormex::gui
