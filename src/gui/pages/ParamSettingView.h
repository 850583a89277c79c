#pragma once

#include "gui/binding/PropertyBinding.h"
#include "gui/pages/InitialTablePage.h"

#include <set>

namespace vormex::gui {

// The initial value tab: the 26 command defaults of the emulation, every control made from its
// definition item (limits, lengths, lists, the ratio's mask), grouped by the commands they are
// the defaults of. "Label Shift" is shown but cannot be edited; its value is kept as read.
class CParamSettingView : public InitialTablePage {
    Q_OBJECT
public:
    enum Button { kRead = 6261, kSave = 6262, kGet = 6263, kDownload = 6265, kRestore = 6266 };

    CParamSettingView(std::shared_ptr<InitialTableGroup> group, QWidget* parent = nullptr);
    ~CParamSettingView() override;

    // Every value from its definition item, the controls set up; the initial values unchanged.
    void FillInitialValueDefaults();

    void SetUpForPrinter(const PrinterDefinition* printer) override;
    void ShowDocument() override;
    void CommitPage() override;
    // `ValidateInitialValues`: the number fields, the ratio, "INC/DEC".
    std::optional<PageProblem> CheckPage(bool leaving) override;
    void OnRestoreDefaults() override;

    PropertyBinding& binding() { return *binding_; }
    QWidget* control(const char* itemName) const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void configure(const PrinterDefinition* printer);
    InitialValueSet& values() const;

    PropertyBinding* binding_ = nullptr;
    // The items whose fields held no integer at the last commit.
    std::set<QString> unreadable_;
    // "INC/DEC" as typed is no integer (an empty field, a lone sign).
    bool incDecUnreadable_ = false;
};

}  // namespace vormex::gui
