#include "gui/pages/SystemSettingView.h"

#include "definitions/Lookups.h"
#include "gui/application/VORMEXSettingToolApp.h"
#include "gui/binding/AccessibleNames.h"
#include "gui/binding/GuiStrings.h"
#include "gui/dialogs/FileDownloadProc.h"
#include "gui/pages/DocumentActions.h"
#include "gui/pages/DocumentRows.h"
#include "gui/widgets/PageScrollArea.h"
#include "gui/widgets/PageTitle.h"
#include "pages/SystemSettingsModel.h"
#include "sysparam/SystemParameterFiles.h"
#include "sysparam/SystemParameterLine.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace vormex::gui {
namespace {

constexpr int kPageTitle = 206100;
constexpr int kCodeGroup = 300100;
constexpr int kCommandGroup = 300101;
constexpr int kItemMissing = 300103;
constexpr int kPrinterMissing = 300104;
constexpr int kFileNameCaption = 106181;
constexpr int kSaveChangesQuestion = 8039;
constexpr int kRestoreQuestion = 8110;
constexpr int kNotAnInteger = 61712;
constexpr int kFileFilter = 820;

// Set-up groups: a printer lacking one of the check boxes or lists leaves the rest of its group
// empty, as the page's set-up stops there.
constexpr int kCheckBoxGroup = 1;
constexpr int kListGroup = 2;

}  // namespace

CSystemSettingView::CSystemSettingView(CVORMEXSettingToolApp& app, QWidget* parent) : QWidget(parent), app_(app)
{
    binding_ = new PropertyBinding(&FindSystemItem, [&app](int id) { return app.text(id); }, this);
    connect(binding_, &PropertyBinding::edited, this, [this] { modified_ = true; });
    buildControls();
    ApplyPrinterDefinitions(app.app().selectedPrinterName);
}

CSystemSettingView::~CSystemSettingView() = default;

QString CSystemSettingView::text(int id) const { return app_.text(id); }

const PrinterDefinition* CSystemSettingView::printer() const
{
    return FindPrinter(app_.app().printerDefinitions, printerName_);
}

