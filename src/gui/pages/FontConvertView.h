#pragma once

#include "gui/binding/PropertyBinding.h"
#include "gui/pages/InitialTablePage.h"

#include <QList>

class QComboBox;
class QScrollArea;
class QStackedWidget;
class QTreeWidget;

namespace vormex::gui {

// The font convert table and font change table tab: every row of both tables in one list of 17
// columns, and below it the fields of one row. The page browses the list or edits one row: Add
// starts a new change row from the definitions' defaults, Modify the selected row; Register
// takes the fields (each number within its item's limits) into the tables, Cancel drops them,
// Delete removes a change row. The fields of a bitmap font and of an outline font take the same
// place; the KIRN font type chooses which are shown, and changing between the two kinds puts
// the hidden ones back to their defaults. The outline descender follows the cap height.
// The list's column widths are kept in the settings ("ListColumnWidth").
class CFontConvertView : public InitialTablePage {
    Q_OBJECT
public:
    enum Button {
        kRead = 6361, kSave = 6362, kGet = 6363, kAdd = 6364, kModify = 6365, kDelete = 6366, kRegister = 6367,
        kCancel = 6368, kDownload = 6369, kRestore = 6370,
    };
    static constexpr int kColumnCount = 17;

    CFontConvertView(std::shared_ptr<InitialTableGroup> group, QWidget* parent = nullptr);
    // Stores the column widths.
    ~CFontConvertView() override;

    // Both tables and the KIRN codes from the definitions, the default row in the fields, browse
    // mode, the font tables unchanged.
    void ResetFontTables();

    void SetUpForPrinter(const PrinterDefinition* printer) override;
    void ShowDocument() override;
    void OnRestoreDefaults() override;

    void OnAdd();
    void OnModify();
    // False (after the message, the focus on the field) when a field fails its check.
    bool OnRegister();
    void OnCancel();
    void OnDelete();

    bool isEditing() const { return editing_; }
    // The row the fields edit: its index, or -1 for a new change row.
    int editTarget() const { return target_; }
    bool bitmapFieldsShown() const;

    QTreeWidget* list() const { return list_; }
    QWidget* control(const char* itemName) const;
    QComboBox* kirnCodeBox() const;
    QPushButton* tableButton(Button id) const;

    // The widths of the twenty column slots from the stored setting: a comma field that is
    // missing or below 1 gives 100; an empty setting gives the defaults.
    static QList<int> ColumnWidthsFrom(const QString& stored);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildFields(QWidget* area);
    void declareRows(QFormLayout* zpl, QFormLayout* kirn, QFormLayout* bitmap, QFormLayout* outline,
                     QWidget* zplParent, QWidget* kirnParent, QWidget* bitmapParent, QWidget* outlineParent);
    void fitRowEditorHeight();
    void restoreColumnWidths();
    void fillList();
    void loadFields(const FontTableRow& row);
    void fillKirnCodes(const QString& type, const QString& code);
    void kirnTypeChosen(int index);
    void followCapHeight();
    void showFieldGroup(const QString& type);
    void setEditing(bool editing);
    void updateButtons();
    int selectedRow() const;
    // Back to the list after an edit, at `row` when there is one, so the keyboard goes on there.
    void returnToList(int row);
    FontTableSet& tables() const;
    const ItemDefinition* item(const char* name) const;

    PropertyBinding* binding_ = nullptr;
    FontTableRow editRow_;
    QString shownType_;
    int target_ = -1;
    bool editing_ = false;

    QTreeWidget* list_ = nullptr;
    QScrollArea* rowEditor_ = nullptr;
    QStackedWidget* fieldGroups_ = nullptr;
    QWidget* bitmapGroup_ = nullptr;
    QWidget* outlineGroup_ = nullptr;
    std::map<Button, QPushButton*> tableButtons_;
};

}  // namespace vormex::gui
