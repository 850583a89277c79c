#include "gui/pages/ToolsView.h"

#include "app/ApplicationContext.h"
#include "comm/DeviceInfo.h"
#include "gui/application/VORMEXSettingToolApp.h"
#include "gui/binding/AccessibleNames.h"
#include "gui/binding/GuiStrings.h"
#include "gui/pages/PrinterSettingView.h"
#include "gui/widgets/PageTitle.h"
#include "gui/widgets/SvgIcon.h"

#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QPushButton>
#include <QVBoxLayout>

namespace vormex::gui {
namespace {
const char* const kButtonIcons[] = {":/vormex/icons/vormex-on.svg", ":/vormex/icons/vormex-off.svg",
                                    ":/vormex/icons/font-downloader.svg"};
}

CToolsView::CToolsView(CVORMEXSettingToolApp& app, const CPrinterSettingView* printerSettings, QWidget* parent)
    : QWidget(parent), app_(app), printerSettings_(printerSettings)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->setSpacing(12);
    layout->addWidget(CreatePageTitle(app.text(text::dialogTitle(6600)), this));
    for (int i = 0; i < 3; ++i) {
        auto* button = new QPushButton(app.text(text::controlCaption(6661 + i)), this);
        button->setIcon(SvgIcon(QString::fromLatin1(kButtonIcons[i])));
        button->setIconSize(QSize(32, 32));
        button->setMinimumHeight(48);
        button->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
        button->setStyleSheet(QStringLiteral("text-align: left; padding: 4px 16px 4px 8px;"));
        button->setAccessibleName(AccessibleNameOf(button->text()));
        layout->addWidget(button, 0, Qt::AlignLeft);
        buttons_[static_cast<size_t>(i)] = button;
    }
    // The buttons are as wide as the widest, so their texts line up.
    int widest = 0;
    for (QPushButton* button : buttons_)
        widest = std::max(widest, button->sizeHint().width());
    for (QPushButton* button : buttons_)
        button->setMinimumWidth(widest);
    layout->addStretch(1);

    connect(buttons_[0], &QPushButton::clicked, this, [this] { SendVormexSwitch(true); });
    connect(buttons_[1], &QPushButton::clicked, this, [this] { SendVormexSwitch(false); });
    connect(buttons_[2], &QPushButton::clicked, this, [this] { LaunchTrueTypeDownloader(); });
}

CToolsView::~CToolsView() { waitForSwitch(); }

void CToolsView::waitForSwitch()
{
    if (worker_.joinable())
        worker_.join();
}

void CToolsView::SendVormexSwitch(bool on)
{
    const Application& app = app_.app();
    DeviceInfoParts parts;
    if (!SplitDeviceInfo(app.deviceInfo, parts))
        return;  // an unusable interface text: nothing happens
    if (switchRunning() || !app_.vormexSwitch)
        return;
    waitForSwitch();

    VormexSwitchRequest request;
    request.on = on;
    const QString usbPath = printerSettings_ ? printerSettings_->SelectedUsbDevicePath() : QString();
    request.link = LinkForDevice(app, app_.store(), app.deviceInfo, usbPath);

    buttons_[0]->setEnabled(false);
    buttons_[1]->setEnabled(false);
    workerDone_->store(false);
    // The worker owns copies of everything it uses; the page joins it before it goes away.
    worker_ = std::thread([this, request, send = app_.vormexSwitch, done = workerDone_] {
        send(request);
        done->store(true);
        QMetaObject::invokeMethod(this, [this] { finishSwitch(); }, Qt::QueuedConnection);
    });
}

void CToolsView::finishSwitch()
{
    if (!workerDone_->load())
        return;  // a newer switch is on its way and reports itself
    waitForSwitch();
    buttons_[0]->setEnabled(true);
    buttons_[1]->setEnabled(true);
    emit switchFinished();
}

void CToolsView::LaunchTrueTypeDownloader()
{
    const QString path = app_.app().ttfDownloaderPath;
    if (path.isEmpty() || !app_.launcher)
        return;
    app_.launcher(path, QFileInfo(path).absolutePath());
}

}  // namespace vormex::gui
