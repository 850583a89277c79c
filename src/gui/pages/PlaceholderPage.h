#pragma once

#include "gui/pages/PageInterfaces.h"

#include <QWidget>

class QLabel;

namespace vormex::gui {

// A page that is not built yet: its title and a note; every leaving check passes.
class PlaceholderPage : public QWidget,
                        public PrinterChangeListener,
                        public SystemParameterLeaving,
                        public InitialTableLeaving {
    Q_OBJECT
public:
    PlaceholderPage(const QString& title, const QString& note, QWidget* parent = nullptr);

    void OnPrinterChanged(const QString& printerName) override;
    bool ValidateRanges() override { return true; }
    bool ConfirmSaveChanges() override { return true; }
    bool ValidateInitialTableDocument() override { return true; }
    bool ConfirmSaveInitialTable() override { return true; }
    bool ConfirmSaveBeforeExit() override { return true; }

    // The printer the page was last set up for.
    QString printerName() const { return printerName_; }
    int printerChanges() const { return printerChanges_; }

private:
    QString printerName_;
    int printerChanges_ = 0;
};

}  // namespace vormex::gui
