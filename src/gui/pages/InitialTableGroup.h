#pragma once

#include "initialtable/InitialTableDocument.h"
#include "pages/InitialTableModel.h"

#include <QMessageBox>
#include <QPointer>
#include <QString>

#include <array>
#include <functional>
#include <optional>

class QWidget;

namespace vormex::gui {

class CVORMEXSettingToolApp;
class InitialTablePage;

// Something a page's own check found: the field to put the focus on and the message.
struct PageProblem {
    QWidget* field = nullptr;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString message;
};

// The initial value & table document that the four tabs of the initial-values group share, and
// the operations their buttons run on it: read and save a file (text or XML by the extension),
// get the document from the printer, download it, the save question before a document is
// replaced or the group is left, the check of the whole document, and the reset to the
// printer's defaults when another printer is chosen. The pages show and edit the document; the
// group keeps the file path and the four change marks.
class InitialTableGroup {
public:
    explicit InitialTableGroup(CVORMEXSettingToolApp& app);

    CVORMEXSettingToolApp& app() const { return app_; }
    QString text(int id) const;
    // The group's name as the navigation bar shows it.
    QString title() const;

    // The printer the document belongs to; nullptr when the definitions have no such entry.
    const PrinterDefinition* printer() const;
    InitialTableDocument& document() { return document_; }
    const QString& filePath() const { return document_.filePath; }
    int changeMarks() const { return document_.changeMarks; }

    // A page joins the group when it is made; it is shown set up for the group's printer.
    void Register(InitialTablePage& page);
    InitialTablePage* page(InitialTableTab tab) const;

    void MarkChanged(InitialTableTab tab);
    void ClearChanged(InitialTableTab tab);
    // Empties the file path; every page shows the empty name.
    void ClearFilePath();

    // The buttons every page has.
    void OnReadFile();
    void OnSaveFile();
    void OnGetFromPrinter();
    void OnDownload();

    // Reads or writes a file of the kind its extension names, without a file dialog; false
    // (after the message) when it failed.
    bool ReadFile(const QString& path);
    bool SaveFile(const QString& path);

    // The checks of the initial values, the drive mapping and the responses; a failure shows its
    // tab, puts the focus on the field and names the problem. `leaving`: the group or a tab is
    // left, and definitions that cannot check a value do not keep the user there.
    bool ValidateInitialTableDocument(bool leaving = false);
    // The save question (message 8040) when a change mark is set; false when the operation that
    // asked must not go on (Cancel, or Yes, which saves instead).
    bool ConfirmSaveInitialTable();
    // The same question before the program ends: Yes saves and goes on once saved; false when
    // the program must stay (Cancel, a failed check, the save dialog cancelled or a failed save).
    bool ConfirmSaveBeforeExit();

    // Another printer was chosen: every page back to its defaults, no file, no marks. Every page
    // hears of it; the page of the lowest tab there is speaks for the group.
    void OnPrinterChanged(const InitialTablePage& from, const QString& printerName);
    void ResetForPrinter(const QString& printerName);

    // A page's tab row asked for another tab: the page's own check first, then the frame's
    // switch with the group's leaving checks. It returns at once: a problem's message comes
    // after (queued), so a tab chosen through a screen reader's action never waits on it.
    void RequestTab(InitialTablePage& from, int tab);
    // Shows a page's problem on that page: its tab forward, the focus on the field, the message
    // (and the focus back on the field once it is closed).
    void ReportProblem(InitialTableTab tab, const PageProblem& problem);

private:
    enum class AfterSaving { Stay, GoOn };
    bool askToSave(AfterSaving afterSaving);
    QString askForFile(bool save);
    void commitPages();
    void showDocument();
    void showFileName();
    void bringForward(InitialTableTab tab);
    QWidget* anyPage() const;

    CVORMEXSettingToolApp& app_;
    // While a tab is requested, problems' messages are queued.
    bool queueMessages_ = false;
    QString printerName_;
    InitialTableDocument document_;
    std::array<QPointer<InitialTablePage>, kInitialTableTabCount> pages_{};
};

// The makers of the four pages for the main frame. The first one called makes the group; the
// pages share it and keep it while any of them lives.
using InitialTablePageFactory = std::function<QWidget*(CVORMEXSettingToolApp& app, QWidget* parent)>;
using InitialTablePageFactories = std::array<InitialTablePageFactory, kInitialTableTabCount>;
InitialTablePageFactories MakeInitialTablePageFactories();

}  // namespace vormex::gui
