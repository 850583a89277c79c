#include "gui/pages/ParamSettingView.h"

#include "base/StringIds.h"
#include "definitions/Lookups.h"
#include "gui/application/VORMEXSettingToolApp.h"
#include "gui/binding/AccessibleNames.h"
#include "gui/binding/GuiStrings.h"
#include "gui/widgets/PageScrollArea.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

#include <climits>

namespace vormex::gui {
namespace {

constexpr int kRestoreQuestion = 8111;
constexpr int kFileNameField = 6281;

// Headings of the command groups.
enum Heading {
    kBarcode = 300200, kField, kSerialization, kUnit, kFieldBlock, kGraphic, kDarkness, kCodePage, kLabel, kPrint,
    kPcSaveArea, kGetcmdzb,
};

using V = InitialValue;

}  // namespace

CParamSettingView::CParamSettingView(std::shared_ptr<InitialTableGroup> group, QWidget* parent)
    : InitialTablePage(std::move(group), InitialTableTab::InitialValues,
                       {kRead, kSave, kGet, kDownload, kRestore, kFileNameField}, parent)
{
    setObjectName(QStringLiteral("ParamSettingView"));
    binding_ = new PropertyBinding(&FindInitialItem, [this](int id) { return text(id); }, this);
    connect(binding_, &PropertyBinding::edited, this, [this] { this->group().MarkChanged(tab()); });
    buildControls();
    placeButtonsLastInTabOrder();
    this->group().Register(*this);
}

CParamSettingView::~CParamSettingView() = default;

InitialValueSet& CParamSettingView::values() const { return group().document().values; }

QWidget* CParamSettingView::control(const char* itemName) const { return binding_->widget(QString::fromLatin1(itemName)); }

void CParamSettingView::buildControls()
{
    // The three columns scroll when the window is too small for them; the widgets are made
    // under their final parent.
    QScrollArea* scroll = CreatePageScrollArea(QStringLiteral("InitialValueArea"), this);
    auto* items = new QWidget;
    items->setObjectName(QStringLiteral("InitialValues"));
    scroll->setWidget(items);
    content()->addWidget(scroll, 1);
    auto* columns = new QHBoxLayout(items);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(16);

    const auto number = [this](V value, int id) {
        return PropertyRow{InitialValueItemName(value), PropertyKind::Number, text::controlCaption(id),
                           [this, value] { return QVariant(int(values().number(value))); },
                           [this, value](const QVariant& v) { values().number(value) = v.toInt(); }};
    };
    const auto list = [this](V value, int id) {
        return PropertyRow{InitialValueItemName(value), PropertyKind::List, text::controlCaption(id),
                           [this, value] { return QVariant(values().selected(value)); },
                           [this, value](const QVariant& v) { values().selected(value) = v.toInt(); }};
    };
    const PropertyRow ratio{InitialValueItemName(V::Ratio), PropertyKind::MaskedEdit, text::controlCaption(6203),
                            [this] { return QVariant(values().ratio.displayText()); },
                            [this](const QVariant& v) { values().ratio.setText(v.toString()); }};
    PropertyOptions signedDigits;
    signedDigits.textPattern = QRegularExpression(QStringLiteral("[+-]?[0-9]*"));
    signedDigits.description = RangeDescription([this](int id) { return text(id); }, QString::number(-kIncDecLimit),
                                                 QString::number(kIncDecLimit));
    const PropertyRow incDec{InitialValueItemName(V::IncDec), PropertyKind::Text, text::controlCaption(6205),
                             [this] { return QVariant(QString::number(values().number(V::IncDec))); },
                             [this](const QVariant& v) {
                                 const QString typed = v.toString().trimmed();
                                 static const QRegularExpression integer(QStringLiteral("^[+-]?[0-9]+$"));
                                 incDecUnreadable_ = !integer.match(typed).hasMatch();
                                 if (incDecUnreadable_)
                                     return;
                                 bool ok = false;
                                 qint64 parsed = typed.toLongLong(&ok);
                                 // Beyond 64 bits is beyond the ten digits as well.
                                 if (!ok)
                                     parsed = typed.startsWith(QLatin1Char('-')) ? LLONG_MIN : LLONG_MAX;
                                 values().number(V::IncDec) = parsed;
                             },
                             signedDigits};
    // The box is ticked when zero suppression is chosen, the flag 0.
    const PropertyRow zeroSuppress{InitialValueItemName(V::ZeroSuppress), PropertyKind::CheckBox,
                                   text::controlCaption(6264),
                                   [this] { return QVariant(values().number(V::ZeroSuppress) == 0); },
                                   [this](const QVariant& v) { values().number(V::ZeroSuppress) = v.toBool() ? 0 : 1; }};

    struct Group {
        Heading heading;
        std::vector<PropertyRow> rows;
    };
    const std::vector<std::vector<Group>> layout = {
        {
            {kBarcode, {number(V::BarcodeHeight, 6201), number(V::ModuleSize, 6202), ratio}},
            {kField, {list(V::Rotation, 6241), number(V::CharGap, 6204)}},
            {kSerialization, {incDec, zeroSuppress}},
            {kUnit, {list(V::Unit, 6242)}},
            {kCodePage, {number(V::CharSet, 6212)}},
        },
        {
            {kFieldBlock,
             {number(V::RectWidth, 6206), number(V::NumLine, 6207), number(V::LineMargin, 6208), list(V::Align, 6243),
              number(V::AdjustXPos, 6209)}},
            {kGraphic, {number(V::LineWidth, 6210)}},
            {kDarkness, {number(V::DensAdjust, 6211)}},
            {kPrint, {number(V::IssueCount, 6218), number(V::CutInterval, 6219)}},
        },
        {
            {kLabel,
             {number(V::HomeXPos, 6213), number(V::HomeYPos, 6214), number(V::LabelShift, 6215),
              list(V::RotationMirror, 6244), number(V::YOffset, 6216), number(V::FeedAdjust, 6217)}},
            {kPcSaveArea, {number(V::PcSaveArea, 6220)}},
            {kGetcmdzb, {list(V::Getcmdzb, 6245)}},
        },
    };
    for (const std::vector<Group>& groups : layout) {
        auto* column = new QVBoxLayout;
        QFormLayout* form = CreateItemForm();
        column->addLayout(form);
        column->addStretch(1);
        columns->addLayout(column);
        for (const Group& group : groups) {
            auto* heading = new QLabel(text(group.heading), items);
            heading->setObjectName(QStringLiteral("Heading%1").arg(int(group.heading)));
            QFont font = heading->font();
            font.setBold(true);
            heading->setFont(font);
            if (form->rowCount() > 0)
                heading->setContentsMargins(0, 6, 0, 0);
            form->addRow(heading);
            binding_->addRows(form, group.rows, items);
        }
    }
    columns->addStretch(1);
}

void CParamSettingView::configure(const PrinterDefinition* printer)
{
    binding_->configure(printer);
    // Label Shift is shown as the definitions or a file give it, never edited.
    if (QWidget* labelShift = control("Label Shift")) {
        labelShift->setEnabled(false);
        for (QLabel* label : findChildren<QLabel*>()) {
            if (label->buddy() == labelShift)
                label->setEnabled(false);
        }
    }
    if (isVisible())
        binding_->alignWidths();
    enableDocumentButtons(printer != nullptr);
}

void CParamSettingView::SetUpForPrinter(const PrinterDefinition* printer)
{
    configure(printer);
    ShowDocument();
}

void CParamSettingView::ShowDocument()
{
    binding_->load();
    incDecUnreadable_ = false;
}

void CParamSettingView::FillInitialValueDefaults()
{
    const PrinterDefinition* printer = group().printer();
    values() = printer ? DefaultInitialValues(*printer) : InitialValueSet{};
    configure(printer);
    ShowDocument();
    group().ClearChanged(tab());
}

void CParamSettingView::showEvent(QShowEvent* event)
{
    binding_->alignWidths();
    InitialTablePage::showEvent(event);
}

void CParamSettingView::CommitPage()
{
    unreadable_.clear();
    for (const auto& property : binding_->properties()) {
        if (!property->commit())
            unreadable_.insert(property->itemName());
    }
}

std::optional<PageProblem> CParamSettingView::CheckPage(bool)
{
    CommitPage();
    const PrinterDefinition* printer = group().printer();
    if (!printer)
        return std::nullopt;
    const auto notAnInteger = [this](InitialValue value) {
        return value == V::IncDec ? incDecUnreadable_ : unreadable_.count(InitialValueItemName(value)) > 0;
    };
    const std::optional<InitialValueFailure> failure =
        ValidateInitialValues(values(), *printer, app().app().strings, notAnInteger);
    if (!failure)
        return std::nullopt;
    // The framework's integer messages carry its warning; the range messages of the ratio and
    // "INC/DEC" the error icon.
    const bool framework = failure->messageId == strings::kEnterInteger || failure->messageId == strings::kEnterIntegerInRange;
    return PageProblem{binding_->widget(InitialValueItemName(failure->value)),
                       framework ? QMessageBox::Warning : QMessageBox::Critical, failure->message};
}

void CParamSettingView::OnRestoreDefaults()
{
    if (!askRestore(kRestoreQuestion))
        return;
    group().ClearFilePath();
    FillInitialValueDefaults();
}

}  // namespace vormex::gui