void CSystemSettingView::declareRows(const Sections& sections)
{
    using Field = MaskedText SystemParameterSet::*;
    const auto masked = [this](const char* item, int id, Field field, PropertyOptions options = {}) {
        return PropertyRow{QString::fromLatin1(item), PropertyKind::MaskedEdit, text::controlCaption(id),
                           [this, field] { return QVariant((set_.*field).displayText()); },
                           [this, field](const QVariant& v) { (set_.*field).setText(v.toString()); }, options};
    };
    const auto list = [this](SystemList which, int id) {
        return PropertyRow{SystemListItemName(which), PropertyKind::List, text::controlCaption(id),
                           [this, which] { return QVariant(set_.selected(which)); },
                           [this, which](const QVariant& v) { set_.selected(which) = v.toInt(); }, {}, kListGroup};
    };
    const auto box = [this](SystemSwitch which, int id) {
        return PropertyRow{SystemSwitchItemName(which), PropertyKind::CheckBox, text::controlCaption(id),
                           [this, which] { return QVariant(set_.isTicked(which)); },
                           [this, which](const QVariant& v) { set_.isTicked(which) = v.toBool(); }, {}, kCheckBoxGroup};
    };
    PropertyOptions hex;
    hex.placeholder = QLatin1Char('0');
    hex.useValidChars = true;
    PropertyOptions signedLength;
    signedLength.useValidChars = true;

    const PropertyRow leftRows[] = {
        masked("LABEL LENGTH", 6101, &SystemParameterSet::labelLength),
        masked("LABEL WIDTH", 6102, &SystemParameterSet::labelWidth),
        list(SystemList::Ribbon, 6141),
        list(SystemList::PrintMode, 6142),
        list(SystemList::Sensor, 6143),
        list(SystemList::PrintSpeed, 6144),
        masked("MAXIMUM LENGTH", 6103, &SystemParameterSet::maximumLength),
        list(SystemList::PowerOnCalib, 6145),
        list(SystemList::HeadCloseCalib, 6146),
        list(SystemList::DotMm, 6147),
        list(SystemList::FormatConvert, 6148),
        list(SystemList::GraphicPosition, 6149),
        PropertyRow{QStringLiteral("TAB->SP"), PropertyKind::Number, text::controlCaption(6107),
                    [this] { return QVariant(set_.tabSpaces); }, [this](const QVariant& v) { set_.tabSpaces = v.toInt(); }},
    };
    const PropertyRow codeRows[] = {
        masked("CONTROL PREFIX", 6104, &SystemParameterSet::controlPrefix, hex),
        masked("FORMAT PREFIX", 6105, &SystemParameterSet::formatPrefix, hex),
        masked("DELIMITER CHAR", 6106, &SystemParameterSet::delimiterChar, hex),
    };
    const PropertyRow commandRows[] = {
        box(SystemSwitch::LabelSize, 6164), box(SystemSwitch::LabelType, 6165), box(SystemSwitch::MediaType, 6166),
        box(SystemSwitch::ToneAdjSd, 6167), box(SystemSwitch::ToneAdjMd, 6168),
    };
    const PropertyRow rightRows[] = {
        masked("RFID ADJUST", 6108, &SystemParameterSet::rfidAdjust, signedLength),
        list(SystemList::OffsetPrint, 6150),
        masked("LABEL SHIFT", 6109, &SystemParameterSet::labelShift),
    };
    // The order of the calls is the set-up order of the check boxes and of the lists.
    binding_->addRows(sections.left, leftRows, sections.items);
    binding_->addRows(sections.codes, codeRows, sections.codeGroup);
    binding_->addRows(sections.commands, commandRows, sections.commandGroup);
    binding_->addRows(sections.right, rightRows, sections.items);
}

void CSystemSettingView::buildControls()
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(24, 16, 24, 12);
    outer->setSpacing(8);
    outer->addWidget(CreatePageTitle(text(kPageTitle), this));

    missingPrinter_ = new QLabel(this);
    missingPrinter_->setObjectName(QStringLiteral("MissingPrinter"));
    missingPrinter_->setStyleSheet(QStringLiteral("color: #a03020;"));
    missingPrinter_->hide();
    outer->addWidget(missingPrinter_);

    // The items, in two columns; the area scrolls when the window is too small for them. The
    // frame is laid out before the rows are added, so every widget is made with its final parent
    // (moving widgets under the styled frame would set each of them up twice).
    QScrollArea* scroll = CreatePageScrollArea(QStringLiteral("ParameterArea"), this);
    auto* items = new QWidget;
    items->setObjectName(QStringLiteral("Parameters"));
    scroll->setWidget(items);
    outer->addWidget(scroll, 1);
    auto* columns = new QHBoxLayout(items);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(28);

    Sections sections;
    auto* leftColumn = new QVBoxLayout;
    columns->addLayout(leftColumn);
    sections.left = CreateItemForm(10, 6);
    leftColumn->addLayout(sections.left);
    leftColumn->addStretch(1);

    auto* rightColumn = new QVBoxLayout;
    rightColumn->setSpacing(8);
    columns->addLayout(rightColumn);
    columns->addStretch(1);
    sections.codeGroup = new QGroupBox(text(kCodeGroup), items);
    sections.codeGroup->setObjectName(QStringLiteral("CodeSettings"));
    sections.codes = CreateItemForm(10, 6);
    sections.codeGroup->setLayout(sections.codes);
    rightColumn->addWidget(sections.codeGroup);
    sections.commandGroup = new QGroupBox(text(kCommandGroup), items);
    sections.commandGroup->setObjectName(QStringLiteral("EnabledCommands"));
    sections.commands = CreateItemForm(10, 6);
    sections.commandGroup->setLayout(sections.commands);
    rightColumn->addWidget(sections.commandGroup);
    sections.right = CreateItemForm(10, 6);
    rightColumn->addLayout(sections.right);
    rightColumn->addStretch(1);
    sections.items = items;
    declareRows(sections);

    fileName_ = AddFileNameRow(outer, text(kFileNameCaption), this);

    const auto caption = [this](Button id) { return text(text::controlCaption(id)); };
    const auto run = [this](void (CSystemSettingView::*action)()) { return [this, action] { (this->*action)(); }; };
    buttons_ = AddButtonRow(outer,
                            {{kRead, caption(kRead), run(&CSystemSettingView::OnReadFile)},
                             {kSave, caption(kSave), run(&CSystemSettingView::OnSaveFile)},
                             {kGet, caption(kGet), run(&CSystemSettingView::OnGetFromPrinter)},
                             {kDownload, caption(kDownload), run(&CSystemSettingView::OnDownload)},
                             {kRestore, caption(kRestore), run(&CSystemSettingView::OnRestoreDefaults)}},
                            this);
}

