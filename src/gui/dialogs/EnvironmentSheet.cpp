#include "gui/dialogs/EnvironmentSheet.h"

#include "app/AppSettings.h"
#include "gui/application/FileDialogs.h"
#include "gui/application/Looks.h"
#include "gui/application/VORMEXSettingToolApp.h"
#include "gui/binding/AccessibleNames.h"
#include "gui/binding/GuiStrings.h"
#include "gui/widgets/SpinEdit.h"
#include "pages/OptionsModel.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>

namespace vormex::gui {
namespace {

constexpr int kMinWaitTime = kMinWaitTimeMs;
constexpr int kMaxWaitTime = kMaxWaitTimeMs;
constexpr int kLookCount = kLastLookId - kFirstLookId + 1;
constexpr int kLookNameFirst = 300060;  // 300060..300068, the looks in id order

// The names of the browse dialog's two filters, taken from the filter text
// "Programs(*.EXE)|*.EXE|All files(*.*)|*.*||": on this system a program is any executable
// file, whatever its name, so both list every name ("*") and the first shows executables only.
QStringList programFilterNames(const QString& pairs)
{
    const QStringList parts = pairs.split(QLatin1Char('|'));
    QStringList names;
    for (qsizetype i = 0; i + 1 < parts.size() && names.size() < 2; i += 2) {
        if (parts[i].isEmpty())
            break;
        QString description = parts[i];
        description.remove(QRegularExpression(QStringLiteral("\\s*\\([^)]*\\)\\s*$")));
        names << QStringLiteral("%1 (*)").arg(description);
    }
    while (names.size() < 2)
        names << QStringLiteral("* (*)");
    return names;
}

// Lists folders and executable files only, while switched on.
class ExecutableFilesOnly : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void setOn(bool on)
    {
        on_ = on;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override
    {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (!on_ || !files)
            return true;
        const QFileInfo info = files->fileInfo(files->index(row, 0, parent));
        return info.isDir() || info.isExecutable();
    }

private:
    bool on_ = true;
};

// The nearest folder of a path that exists (a stored path may name a folder that is gone).
QString existingFolderOf(const QString& path)
{
    QDir folder = QFileInfo(path).absoluteDir();
    while (!folder.exists() && !folder.isRoot()) {
        if (!folder.cdUp())
            break;
    }
    return folder.exists() ? folder.absolutePath() : QDir::homePath();
}

// Columns as wide as their titles and contents, the names as wide as a usual program's name.
void fitColumns(QTreeView& view)
{
    QHeaderView* header = view.header();
    const QFontMetrics metrics(header->font());
    for (int i = 0; i < header->count(); ++i) {
        const QString title = view.model()->headerData(i, Qt::Horizontal).toString();
        const int content = static_cast<const QAbstractItemView&>(view).sizeHintForColumn(i);
        int width = std::max(content + 8, metrics.horizontalAdvance(title) + 48);
        if (i == 0)
            width = std::max(width, metrics.horizontalAdvance(QLatin1Char('M')) * 24);
        header->resizeSection(i, std::max(header->sectionSize(i), width));
    }
}

void widenColumns(QFileDialog& dialog)
{
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!view || !view->model())
        return;
    fitColumns(*view);
    // The folder is read in the background: fit again once its files are there.
    if (auto* files = dialog.findChild<QFileSystemModel*>()) {
        QObject::connect(files, &QFileSystemModel::directoryLoaded, view, [view] { fitColumns(*view); },
                         Qt::QueuedConnection);
    }
    if (auto* splitter = dialog.findChild<QSplitter*>(QStringLiteral("splitter")))
        splitter->setSizes({180, std::max(dialog.width() - 180, 400)});
}

}  // namespace

// ---------------------------------------------------------------------------------------------

CAppStylePage::CAppStylePage(CVORMEXSettingToolApp& app, OptionsHost& host, int currentLook, QWidget* parent)
    : QWidget(parent),
      app_(app),
      host_(host),
      startLook_(currentLook),
      looks_(new QListWidget(this)),
      icon_(new QCheckBox(app.text(text::controlCaption(6762)), this)),
      deviceInfo_(new QCheckBox(app.text(text::controlCaption(6763)), this))
{
    auto* lookLabel = new QLabel(app.text(text::controlCaption(6741)), this);
    NameAfterCaption(lookLabel, looks_);
    for (int i = 0; i < kLookCount; ++i)
        looks_->addItem(app.text(kLookNameFirst + i));
    looks_->setMinimumWidth(240);
    looks_->setCurrentRow(currentLook > kFirstLookId && currentLook <= kLastLookId ? currentLook - kFirstLookId : 0);

    icon_->setChecked(app.app().headerIcon != 0);
    deviceInfo_->setChecked(app.app().headerDeviceInfo != 0);

    auto* header = new QGroupBox(app.text(text::kHeaderGroup), this);
    auto* headerLayout = new QVBoxLayout(header);
    headerLayout->addWidget(icon_);
    headerLayout->addWidget(deviceInfo_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(8);
    layout->addWidget(lookLabel);
    layout->addWidget(looks_, 1);
    layout->addSpacing(8);
    layout->addWidget(header);

    connect(looks_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0)
            return;
        host_.SetLook(kFirstLookId + row);
        emit lookChosen();
    });
    connect(icon_, &QCheckBox::toggled, this, [this](bool on) { host_.ShowHeaderIcon(on); });
    connect(deviceInfo_, &QCheckBox::toggled, this, [this](bool on) { host_.ShowHeaderDeviceInfo(on); });
}

