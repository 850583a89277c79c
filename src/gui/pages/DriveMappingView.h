#pragma once

#include "gui/pages/InitialTablePage.h"

#include <array>

class QComboBox;
class QLineEdit;

namespace vormex::gui {

// The drive mapping tab: the four VORMEX drives of the printer, each with the KIRN drive that
// stands behind it, chosen from the definitions' KIRN drives.
class CDriveMappingView : public InitialTablePage {
    Q_OBJECT
public:
    enum Button { kRead = 6461, kSave = 6462, kGet = 6463, kDownload = 6464, kRestore = 6465 };

    CDriveMappingView(std::shared_ptr<InitialTableGroup> group, QWidget* parent = nullptr);

    // The rows at the definitions' defaults; the drive mapping unchanged.
    void FillDriveDefaults();

    void SetUpForPrinter(const PrinterDefinition* printer) override;
    void ShowDocument() override;
    void OnRestoreDefaults() override;

    QLineEdit* vormexDrive(int row) const { return vormex_.at(size_t(row)); }
    QComboBox* kirnDrive(int row) const { return kirn_.at(size_t(row)); }

private:
    void buildControls();
    void driveChosen(int row, int index);

    std::array<QLineEdit*, kDriveRows> vormex_{};
    std::array<QComboBox*, kDriveRows> kirn_{};
    QString kirnColumnName_;
};

}  // namespace vormex::gui
