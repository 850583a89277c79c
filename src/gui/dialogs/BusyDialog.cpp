#include "gui/dialogs/BusyDialog.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include <thread>

namespace vormex::gui {
namespace {
BusyDialog* currentDialog = nullptr;
}

BusyDialog::BusyDialog(const QString& title, const QString& text, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(title);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 16);
    layout->setSpacing(10);
    auto* label = new QLabel(text, this);
    label->setObjectName(QStringLiteral("BusyText"));
    layout->addWidget(label);
    auto* bar = new QProgressBar(this);
    bar->setObjectName(QStringLiteral("BusyBar"));
    bar->setRange(0, 0);
    bar->setTextVisible(false);
    bar->setMinimumWidth(280);
    layout->addWidget(bar);
}

void BusyDialog::closeEvent(QCloseEvent* event) { event->ignore(); }

BusyDialog* BusyDialog::current() { return currentDialog; }

void BusyDialog::Run(QWidget* parent, const QString& title, const QString& text, const std::function<void()>& work)
{
    BusyDialog dialog(title, text, parent);
    QEventLoop loop;
    // The worker posts the end to the loop; a post made before the loop runs waits for it.
    std::thread worker([&work, &loop] {
        work();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    BusyDialog* outer = currentDialog;
    currentDialog = &dialog;
    dialog.show();
    loop.exec();
    worker.join();
    currentDialog = outer;
    dialog.hide();
}

}  // namespace vormex::gui
