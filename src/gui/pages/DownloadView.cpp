#include "gui/pages/DownloadView.h"

#include "app/ApplicationContext.h"
#include "definitions/Lookups.h"
#include "download/FirmwareImage.h"
#include "download/PrepareItem.h"
#include "gui/application/VORMEXSettingToolApp.h"
#include "gui/binding/AccessibleNames.h"
#include "gui/binding/GuiStrings.h"
#include "gui/dialogs/DLProcDlg.h"
#include "gui/pages/DownloadBrowser.h"
#include "gui/pages/PrinterSettingView.h"
#include "gui/widgets/BlockSpinBox.h"
#include "gui/widgets/PageScrollArea.h"
#include "gui/widgets/PageTitle.h"
#include "pages/DownloadEnabling.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace vormex::gui {
namespace {

constexpr int kIndent = 24;
constexpr int kAreaDigits = 3;
constexpr int kStartBlockDigits = 2;  // the start block edits take at most 2 characters

// Item types in the order of the page's file rows, with their check boxes and choosers.
struct FileRow {
    int type;
    int checkBoxId;
};
constexpr FileRow kFileRows[] = {
    {DownloadItem::BasicMain, 6568},        {DownloadItem::BasicSystem, 6567},
    {DownloadItem::SystemParameters, 6569}, {DownloadItem::InitialTable, 6573},
};
constexpr int kTestFileCheckBoxId = 6570;

// The wanted-flag of a file step.
int DownloadJob::*stepFlagOf(int type)
{
    switch (type) {
    case DownloadItem::BasicMain: return &DownloadJob::doBasicMain;
    case DownloadItem::BasicSystem: return &DownloadJob::doBasicSystem;
    case DownloadItem::SystemParameters: return &DownloadJob::doSystemParameters;
    case DownloadItem::InitialTable: return &DownloadJob::doInitialTable;
    default: return &DownloadJob::doTestFile;
    }
}

// A check box caption breaks its line at the carriage return of the resource text.
QString shownCaption(QString caption)
{
    caption.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    caption.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return caption;
}

// The chooser's field carries the file step's name; its browse button says which file it is for.
void nameBrowser(CDownloadBrowser* browser, const QString& name, const TextLookup& text)
{
    browser->setAccessibleName(name);
    browser->edit()->setAccessibleName(name);
    browser->browseButton()->setAccessibleName(BrowseButtonName(text, name));
}

// Read-only fields are reached with Tab all the same, so their values can be read.
QLineEdit* newReadOnlyField(int characters, QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setReadOnly(true);
    const QFontMetrics metrics(field->font());
    field->setFixedWidth(metrics.horizontalAdvance(QString(characters, QLatin1Char('M'))) * 4 / 5 + 16);
    return field;
}

}  // namespace

CDownloadView::CDownloadView(CVORMEXSettingToolApp& app, const CPrinterSettingView* printerSettings, QWidget* parent)
    : QWidget(parent), app_(app), printerSettings_(printerSettings)
{
    buildControls();
    connectControls();
}

CDownloadView::~CDownloadView() = default;

QString CDownloadView::text(int id) const { return app_.text(id); }

std::function<QString(int)> CDownloadView::texts() const
{
    return [this](int id) { return text(id); };
}

void CDownloadView::buildControls()
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(24, 16, 24, 16);
    outer->addWidget(CreatePageTitle(text(text::dialogTitle(6500)), this));

    QScrollArea* scroll = CreatePageScrollArea(QStringLiteral("DownloadArea"), this);
    auto* content = new QWidget(scroll);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);

    firmwareMode_ = new QRadioButton(text(text::controlCaption(6555)), content);
    basicFilesMode_ = new QRadioButton(text(text::controlCaption(6556)), content);
    auto* modes = new QButtonGroup(this);
    modes->addButton(firmwareMode_, DownloadJob::FirmwareMode);
    modes->addButton(basicFilesMode_, DownloadJob::BasicFilesMode);
    basicFilesMode_->setChecked(true);

    layout->addWidget(firmwareMode_);
    layout->addWidget(buildFirmwarePart());
    // Tab takes the order shown: the BASIC-files mode after the firmware part.
    QWidget::setTabOrder(headerFields_.back(), basicFilesMode_);
    layout->addSpacing(4);
    layout->addWidget(basicFilesMode_);
    layout->addWidget(buildAllocationPart());
    layout->addWidget(buildFilePart());
    layout->addStretch(1);
    scroll->setWidget(content);
    outer->addWidget(scroll, 1);

    start_ = new QPushButton(text(text::controlCaption(6572)), this);
    start_->setMinimumWidth(160);
    start_->setAutoDefault(false);
    auto* startRow = new QHBoxLayout;
    startRow->addStretch(1);
    startRow->addWidget(start_);
    outer->addLayout(startRow);
}

