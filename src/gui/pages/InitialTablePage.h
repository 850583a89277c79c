#pragma once

#include "gui/pages/InitialTableGroup.h"
#include "gui/pages/PageInterfaces.h"

#include <QWidget>

#include <map>
#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;
class QVBoxLayout;

namespace vormex::gui {

// What every tab of the initial-values group shows around its own controls: the page title, the
// row of the four tabs (this page's selected), the document's file name, and the buttons of the
// shared operations with the page's own restore button. The frame asks any of them for the
// group's leaving checks.
class InitialTablePage : public QWidget, public InitialTableLeaving, public PrinterChangeListener {
    Q_OBJECT
public:
    // Control ids of a page's buttons and of its file-name field.
    struct Controls {
        int read;
        int save;
        int get;
        int download;
        int restore;
        int fileName;
    };

    InitialTablePage(std::shared_ptr<InitialTableGroup> group, InitialTableTab tab, const Controls& controls,
                     QWidget* parent);
    ~InitialTablePage() override;

    InitialTableTab tab() const { return tab_; }
    InitialTableGroup& group() const { return *group_; }

    // Sets the controls up from the printer's definitions (none: empty and disabled) and shows
    // the document.
    virtual void SetUpForPrinter(const PrinterDefinition* printer) = 0;
    // Shows the document's values again (after a read, a get or a reset).
    virtual void ShowDocument() = 0;
    // Takes what the controls hold into the document.
    virtual void CommitPage() {}
    // The page's own check before the document is used or the page is left (`leaving`: a
    // problem of the definitions rather than of the values does not keep the user); it takes
    // the controls' values into the document first.
    virtual std::optional<PageProblem> CheckPage(bool leaving)
    {
        (void)leaving;
        CommitPage();
        return std::nullopt;
    }
    // The restore button: the page's question, then its part of the document from the
    // definitions.
    virtual void OnRestoreDefaults() = 0;

    void ShowFileName(const QString& path);

    QTabBar* tabBar() const { return tabs_; }
    QLineEdit* fileNameField() const { return fileName_; }
    QPushButton* button(int id) const;

    // InitialTableLeaving
    bool ValidateInitialTableDocument() override;
    bool ConfirmSaveInitialTable() override;
    bool ConfirmSaveBeforeExit() override;
    // PrinterChangeListener
    void OnPrinterChanged(const QString& printerName) override;

protected:
    // Where the page lays out its own controls, between the tab row and the file name.
    QVBoxLayout* content() const { return content_; }
    CVORMEXSettingToolApp& app() const { return group_->app(); }
    QString text(int id) const { return group_->text(id); }
    // Asks the page's restore question (Yes and No, warning icon); true for Yes.
    bool askRestore(int questionId) const;
    // Enables the document buttons when the printer is known.
    void enableDocumentButtons(bool enabled);
    // The frame's file name and buttons are made before the page's own controls; once those are
    // built, this moves them after them in the Tab order, as the page shows them.
    void placeButtonsLastInTabOrder();

private:
    void buildFrame(const Controls& controls);
    void tabChosen(int index);

    std::shared_ptr<InitialTableGroup> group_;
    InitialTableTab tab_;
    QTabBar* tabs_ = nullptr;
    QVBoxLayout* content_ = nullptr;
    QLineEdit* fileName_ = nullptr;
    std::map<int, QPushButton*> buttons_;
    std::vector<int> buttonOrder_;  // ids, left to right
};

}  // namespace vormex::gui