QWidget* CSystemSettingView::control(const char* itemName) const { return binding_->widget(QString::fromLatin1(itemName)); }

void CSystemSettingView::ApplyPrinterDefinitions(const QString& printerName)
{
    printerName_ = printerName;
    const PrinterDefinition* entry = printer();
    currentFileName_.clear();
    showFileName();
    set_ = entry ? DefaultSystemParameters(*entry) : SystemParameterSet{};
    binding_->configure(entry);
    binding_->load();
    if (isVisible())
        binding_->alignWidths();
    modified_ = false;

    missingPrinter_->setText(entry ? QString() : text(kPrinterMissing).arg(printerName));
    missingPrinter_->setVisible(!entry);
    for (const auto& [id, button] : buttons_)
        button->setEnabled(entry != nullptr);
}

void CSystemSettingView::OnPrinterChanged(const QString& printerName) { ApplyPrinterDefinitions(printerName); }

void CSystemSettingView::showEvent(QShowEvent* event)
{
    binding_->alignWidths();
    QWidget::showEvent(event);
}

const SystemParameterSet& CSystemSettingView::parameters()
{
    binding_->commit();
    return set_;
}

bool CSystemSettingView::ValidateRanges() { return checkRanges(RangeUse::Leave); }

bool CSystemSettingView::checkRanges(RangeUse use)
{
    if (Property* failed = binding_->commit()) {
        app_.ShowMessage(QMessageBox::Warning, text(kNotAnInteger), QMessageBox::Ok);
        failed->widget()->setFocus(Qt::OtherFocusReason);
        return false;
    }
    const PrinterDefinition* entry = printer();
    if (!entry) {
        // Nothing to check and nothing to keep: the page may be left, but not saved or sent.
        if (use == RangeUse::SaveOrSend)
            ShowPrinterMissing(app_, printerName_);
        return use == RangeUse::Leave;
    }
    const std::optional<RangeFailure> failure = vormex::ValidateRanges(set_, *entry, app_.app().strings);
    if (!failure)
        return true;
    if (failure->message.isEmpty()) {
        // The printer lacks one of the checked items: the values cannot be checked, so they are
        // neither saved nor sent; leaving stays possible, or the page would hold the user forever.
        if (use == RangeUse::SaveOrSend)
            app_.ShowMessage(QMessageBox::Warning, text(kItemMissing).arg(printerName_, failure->itemName), QMessageBox::Ok);
        return use == RangeUse::Leave;
    }
    const bool spin = failure->itemName == QLatin1String("TAB->SP");
    if (QWidget* widget = binding_->widget(failure->itemName))
        widget->setFocus(Qt::OtherFocusReason);
    app_.ShowMessage(spin ? QMessageBox::Warning : QMessageBox::Critical, failure->message, QMessageBox::Ok);
    return false;
}

