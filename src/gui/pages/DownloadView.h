#pragma once

#include "download/DownloadJob.h"
#include "download/DownloadRunner.h"
#include "gui/pages/PageInterfaces.h"
#include "pages/StorageAllocation.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vormex::gui {

class BlockSpinBox;
class CDLProcDlg;
class CDownloadBrowser;
class CPrinterSettingView;
class CVORMEXSettingToolApp;

// The download page: a firmware download, or BASIC files and settings with the memory
// allocation, the four files with their start blocks, the VORMEX switch and a test file. The
// page keeps the download job in step with its controls, prepares each file as soon as it is
// picked, and runs the job in the download dialog.
class CDownloadView : public QWidget, public PrinterChangeListener {
    Q_OBJECT
public:
    CDownloadView(CVORMEXSettingToolApp& app, const CPrinterSettingView* printerSettings, QWidget* parent = nullptr);
    ~CDownloadView() override;

    // Loads the stored printer's allocation, sets up the choosers and the lists, and applies the
    // enabling (once).
    void OnInitialUpdate();
    // A new printer: every step off, the files dropped, the printer's allocation and choosers.
    void ResetForPrinter(const QString& printerName);
    void OnPrinterChanged(const QString& printerName) override { ResetForPrinter(printerName); }
    // Takes the printer's allocation values with the limits of the chosen kanji variant; 0 (and
    // nothing changes) when the printer has no allocation section.
    int LoadAllocation(const QString& printerName);
    // Fills the firmware header fields from the prepared firmware image (empties them without one).
    void ShowFirmwareHeader();
    // Prepares the item of `type` from a picked file; a failure shows its message and empties
    // the chooser.
    bool PrepareFromFile(int type, const QString& path);
    // The start button: range checks, something to do, then the download dialog.
    void StartDownload();

    bool isReady() const { return ready_; }
    const DownloadJob& job() const { return job_; }
    const AllocationLimits& limits() const { return limits_; }
    // The download dialog while it is open (tests); nullptr otherwise.
    CDLProcDlg* openDialog() const { return dialog_; }
    // Engines of closed dialogs that had not ended yet.
    size_t lateEngines();

    // The controls (tests and screenshots).
    QRadioButton* firmwareMode() const { return firmwareMode_; }
    QRadioButton* basicFilesMode() const { return basicFilesMode_; }
    CDownloadBrowser* browser(int itemType) const { return browsers_.at(static_cast<size_t>(itemType)); }
    QLineEdit* headerField(int i) const { return headerFields_.at(static_cast<size_t>(i)); }
    QLabel* headerLabel(int i) const { return headerLabels_.at(static_cast<size_t>(i)); }
    QCheckBox* allocationBox() const { return allocation_; }
    QCheckBox* keepBasicAreaBox() const { return keepBasic_; }
    // 0 TrueType, 1 bitmap, 2 BASIC.
    BlockSpinBox* areaEdit(int i) const { return areas_.at(static_cast<size_t>(i)); }
    // 0..3: TrueType, bitmap, BASIC, PC save area.
    QLabel* areaCaption(int i) const { return areaCaptions_.at(static_cast<size_t>(i)); }
    QLabel* blocksLabel(int i) const { return blockLabels_.at(static_cast<size_t>(i)); }
    QLabel* kbLabel(int i) const { return kbLabels_.at(static_cast<size_t>(i)); }
    QLineEdit* pcSaveArea() const { return pcSave_; }
    QLabel* kanjiLabel() const { return kanjiLabel_; }
    QComboBox* kanjiList() const { return kanji_; }
    // The check box of a file step, by item type (0..4).
    QCheckBox* fileStepBox(int itemType) const { return fileSteps_.at(static_cast<size_t>(itemType)); }
    BlockSpinBox* startBlockEdit(int i) const { return startBlocks_.at(static_cast<size_t>(i)); }
    QLabel* startBlockLabel() const { return startBlockLabel_; }
    QCheckBox* vormexSwitchBox() const { return vormexSwitch_; }
    QComboBox* vormexSwitchList() const { return vormexEntry_; }
    QPushButton* startButton() const { return start_; }

private:
    void buildControls();
    QWidget* buildFirmwarePart();
    QWidget* buildAllocationPart();
    QWidget* buildFilePart();
    void connectControls();
    void showJob();
    void showAllocationValues();
    void refreshAllocationLabels();
    void applyEnabling();
    void setUpFileDialogs();
    void onModeChosen(int mode);
    void onFileStepToggled(int type, bool on);
    void onKanjiVariantChosen(int variant);
    bool checkRanges(bool onlyValue, AllocationValue value);
    bool bringItemsToCurrentCodes();
    void runDialog();
    QString text(int id) const;
    std::function<QString(int)> texts() const;

    CVORMEXSettingToolApp& app_;
    const CPrinterSettingView* printerSettings_;
    DownloadJob job_;
    AllocationLimits limits_ = LimitsWithoutAllocation();
    bool ready_ = false;
    bool filled_ = false;
    bool showingRangeMessage_ = false;
    CDLProcDlg* dialog_ = nullptr;
    std::vector<std::unique_ptr<DownloadRunner>> lateEngines_;

    QRadioButton* firmwareMode_ = nullptr;
    QRadioButton* basicFilesMode_ = nullptr;
    std::array<CDownloadBrowser*, 6> browsers_{};
    std::array<QLabel*, 5> headerLabels_{};
    std::array<QLineEdit*, 5> headerFields_{};
    QCheckBox* allocation_ = nullptr;
    QCheckBox* keepBasic_ = nullptr;
    std::array<BlockSpinBox*, 3> areas_{};
    std::array<QLabel*, 4> areaCaptions_{};
    std::array<QLabel*, 4> blockLabels_{};
    std::array<QLabel*, 4> kbLabels_{};
    QLineEdit* pcSave_ = nullptr;
    QLabel* kanjiLabel_ = nullptr;
    QComboBox* kanji_ = nullptr;
    std::array<QCheckBox*, 5> fileSteps_{};
    std::array<BlockSpinBox*, 4> startBlocks_{};
    QLabel* startBlockLabel_ = nullptr;
    QCheckBox* vormexSwitch_ = nullptr;
    QComboBox* vormexEntry_ = nullptr;
    QPushButton* start_ = nullptr;
};

}  // namespace vormex::gui
