#pragma once

#include "gui/binding/PropertyBinding.h"
#include "gui/pages/PageInterfaces.h"
#include "sysparam/SystemParameterSet.h"

#include <QWidget>

#include <map>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vormex::gui {

class CVORMEXSettingToolApp;

// The system parameter page: the 24 system parameters of the selected printer, laid out from a
// table of definition items, with the user's text and XML files, the parameters read back from
// the printer, the download of the parameter file and the definitions' initial values.
//
// A printer whose definitions lack one of the five items with a range check cannot have its
// parameters saved or sent (a message names the item), but the page can still be left, so the
// user can pick another printer.
class CSystemSettingView : public QWidget, public PrinterChangeListener, public SystemParameterLeaving {
    Q_OBJECT
public:
    // Control ids of the five buttons.
    enum Button { kRead = 6161, kSave = 6162, kGet = 6163, kDownload = 6169, kRestore = 6170 };

    CSystemSettingView(CVORMEXSettingToolApp& app, QWidget* parent = nullptr);
    ~CSystemSettingView() override;

    // Sets the page up for a printer: every control from its item, no file, unchanged.
    void ApplyPrinterDefinitions(const QString& printerName);

    // SystemParameterLeaving: the main frame's checks before the page is left.
    bool ValidateRanges() override;
    bool ConfirmSaveChanges() override;
    // PrinterChangeListener
    void OnPrinterChanged(const QString& printerName) override;

    // The buttons.
    void OnReadFile();
    void OnSaveFile();
    void OnGetFromPrinter();
    void OnDownload();
    void OnRestoreDefaults();

    // Reads or writes a file of the kind its extension names, without a file dialog; false
    // (after the message) when it failed.
    bool ReadFile(const QString& path);
    bool SaveFile(const QString& path);

    bool isModified() const { return modified_; }
    const QString& currentFileName() const { return currentFileName_; }
    // The page's values as its controls hold them (committed first).
    const SystemParameterSet& parameters();

    PropertyBinding& binding() { return *binding_; }
    QWidget* control(const char* itemName) const;
    QLineEdit* fileNameField() const { return fileName_; }
    QPushButton* button(Button id) const { return buttons_.at(id); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    enum class RangeUse { Leave, SaveOrSend };

    // Where the rows go: the two columns of the item area and the two groups of the right one.
    struct Sections {
        QWidget* items = nullptr;
        QFormLayout* left = nullptr;
        QWidget* codeGroup = nullptr;
        QFormLayout* codes = nullptr;
        QWidget* commandGroup = nullptr;
        QFormLayout* commands = nullptr;
        QFormLayout* right = nullptr;
    };

    void buildControls();
    void declareRows(const Sections& sections);
    bool checkRanges(RangeUse use);
    QString askForFile(bool save);
    void showFileName();
    const PrinterDefinition* printer() const;
    QString text(int id) const;

    CVORMEXSettingToolApp& app_;
    PropertyBinding* binding_ = nullptr;
    SystemParameterSet set_;
    QString printerName_;
    QString currentFileName_;
    bool modified_ = false;

    QLineEdit* fileName_ = nullptr;
    QLabel* missingPrinter_ = nullptr;
    std::map<int, QPushButton*> buttons_;
};

}  // namespace vormex::gui