void CAppStylePage::OnOK()
{
    Application& app = app_.app();
    app.headerIcon = icon_->isChecked() ? 1 : 0;
    app.headerDeviceInfo = deviceInfo_->isChecked() ? 1 : 0;
    app_.store().writeInt(QString::fromLatin1(settings::kHeaderIcon), app.headerIcon);
    app_.store().writeInt(QString::fromLatin1(settings::kHeaderDeviceInfo), app.headerDeviceInfo);
    app_.SaveSettings();
}

void CAppStylePage::OnCancel()
{
    host_.SetLook(startLook_);
    host_.ShowHeaderIcon(app_.app().headerIcon != 0);
    host_.ShowHeaderDeviceInfo(app_.app().headerDeviceInfo != 0);
}

// ---------------------------------------------------------------------------------------------

CTTFDownLoaderPage::CTTFDownLoaderPage(CVORMEXSettingToolApp& app, QWidget* parent)
    : QWidget(parent),
      app_(app),
      path_(new QLineEdit(app.app().ttfDownloaderPath, this)),
      browse_(new QPushButton(app.text(text::kBrowse), this)),
      waitTime_(new SpinEdit(this))
{
    path_->setReadOnly(true);
    path_->setMinimumWidth(420);
    path_->setCursorPosition(0);
    path_->setToolTip(path_->text());
    connect(path_, &QLineEdit::textChanged, path_, &QLineEdit::setToolTip);
    waitTime_->setLimits(kMinWaitTime, kMaxWaitTime, 5);
    waitTime_->setValue(app.app().waitTimeMs);
    waitTime_->setFixedWidth(waitTime_->sizeHint().width());
    connect(browse_, &QPushButton::clicked, this, [this] { browse(); });

    auto* pathRow = new QHBoxLayout;
    pathRow->setSpacing(8);
    pathRow->addWidget(path_, 1);
    pathRow->addWidget(browse_);

    auto* waitRow = new QHBoxLayout;
    waitRow->setSpacing(4);
    waitRow->addWidget(waitTime_);
    waitRow->addSpacing(4);
    waitRow->addWidget(new QLabel(app.text(text::kMilliseconds), this));
    waitRow->addStretch(1);

    const auto texts = [&app](int id) { return app.text(id); };
    auto* form = new QFormLayout;
    form->setHorizontalSpacing(12);
    form->setVerticalSpacing(12);
    auto* pathLabel = new QLabel(app.text(text::controlCaption(7101)), this);
    NameAfterCaption(pathLabel, path_);
    browse_->setAccessibleName(BrowseButtonName(texts, path_->accessibleName()));
    form->addRow(pathLabel, pathRow);
    auto* waitLabel = new QLabel(app.text(text::controlCaption(7102)), this);
    NameAfterCaption(waitLabel, waitTime_);
    waitTime_->setAccessibleDescription(
        RangeDescription(texts, kMinWaitTime, kMaxWaitTime, app.text(text::kMilliseconds)));
    form->addRow(waitLabel, waitRow);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->addLayout(form);
    layout->addStretch(1);
}

