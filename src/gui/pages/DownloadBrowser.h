#pragma once

#include <QWidget>

class QLineEdit;
class QMimeData;
class QPushButton;

namespace vormex::gui {

// A file chooser of the download page: a read-only field with the chosen path and a browse
// button. A file is picked with the file dialog or by dropping one file onto the chooser; the
// page then prepares it.
class CDownloadBrowser : public QWidget {
    Q_OBJECT
public:
    CDownloadBrowser(const QString& browseText, QWidget* parent = nullptr);

    // The file dialog's default extension (without the dot) and its filter in the resource form
    // "description|pattern|...||".
    void SetFileDialog(const QString& defaultExtension, const QString& filter);
    QString defaultExtension() const { return extension_; }
    QString filter() const { return filter_; }

    QString text() const;
    void setText(const QString& path);

    // Opens the file dialog; a file chosen there is picked.
    void Browse();
    // Shows the path and tells the page, as a browse or a drop does.
    void Pick(const QString& path);

    QLineEdit* edit() const { return edit_; }
    QPushButton* browseButton() const { return browse_; }
    // The file dialog while it is open (tests); nullptr otherwise.
    QWidget* openDialog() const { return dialog_; }

    // The local file a drop carries: one file (no folder), else nothing.
    static QString DroppedFile(const QMimeData* data);

signals:
    void filePicked(const QString& path);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QLineEdit* edit_;
    QPushButton* browse_;
    QString extension_;
    QString filter_;
    QWidget* dialog_ = nullptr;
};

}  // namespace vormex::gui