bool CSystemSettingView::ConfirmSaveChanges()
{
    if (!modified_)
        return true;
    const QMessageBox::StandardButton answer =
        app_.ShowMessage(QMessageBox::Warning, text(kSaveChangesQuestion), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::No) {
        modified_ = false;
        return true;
    }
    if (answer != QMessageBox::Yes || !checkRanges(RangeUse::SaveOrSend))
        return false;
    const QString path = askForFile(true);
    return !path.isEmpty() && SaveFile(path);
}

QString CSystemSettingView::askForFile(bool save)
{
    return AskForParameterFile(app_, this, save, currentFileName_, kFileFilter);
}

void CSystemSettingView::showFileName()
{
    ShowFileName(*fileName_, currentFileName_);
}

void CSystemSettingView::OnReadFile()
{
    if (!ConfirmSaveChanges())
        return;
    const QString path = askForFile(false);
    if (!path.isEmpty())
        ReadFile(path);
}

bool CSystemSettingView::ReadFile(const QString& path)
{
    const PrinterDefinition* entry = printer();
    if (!entry) {
        ShowPrinterMissing(app_, printerName_);
        return false;
    }
    Application& app = app_.app();
    const LineResult read = ReadSystemParameterFile(path, *entry, app.printerDefinitions, app.parameterCheck, app.strings);
    if (!read.ok()) {
        ShowReadFailure(app_, path, read.fileError, read.error);
        return false;
    }
    ParseSystemParameterLine(read.line, *entry, set_);
    binding_->load();
    currentFileName_ = path;
    showFileName();
    modified_ = false;
    return true;
}

void CSystemSettingView::OnSaveFile()
{
    if (!checkRanges(RangeUse::SaveOrSend))
        return;
    const QString path = askForFile(true);
    if (!path.isEmpty())
        SaveFile(path);
}

bool CSystemSettingView::SaveFile(const QString& path)
{
    const PrinterDefinition* entry = printer();
    if (!entry)
        return false;
    binding_->commit();
    const Application& app = app_.app();
    const XmlHeaderInfo header{app.selectedPrinterName, app.japaneseUi == 1};
    if (const std::optional<QString> error = WriteSystemParameterFile(path, set_, *entry, header)) {
        ShowWriteFailure(app_, path, *error);
        return false;
    }
    currentFileName_ = path;
    showFileName();
    modified_ = false;
    return true;
}

void CSystemSettingView::OnGetFromPrinter()
{
    if (!ConfirmSaveChanges())
        return;
    modified_ = false;
    const PrinterDefinition* entry = printer();
    if (!entry)
        return;
    const std::optional<QString> got = GetParameterFileFromPrinter(
        app_, this, text(kPageTitle), ParameterFileKind::SystemParameters, WorkFileKind::GetSystemParam, *entry);
    if (!got)
        return;
    currentFileName_.clear();
    showFileName();
    ParseSystemParameterLine(*got, *entry, set_);
    binding_->load();
    // The values come from the printer and no file holds them yet.
    modified_ = true;
}

void CSystemSettingView::OnDownload()
{
    if (!checkRanges(RangeUse::SaveOrSend))
        return;
    const PrinterDefinition* entry = printer();
    const Application& app = app_.app();
    const ParameterDownloadSetup setup = PrepareSystemParameterDownload(set_, *entry, app.controlCodes, app.strings);
    if (!setup.ok()) {
        app_.ShowMessage(QMessageBox::Warning, setup.error, QMessageBox::Ok);
        return;
    }
    if (!KeepWorkFile(app_, WorkFileKind::SystemParam, setup.request.envelope))
        return;
    CFileDownloadProc dialog(app_, setup, this);
    dialog.exec();
}

void CSystemSettingView::OnRestoreDefaults()
{
    if (app_.ShowMessage(QMessageBox::Warning, text(kRestoreQuestion), QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes)
        ApplyPrinterDefinitions(app_.app().selectedPrinterName);
}

}  // namespace vormex::gui