void CTTFDownLoaderPage::browse()
{
    // Qt's own dialog: the executables-only list and the column widths are set on its widgets.
    QFileDialog dialog(this, app_.text(text::kBrowse).remove(QLatin1String("...")));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setViewMode(QFileDialog::Detail);
    auto* executables = new ExecutableFilesOnly(&dialog);
    dialog.setProxyModel(executables);
    const QStringList filters = programFilterNames(app_.text(text::kProgramFilter));
    dialog.setNameFilters(filters);
    // The signal gives the filter's text as shown (without "(*)"): the dialog knows which it is.
    connect(&dialog, &QFileDialog::filterSelected, executables, [executables, &dialog, filters] {
        executables->setOn(dialog.selectedNameFilter() == filters.first());
    });
    // No extension is added to a typed name: programs here have none.
    const QString current = path_->text();
    dialog.setDirectory(current.isEmpty() ? QDir::homePath() : existingFolderOf(current));
    if (!current.isEmpty())
        dialog.selectFile(QFileInfo(current).fileName());
    dialog.resize(std::max(dialog.width(), 900), std::max(dialog.height(), 500));
    widenColumns(dialog);
    browseDialog_ = &dialog;
    const int result = dialog.exec();
    browseDialog_ = nullptr;
    if (result != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString chosen = dialog.selectedFiles().first();
    const QFileInfo program(chosen);
    if (!program.isFile() || !program.isExecutable()) {
        app_.ShowMessage(QMessageBox::Warning, app_.text(text::kNotAProgram).arg(QDir::toNativeSeparators(chosen)),
                         QMessageBox::Ok);
        return;
    }
    path_->setText(program.absoluteFilePath());
}

bool CTTFDownLoaderPage::Validate()
{
    QString message;
    if (ReadWaitTime(waitTime_->text(), app_.app().strings, &message))
        return true;
    app_.ShowMessage(QMessageBox::Warning, message, QMessageBox::Ok);
    waitTime_->setFocus(Qt::OtherFocusReason);
    waitTime_->selectAll();
    return false;
}

void CTTFDownLoaderPage::OnOK()
{
    Application& app = app_.app();
    app.ttfDownloaderPath = path_->text();
    waitTime_->readNumber(app.waitTimeMs);
    app_.store().writeString(QString::fromLatin1(settings::kTtfDownloader), app.ttfDownloaderPath);
    app_.store().writeInt(QString::fromLatin1(settings::kWaitTime), app.waitTimeMs);
    app_.SaveSettings();
}

// ---------------------------------------------------------------------------------------------

CLanguagePage::CLanguagePage(CVORMEXSettingToolApp& app, QWidget* parent)
    : QWidget(parent),
      app_(app),
      languages_(new QListWidget(this)),
      restart_(new QPushButton(app.text(text::controlCaption(6861)), this))
{
    auto* label = new QLabel(app.text(text::controlCaption(6841)), this);
    NameAfterCaption(label, languages_);
    languages_->addItem(app.text(text::kLanguageEnglish));
    languages_->addItem(app.text(text::kLanguageJapanese));
    languages_->setCurrentRow(app.app().languageValue == 1 ? 1 : 0);
    languages_->setMaximumHeight(languages_->sizeHintForRow(0) * 2 + 2 * languages_->frameWidth() + 8);
    restart_->setEnabled(false);
    restart_->setAccessibleName(AccessibleNameOf(restart_->text()));
    restart_->setMinimumHeight(restart_->sizeHint().height() + 8);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(8);
    layout->addWidget(label);
    layout->addWidget(languages_);
    layout->addSpacing(12);
    layout->addWidget(restart_, 0, Qt::AlignLeft);
    layout->addStretch(1);

    connect(languages_, &QListWidget::currentRowChanged, this, [this](int row) {
        restart_->setEnabled(row >= 0 && row != app_.app().languageValue);
    });
    connect(restart_, &QPushButton::clicked, this, [this] {
        OnOK();
        emit restartRequested();
    });
}

void CLanguagePage::OnOK()
{
    const int chosen = languages_->currentRow() == 1 ? 1 : 0;
    app_.app().languageValue = chosen;
    app_.store().writeString(QString::fromLatin1(settings::kLanguage),
                             LanguageSetting(chosen == 1));
    app_.SaveSettings();
    restart_->setEnabled(false);
}

// ---------------------------------------------------------------------------------------------

CEnvironmentSheet::CEnvironmentSheet(CVORMEXSettingToolApp& app, OptionsHost& host, int currentLook,
                                     QWidget* parent)
    : QDialog(parent),
      host_(host),
      tabs_(new QTabWidget(this)),
      style_(new CAppStylePage(app, host, currentLook, this)),
      downloader_(new CTTFDownLoaderPage(app, this)),
      language_(new CLanguagePage(app, this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(app.text(text::kOptionsSheetCaption));
    tabs_->addTab(style_, app.text(text::dialogTitle(6700)));
    tabs_->addTab(downloader_, app.text(text::dialogTitle(6801)));
    tabs_->addTab(language_, app.text(text::dialogTitle(6800)));
    tabs_->setCurrentIndex(0);
    buttons_->button(QDialogButtonBox::Ok)->setText(app.text(text::kButtonOk));
    buttons_->button(QDialogButtonBox::Cancel)->setText(app.text(text::kButtonCancel));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addWidget(tabs_, 1);
    layout->addWidget(buttons_);

    connect(buttons_, &QDialogButtonBox::accepted, this, &CEnvironmentSheet::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &CEnvironmentSheet::reject);
    connect(style_, &CAppStylePage::lookChosen, this, [this] { tabs_->setCurrentIndex(0); });
    connect(language_, &CLanguagePage::restartRequested, this, [this] { restartNow(); });
}

void CEnvironmentSheet::accept()
{
    if (!downloader_->Validate()) {
        tabs_->setCurrentWidget(downloader_);
        return;
    }
    style_->OnOK();
    downloader_->OnOK();
    language_->OnOK();
    QDialog::accept();
}

void CEnvironmentSheet::reject()
{
    style_->OnCancel();
    QDialog::reject();
}

void CEnvironmentSheet::restartNow()
{
    // The language is stored; the other pages store nothing and the look comes back as it was.
    style_->OnCancel();
    done(QDialog::Accepted);
    host_.RestartForLanguage();
}

}  // namespace vormex::gui
