#pragma once

#include "gui/pages/InitialTablePage.h"

#include <array>

class QLineEdit;

namespace vormex::gui {

// The response command tab: the fifteen texts the emulation answers the host's status
// requests with, each limited to its definition's length and checked against its line format.
class CRespCmdView : public InitialTablePage {
    Q_OBJECT
public:
    enum Button { kRead = 9101, kSave = 9102, kGet = 9103, kDownload = 9104, kRestore = 9105 };

    CRespCmdView(std::shared_ptr<InitialTableGroup> group, QWidget* parent = nullptr);

    // Every answer from the definitions, the edits limited to their lengths; the responses
    // unchanged.
    void FillResponseDefaults();

    void SetUpForPrinter(const PrinterDefinition* printer) override;
    void ShowDocument() override;
    void CommitPage() override;
    // `ValidateResponseCommands`: the first answer that fails its format. An answer whose
    // format the definitions lack keeps the document from being saved or sent, not the user
    // from leaving.
    std::optional<PageProblem> CheckPage(bool leaving) override;
    void OnRestoreDefaults() override;

    QLineEdit* answerEdit(int row) const { return edits_.at(size_t(row)); }

private:
    void buildControls();
    void limitEdits(const PrinterDefinition* printer);

    std::array<QLineEdit*, kResponseCount> edits_{};
    std::array<int, kResponseCount> limits_{};
};

}  // namespace vormex::gui