QWidget* CDownloadView::buildFirmwarePart()
{
    auto* part = new QWidget(this);
    auto* grid = new QGridLayout(part);
    grid->setContentsMargins(kIndent, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(3);

    browsers_[DownloadItem::Firmware] = new CDownloadBrowser(text(text::kBrowse), part);
    nameBrowser(browsers_[DownloadItem::Firmware], AccessibleNameOf(firmwareMode_->text()), texts());
    grid->addWidget(browsers_[DownloadItem::Firmware], 0, 0, 1, 7);

    // Model, version and date on the first line, address and size on the second.
    const int widths[] = {12, 5, 11, 8, 8};
    const std::pair<int, int> places[] = {{1, 0}, {1, 2}, {1, 4}, {2, 0}, {2, 2}};
    for (int i = 0; i < 5; ++i) {
        auto* field = newReadOnlyField(widths[i], part);
        auto* label = new QLabel(text(text::controlCaption(7001 + i)), part);
        NameAfterCaption(label, field);
        grid->addWidget(label, places[i].first, places[i].second, Qt::AlignRight);
        grid->addWidget(field, places[i].first, places[i].second + 1, Qt::AlignLeft);
        headerLabels_[static_cast<size_t>(i)] = label;
        headerFields_[static_cast<size_t>(i)] = field;
    }
    grid->setColumnStretch(6, 1);
    return part;
}

QWidget* CDownloadView::buildAllocationPart()
{
    auto* part = new QWidget(this);
    auto* layout = new QVBoxLayout(part);
    layout->setContentsMargins(kIndent, 0, 0, 0);
    layout->setSpacing(3);

    allocation_ = new QCheckBox(text(text::controlCaption(6565)), part);
    keepBasic_ = new QCheckBox(text(text::controlCaption(6566)), part);
    kanjiLabel_ = new QLabel(text(text::controlCaption(6519)), part);
    kanji_ = new QComboBox(part);
    kanji_->addItems(app_.app().strings.list(text::kKanjiVariants));
    kanji_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    NameAfterCaption(kanjiLabel_, kanji_);
    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(allocation_);
    top->addWidget(keepBasic_);
    top->addSpacing(16);
    top->addWidget(kanjiLabel_);
    top->addWidget(kanji_);
    top->addStretch(1);
    layout->addLayout(top);

    // TrueType and bitmap on the first line, BASIC and the PC save area on the second; each
    // with its caption, blocks, "blocks" and the size in KB.
    auto* grid = new QGridLayout;
    grid->setContentsMargins(kIndent - 4, 0, 0, 0);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    for (int i = 0; i < 4; ++i) {
        auto* caption = new QLabel(text(text::controlCaption(6581 + i)), part);
        QWidget* number = nullptr;
        if (i < 3) {
            auto* spin = new BlockSpinBox(kAreaDigits, part);
            spin->setMinimumWidth(56);
            areas_[static_cast<size_t>(i)] = spin;
            number = spin;
        } else {
            pcSave_ = new QLineEdit(part);
            pcSave_->setReadOnly(true);
            pcSave_->setAlignment(Qt::AlignRight);
            pcSave_->setFixedWidth(56);
            number = pcSave_;
        }
        NameAfterCaption(caption, number);
        auto* blocks = new QLabel(text(text::controlCaption(6585 + i)), part);
        number->setAccessibleDescription(blocks->text());
        auto* kb = new QLabel(part);
        kb->setMinimumWidth(QFontMetrics(kb->font()).horizontalAdvance(QStringLiteral("0000 KBytes")));
        const int row = i / 2;
        const int column = (i % 2) * 5;
        grid->addWidget(caption, row, column);
        grid->addWidget(number, row, column + 1);
        grid->addWidget(blocks, row, column + 2);
        grid->addWidget(kb, row, column + 3);
        areaCaptions_[static_cast<size_t>(i)] = caption;
        blockLabels_[static_cast<size_t>(i)] = blocks;
        kbLabels_[static_cast<size_t>(i)] = kb;
    }
    grid->setColumnMinimumWidth(4, 12);
    grid->setColumnStretch(9, 1);
    layout->addLayout(grid);
    return part;
}

QWidget* CDownloadView::buildFilePart()
{
    auto* part = new QWidget(this);
    auto* grid = new QGridLayout(part);
    grid->setContentsMargins(kIndent, 0, 0, 0);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(3);

    startBlockLabel_ = new QLabel(text(text::controlCaption(1012)), part);
    grid->addWidget(startBlockLabel_, 0, 2, Qt::AlignCenter);
    int row = 1;
    for (const FileRow& file : kFileRows) {
        auto* box = new QCheckBox(shownCaption(text(text::controlCaption(file.checkBoxId))), part);
        const QString name = AccessibleNameOf(box->text());
        box->setAccessibleName(name);
        auto* browser = new CDownloadBrowser(text(text::kBrowse), part);
        nameBrowser(browser, name, texts());
        auto* start = new BlockSpinBox(kStartBlockDigits, part);
        start->setMinimumWidth(56);
        start->setAccessibleName(name + QLatin1Char(' ') + AccessibleNameOf(startBlockLabel_->text()));
        grid->addWidget(box, row, 0);
        grid->addWidget(browser, row, 1);
        grid->addWidget(start, row, 2);
        fileSteps_[static_cast<size_t>(file.type)] = box;
        browsers_[static_cast<size_t>(file.type)] = browser;
        startBlocks_[static_cast<size_t>(file.type)] = start;
        ++row;
    }

    vormexSwitch_ = new QCheckBox(text(text::controlCaption(6571)), part);
    vormexEntry_ = new QComboBox(part);
    vormexEntry_->addItems({text(text::kVormexSwitchEntries), text(text::kVormexSwitchEntries + 1)});
    vormexEntry_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    vormexEntry_->setAccessibleName(AccessibleNameOf(vormexSwitch_->text()));
    grid->addWidget(vormexSwitch_, row, 0);
    grid->addWidget(vormexEntry_, row, 1, Qt::AlignLeft);
    ++row;

    auto* testBox = new QCheckBox(text(text::controlCaption(kTestFileCheckBoxId)), part);
    auto* testBrowser = new CDownloadBrowser(text(text::kBrowse), part);
    nameBrowser(testBrowser, AccessibleNameOf(testBox->text()), texts());
    grid->addWidget(testBox, row, 0);
    grid->addWidget(testBrowser, row, 1);
    fileSteps_[DownloadItem::TestFile] = testBox;
    browsers_[DownloadItem::TestFile] = testBrowser;

    grid->setColumnStretch(1, 1);
    return part;
}

void CDownloadView::connectControls()
{
    // The two modes are one Tab stop, the chosen one; the arrow keys choose the other.
    const auto tabStopOnChosenMode = [this] {
        for (QRadioButton* mode : {firmwareMode_, basicFilesMode_})
            mode->setFocusPolicy(mode->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    };
    tabStopOnChosenMode();
    connect(firmwareMode_, &QRadioButton::toggled, this, tabStopOnChosenMode);
    connect(firmwareMode_, &QRadioButton::toggled, this, [this](bool on) {
        if (on && ready_)
            onModeChosen(DownloadJob::FirmwareMode);
    });
    connect(basicFilesMode_, &QRadioButton::toggled, this, [this](bool on) {
        if (on && ready_)
            onModeChosen(DownloadJob::BasicFilesMode);
    });
    connect(allocation_, &QCheckBox::toggled, this, [this](bool on) {
        if (!ready_)
            return;
        job_.doAllocation = on ? 1 : 0;
        applyEnabling();
        refreshAllocationLabels();
    });
    connect(keepBasic_, &QCheckBox::toggled, this, [this](bool on) {
        if (!ready_)
            return;
        job_.keepBasicArea = on ? 1 : 0;
        applyEnabling();
        refreshAllocationLabels();
    });
    connect(kanji_, &QComboBox::currentIndexChanged, this, [this](int variant) {
        if (ready_)
            onKanjiVariantChosen(variant);
    });
    int DownloadJob::*const areaFields[] = {&DownloadJob::trueTypeBlocks, &DownloadJob::bitmapBlocks,
                                            &DownloadJob::basicBlocks};
    const AllocationValue areaValues[] = {AllocationValue::TrueTypeBlocks, AllocationValue::BitmapBlocks,
                                          AllocationValue::BasicBlocks};
    for (size_t i = 0; i < areas_.size(); ++i) {
        connect(areas_[i], &QSpinBox::valueChanged, this, [this, field = areaFields[i]](int value) {
            if (!ready_)
                return;
            job_.*field = value;
            refreshAllocationLabels();
        });
        connect(areas_[i], &QSpinBox::editingFinished, this, [this, value = areaValues[i]] {
            if (ready_)
                checkRanges(true, value);
        });
    }
    for (size_t i = 0; i < startBlocks_.size(); ++i) {
        connect(startBlocks_[i], &QSpinBox::valueChanged, this, [this, i](int value) {
            if (ready_)
                job_.startBlocks[i] = value;
        });
        connect(startBlocks_[i], &QSpinBox::editingFinished, this, [this, i] {
            if (ready_)
                checkRanges(true, static_cast<AllocationValue>(static_cast<int>(AllocationValue::StartBlockBasicMain) + int(i)));
        });
    }
    for (size_t type = 0; type < fileSteps_.size(); ++type) {
        connect(fileSteps_[type], &QCheckBox::toggled, this, [this, type](bool on) {
            if (ready_)
                onFileStepToggled(int(type), on);
        });
    }
    connect(vormexSwitch_, &QCheckBox::toggled, this, [this](bool on) {
        if (!ready_)
            return;
        job_.doVormexSwitch = on ? 1 : 0;
        applyEnabling();
    });
    connect(vormexEntry_, &QComboBox::currentIndexChanged, this, [this](int entry) {
        if (ready_)
            job_.vormexSwitchEntry = std::max(entry, 0);
    });
    for (size_t type = 0; type < browsers_.size(); ++type) {
        connect(browsers_[type], &CDownloadBrowser::filePicked, this,
                [this, type](const QString& path) { PrepareFromFile(int(type), path); });
    }
    connect(start_, &QPushButton::clicked, this, &CDownloadView::StartDownload);
}

void CDownloadView::OnInitialUpdate()
{
    if (filled_)
        return;
    filled_ = true;
    vormexEntry_->setCurrentIndex(0);
    ResetForPrinter(app_.app().selectedPrinterName);
}

void CDownloadView::ResetForPrinter(const QString& printerName)
{
    ready_ = false;
    filled_ = true;
    PrinterDefinition unknown;
    unknown.name = printerName;
    const PrinterDefinition* printer = FindPrinter(app_.app().printerDefinitions, printerName);
    job_.controlCodes = app_.app().controlCodes;
    ResetJobForPrinter(printer ? *printer : unknown, job_);
    job_.vormexSwitchEntry = std::max(vormexEntry_->currentIndex(), 0);
    limits_ = printer && printer->allocation ? LimitsFor(*printer->allocation, job_.kanjiVariant)
                                             : LimitsWithoutAllocation();
    const bool kanjiShown = printer && printer->allocation && KanjiVariantCount(*printer->allocation) > 0;
    kanjiLabel_->setVisible(kanjiShown);
    kanji_->setVisible(kanjiShown);
    showJob();
    ShowFirmwareHeader();
    setUpFileDialogs();
    applyEnabling();
    ready_ = true;
}

int CDownloadView::LoadAllocation(const QString& printerName)
{
    const PrinterDefinition* printer = FindPrinter(app_.app().printerDefinitions, printerName);
    if (!printer || !vormex::LoadAllocation(*printer, job_))
        return 0;
    limits_ = LimitsFor(*printer->allocation, job_.kanjiVariant);
    const bool wasReady = ready_;
    ready_ = false;
    showAllocationValues();
    ready_ = wasReady;
    refreshAllocationLabels();
    return 1;
}

void CDownloadView::showJob()
{
    const bool wasReady = ready_;
    ready_ = false;
    (job_.mode == DownloadJob::FirmwareMode ? firmwareMode_ : basicFilesMode_)->setChecked(true);
    allocation_->setChecked(job_.doAllocation != 0);
    keepBasic_->setChecked(job_.keepBasicArea != 0);
    for (size_t type = 0; type < fileSteps_.size(); ++type)
        fileSteps_[type]->setChecked(job_.*stepFlagOf(int(type)) != 0);
    vormexSwitch_->setChecked(job_.doVormexSwitch != 0);
    vormexEntry_->setCurrentIndex(job_.vormexSwitchEntry);
    kanji_->setCurrentIndex(job_.kanjiVariant);
    for (size_t type = 0; type < browsers_.size(); ++type)
        browsers_[type]->setText(job_.item(int(type)).text);
    showAllocationValues();
    ready_ = wasReady;
    refreshAllocationLabels();
}

void CDownloadView::showAllocationValues()
{
    const std::pair<int, int> ranges[] = {{limits_.trueTypeMin, limits_.trueTypeMax},
                                          {limits_.bitmapMin, limits_.bitmapMax},
                                          {limits_.basicMin, limits_.basicMax}};
    const int values[] = {job_.trueTypeBlocks, job_.bitmapBlocks, job_.basicBlocks};
    const QString blocks = text(text::kBlocksUnit);
    for (size_t i = 0; i < areas_.size(); ++i) {
        areas_[i]->SetStepRange(ranges[i].first, ranges[i].second);
        areas_[i]->setValue(values[i]);
        areas_[i]->setAccessibleDescription(RangeDescription(texts(), ranges[i].first, ranges[i].second, blocks));
    }
    for (size_t i = 0; i < startBlocks_.size(); ++i) {
        startBlocks_[i]->SetStepRange(limits_.basicMin, limits_.basicMax);
        startBlocks_[i]->setValue(job_.startBlocks[i]);
        startBlocks_[i]->setAccessibleDescription(RangeDescription(texts(), limits_.basicMin, limits_.basicMax));
    }
}

void CDownloadView::refreshAllocationLabels()
{
    const int blocks[] = {job_.trueTypeBlocks, job_.bitmapBlocks, job_.basicBlocks};
    for (size_t i = 0; i < 3; ++i)
        kbLabels_[i]->setText(KBytesText(blocks[i], limits_.blockSizeKb));
    const std::optional<int> pcSave = PcSaveBlocks(job_, limits_);
    pcSave_->setText(pcSave ? QString::number(*pcSave) : QString());
    kbLabels_[3]->setText(pcSave && *pcSave >= 0 ? KBytesText(*pcSave, limits_.blockSizeKb) : QString());
}

void CDownloadView::applyEnabling()
{
    const DownloadEnabling e = EnablingFor(job_);
    browsers_[DownloadItem::Firmware]->setEnabled(e.firmwareItem);
    for (size_t i = 0; i < headerFields_.size(); ++i) {
        headerLabels_[i]->setEnabled(e.firmwareHeader);
        headerFields_[i]->setEnabled(e.firmwareHeader);
    }
    allocation_->setEnabled(e.stepCheckBoxes);
    for (QCheckBox* box : fileSteps_)
        box->setEnabled(e.stepCheckBoxes);
    vormexSwitch_->setEnabled(e.stepCheckBoxes);
    for (size_t i = 0; i < e.fileItems.size(); ++i)
        browsers_[i]->setEnabled(e.fileItems[i]);
    vormexEntry_->setEnabled(e.vormexSwitchList);

    keepBasic_->setEnabled(e.allocationControls);
    for (size_t i = 0; i < 2; ++i) {
        areas_[i]->setEnabled(e.allocationControls);
        areaCaptions_[i]->setEnabled(e.allocationControls);
        blockLabels_[i]->setEnabled(e.allocationControls);
        kbLabels_[i]->setEnabled(e.allocationControls);
    }
    kanjiLabel_->setEnabled(e.allocationControls);
    kanji_->setEnabled(e.allocationControls);
    for (QWidget* basic : std::initializer_list<QWidget*>{areas_[2], areaCaptions_[2], blockLabels_[2], kbLabels_[2],
                                                          areaCaptions_[3], blockLabels_[3]})
        basic->setEnabled(e.basicAreaControls);
    pcSave_->setEnabled(e.allocationControls);
    kbLabels_[3]->setEnabled(e.pcSaveSize);

    startBlockLabel_->setEnabled(e.startBlockLabel);
    for (size_t i = 0; i < startBlocks_.size(); ++i)
        startBlocks_[i]->setEnabled(e.startBlocks[i]);
}

void CDownloadView::setUpFileDialogs()
{
    for (size_t type = 0; type < browsers_.size(); ++type) {
        const FileDialogStrings ids = FileDialogFor(int(type), job_.printerName);
        browsers_[type]->SetFileDialog(text(ids.extension), text(ids.filter));
    }
}

void CDownloadView::onModeChosen(int mode)
{
    job_.mode = mode;
    applyEnabling();
    if (mode == DownloadJob::FirmwareMode && NeedsFirmwareNotice(job_.printerName))
        app_.ShowMessage(QMessageBox::Warning, text(text::kFirmwareNotice), QMessageBox::Ok);
}

void CDownloadView::onFileStepToggled(int type, bool on)
{
    job_.*stepFlagOf(type) = on ? 1 : 0;
    if (!on) {
        job_.item(type).clear();
        browsers_[static_cast<size_t>(type)]->setText(QString());
        if (type == DownloadItem::BasicMain)
            job_.basicMainBlocks = 2;
    }
    applyEnabling();
}

void CDownloadView::onKanjiVariantChosen(int variant)
{
    job_.kanjiVariant = std::max(variant, 0);
    LoadAllocation(job_.printerName);
}

bool CDownloadView::checkRanges(bool onlyValue, AllocationValue value)
{
    // The message takes the focus from the edit, which ends its editing once more.
    if (showingRangeMessage_)
        return false;
    const std::optional<AllocationRangeProblem> problem = CheckAllocation(job_, limits_);
    if (!problem || (onlyValue && problem->value != value))
        return true;
    const QScopedValueRollback showing(showingRangeMessage_, true);
    app_.ShowMessage(QMessageBox::Warning, text(text::kRangeMessage).arg(problem->min).arg(problem->max),
                     QMessageBox::Ok);
    const int index = static_cast<int>(problem->value);
    BlockSpinBox* edit = index < 3 ? areas_[static_cast<size_t>(index)] : startBlocks_[static_cast<size_t>(index - 3)];
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    return false;
}

void CDownloadView::ShowFirmwareHeader()
{
    const DownloadItem& firmware = job_.item(DownloadItem::Firmware);
    const FirmwareTrailer trailer = firmware.prepared ? ReadFirmwareTrailer(firmware.bytes) : FirmwareTrailer{};
    const QString values[] = {trailer.model, trailer.version, trailer.date, trailer.address, trailer.size};
    for (size_t i = 0; i < headerFields_.size(); ++i) {
        headerFields_[i]->setText(values[i]);
        headerFields_[i]->setCursorPosition(0);
    }
}

bool CDownloadView::PrepareFromFile(int type, const QString& path)
{
    if (!bringItemsToCurrentCodes())
        return false;
    QString message;
    const bool prepared = PrepareItem(job_, type, path, PrepareContextFor(app_.app(), &app_.store()), &message) != 0;
    if (!prepared && !message.isEmpty()) {
        // The encoder's messages stand alone in their box, as the printer's tool chain words them.
        const bool encoder = type == DownloadItem::BasicMain || type == DownloadItem::BasicSystem;
        app_.ShowMessage(encoder ? QMessageBox::NoIcon : QMessageBox::Warning, message, QMessageBox::Ok);
    }
    browsers_[static_cast<size_t>(type)]->setText(job_.item(type).text);
    if (type == DownloadItem::Firmware)
        ShowFirmwareHeader();
    return prepared;
}

// Prepared bytes carry the control codes of their time; after a change of the codes on the
// printer settings page the files are prepared again with the current ones.
bool CDownloadView::bringItemsToCurrentCodes()
{
    const ControlCodes current = app_.app().controlCodes;
    if (job_.controlCodes == current)
        return true;
    job_.controlCodes = current;
    bool allPrepared = true;
    for (int type = 0; type < int(job_.items.size()); ++type) {
        const DownloadItem& item = job_.item(type);
        if (item.ready())
            allPrepared = PrepareFromFile(type, QString(item.text)) && allPrepared;
    }
    return allPrepared;
}

void CDownloadView::StartDownload()
{
    if (dialog_ || !checkRanges(false, AllocationValue::TrueTypeBlocks))
        return;
    if (!HasSomethingToDo(job_))
        return;
    if (!bringItemsToCurrentCodes())
        return;
    runDialog();
}

void CDownloadView::runDialog()
{
    lateEngines();  // drops the engines that have ended meanwhile
    Application& app = app_.app();
    const QString usbPath = printerSettings_ ? printerSettings_->SelectedUsbDevicePath() : QString();
    const LinkSettings link = LinkForDevice(app, app_.store(), std::nullopt, usbPath);
    const PrinterDefinition* printer = app.selectedPrinter();
    const bool handshake = printer && printer->firmwareHandshake != 0;

    CDLProcDlg dialog(app_, job_, link, handshake, window());
    dialog_ = &dialog;
    dialog.exec();
    dialog_ = nullptr;
    if (std::unique_ptr<DownloadRunner> engine = dialog.TakeEngine(); engine && engine->running())
        lateEngines_.push_back(std::move(engine));
}

size_t CDownloadView::lateEngines()
{
    std::erase_if(lateEngines_, [](const std::unique_ptr<DownloadRunner>& engine) { return !engine->running(); });
    return lateEngines_.size();
}

}  // namespace vormex::gui
