#include "gui/pages/DownloadBrowser.h"

#include "gui/application/FileDialogs.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>

namespace vormex::gui {

CDownloadBrowser::CDownloadBrowser(const QString& browseText, QWidget* parent)
    : QWidget(parent), edit_(new QLineEdit(this)), browse_(new QPushButton(browseText, this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    edit_->setReadOnly(true);
    edit_->setMinimumWidth(160);
    // Drops land on the chooser as a whole, also over its field.
    edit_->setAcceptDrops(false);
    browse_->setAutoDefault(false);
    browse_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    layout->addWidget(edit_, 1);
    layout->addWidget(browse_);
    setAcceptDrops(true);
    setFocusProxy(edit_);
    connect(browse_, &QPushButton::clicked, this, &CDownloadBrowser::Browse);
}

void CDownloadBrowser::SetFileDialog(const QString& defaultExtension, const QString& filter)
{
    extension_ = defaultExtension;
    filter_ = filter;
}

QString CDownloadBrowser::text() const { return edit_->text(); }

void CDownloadBrowser::setText(const QString& path)
{
    edit_->setText(path);
    edit_->setCursorPosition(int(path.size()));  // a long path shows its file name
    edit_->setToolTip(path);
}

void CDownloadBrowser::Browse()
{
    const QString current = edit_->text();
    const QString folder = current.isEmpty() ? QString() : QFileInfo(current).absolutePath();
    QString title = browse_->text();
    title.remove(QLatin1String("..."));
    QFileDialog dialog(this, title.trimmed(), folder, QtFileFilter(filter_));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDefaultSuffix(extension_);  // a name typed without an extension gets this one
    dialog_ = &dialog;
    const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    dialog_ = nullptr;
    if (chosen)
        Pick(dialog.selectedFiles().constFirst());
}

void CDownloadBrowser::Pick(const QString& path)
{
    setText(path);
    emit filePicked(path);
}

QString CDownloadBrowser::DroppedFile(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.constFirst().isLocalFile())
        return {};
    const QString path = urls.constFirst().toLocalFile();
    return QFileInfo(path).isFile() ? path : QString();
}

void CDownloadBrowser::dragEnterEvent(QDragEnterEvent* event)
{
    if (isEnabled() && !DroppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void CDownloadBrowser::dragMoveEvent(QDragMoveEvent* event)
{
    if (isEnabled() && !DroppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void CDownloadBrowser::dropEvent(QDropEvent* event)
{
    const QString path = isEnabled() ? DroppedFile(event->mimeData()) : QString();
    if (path.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    Pick(path);
}

}  // namespace vormex::gui
