#pragma once

#include <QString>

// What the main frame asks of its pages. A page implements the interfaces that apply to it.
namespace vormex::gui {

// Pages, by index.
enum PageIndex {
    kPrinterSettingsPage = 0,
    kSystemParametersPage = 1,
    kInitialValuesPage = 2,
    kFontTablesPage = 3,
    kDriveMappingPage = 4,
    kResponseCommandsPage = 5,
    kDownloadPage = 6,
    kToolsPage = 7,
    kPageCount = 8,
};

// Navigation destinations and their commands.
inline constexpr int kDestinationCount = 5;
inline constexpr int kFirstDestinationCommand = 32818;
inline constexpr int kNavigationBarCommand = 32817;

// Pages that set themselves up again when the user picks another printer.
class PrinterChangeListener {
public:
    virtual ~PrinterChangeListener() = default;
    virtual void OnPrinterChanged(const QString& printerName) = 0;
};

// The system parameter page's conditions for being left.
class SystemParameterLeaving {
public:
    virtual ~SystemParameterLeaving() = default;
    virtual bool ValidateRanges() = 0;
    // The save-changes question; false when the user chose to stay.
    virtual bool ConfirmSaveChanges() = 0;
};

// The initial-values group's conditions for being left.
class InitialTableLeaving {
public:
    virtual ~InitialTableLeaving() = default;
    virtual bool ValidateInitialTableDocument() = 0;
    // The save-changes question when the group is left; false when the user chose to stay.
    virtual bool ConfirmSaveInitialTable() = 0;
    // The same question when the program ends: Yes saves and goes on once saved.
    virtual bool ConfirmSaveBeforeExit() = 0;
};

// What the pages of the initial-values group ask of the frame.
class InitialValuesHost {
public:
    virtual ~InitialValuesHost() = default;
    // A tab of the group was chosen: the frame records it and moves there after the leaving
    // checks (which may show the tab of a failing page instead). True when the tab is shown.
    virtual bool ShowInitialValuesTab(int tab) = 0;
    // Shows a tab of the group at once, without checks: a failed check of the whole document
    // brings the failing page forward.
    virtual void BringInitialValuesTabForward(int tab) = 0;
};

// What the printer settings page asks of the frame.
class PrinterSettingsHost {
public:
    virtual ~PrinterSettingsHost() = default;
    virtual void SetHeaderText(const QString& headerText) = 0;
    virtual void PrinterChanged() = 0;
};

}  // namespace vormex::gui
