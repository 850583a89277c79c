#pragma once

#include <QDialog>

#include <functional>

class QLabel;

namespace vormex::gui {

// A small modal window that says what the program waits for, with a moving bar, while the work
// runs on a worker thread: the windows keep painting, and the user cannot start anything else.
// It cannot be closed by the user; it goes when the work has ended.
class BusyDialog : public QDialog {
    Q_OBJECT
public:
    BusyDialog(const QString& title, const QString& text, QWidget* parent);

    // Runs `work` on a worker thread while the dialog shows; returns once `work` has ended.
    static void Run(QWidget* parent, const QString& title, const QString& text, const std::function<void()>& work);

    // The dialog of the work under way (tests); nullptr when none runs.
    static BusyDialog* current();

    void reject() override {}

protected:
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace vormex::gui
