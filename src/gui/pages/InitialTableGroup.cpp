#include "gui/pages/InitialTableGroup.h"

#include "definitions/Lookups.h"
#include "gui/application/VORMEXSettingToolApp.h"
#include "gui/binding/GuiStrings.h"
#include "gui/dialogs/FileDownloadProc.h"
#include "gui/pages/DocumentActions.h"
#include "gui/pages/DriveMappingView.h"
#include "gui/pages/FontConvertView.h"
#include "gui/pages/ParamSettingView.h"
#include "gui/pages/RespCmdView.h"
#include "initialtable/InitialTableFiles.h"

#include <QApplication>
#include <QScopedValueRollback>
#include <QTimer>

namespace vormex::gui {
namespace {

constexpr int kGroupCaption = text::kNavigationCaptionFirst + 2;
constexpr int kSaveChangesQuestion = 8040;
constexpr int kNotInitialTableFile = 8051;
constexpr int kFileFilter = 821;

// The tabs whose pages are checked before the document is used, in this order; the font tables
// are checked row by row when a row is registered.
constexpr InitialTableTab kCheckedTabs[] = {InitialTableTab::InitialValues, InitialTableTab::DriveMapping,
                                            InitialTableTab::ResponseCommands};

}  // namespace

InitialTableGroup::InitialTableGroup(CVORMEXSettingToolApp& app)
    : app_(app), printerName_(app.app().selectedPrinterName)
{
    if (const PrinterDefinition* entry = printer())
        document_ = DefaultInitialTableDocument(*entry);
}

QString InitialTableGroup::text(int id) const { return app_.text(id); }

QString InitialTableGroup::title() const { return text(kGroupCaption).replace(QLatin1String("&&"), QLatin1String("&")); }

const PrinterDefinition* InitialTableGroup::printer() const
{
    return FindPrinter(app_.app().printerDefinitions, printerName_);
}

void InitialTableGroup::Register(InitialTablePage& page)
{
    pages_[size_t(page.tab())] = &page;
    page.SetUpForPrinter(printer());
    page.ShowFileName(document_.filePath);
}

InitialTablePage* InitialTableGroup::page(InitialTableTab tab) const { return pages_[size_t(tab)].data(); }

QWidget* InitialTableGroup::anyPage() const
{
    for (const auto& page : pages_) {
        if (page)
            return page.data();
    }
    return nullptr;
}

void InitialTableGroup::MarkChanged(InitialTableTab tab) { document_.changeMarks |= ChangeMarkOf(tab); }

void InitialTableGroup::ClearChanged(InitialTableTab tab) { document_.changeMarks &= ~ChangeMarkOf(tab); }

void InitialTableGroup::ClearFilePath()
{
    document_.filePath.clear();
    showFileName();
}

void InitialTableGroup::showFileName()
{
    for (const auto& page : pages_) {
        if (page)
            page->ShowFileName(document_.filePath);
    }
}

void InitialTableGroup::showDocument()
{
    for (const auto& page : pages_) {
        if (page)
            page->ShowDocument();
    }
    showFileName();
}

void InitialTableGroup::OnPrinterChanged(const InitialTablePage& from, const QString& printerName)
{
    // Every page hears of the change; the group is reset once.
    for (const auto& page : pages_) {
        if (page) {
            if (page.data() == &from)
                ResetForPrinter(printerName);
            return;
        }
    }
}

void InitialTableGroup::ResetForPrinter(const QString& printerName)
{
    printerName_ = printerName;
    const PrinterDefinition* entry = printer();
    document_ = entry ? DefaultInitialTableDocument(*entry) : InitialTableDocument{};
    for (const auto& page : pages_) {
        if (page)
            page->SetUpForPrinter(entry);
    }
    showFileName();
}

void InitialTableGroup::bringForward(InitialTableTab tab)
{
    InitialTablePage* target = page(tab);
    if (!target || target->isVisible())
        return;
    if (auto* host = dynamic_cast<InitialValuesHost*>(target->window()))
        host->BringInitialValuesTabForward(int(tab));
}

void InitialTableGroup::ReportProblem(InitialTableTab tab, const PageProblem& problem)
{
    bringForward(tab);
    const QPointer<QWidget> field = problem.field;
    if (field)
        field->setFocus(Qt::OtherFocusReason);
    const auto tell = [this, field, icon = problem.icon, message = problem.message] {
        app_.ShowMessage(icon, message, QMessageBox::Ok);
        // The message took the focus; it goes back to the field to fix.
        if (field)
            field->setFocus(Qt::OtherFocusReason);
    };
    if (queueMessages_ && anyPage())
        QTimer::singleShot(0, anyPage(), tell);
    else
        tell();
}

void InitialTableGroup::RequestTab(InitialTablePage& from, int tab)
{
    const QScopedValueRollback queued(queueMessages_, true);
    if (const std::optional<PageProblem> problem = from.CheckPage(true)) {
        ReportProblem(from.tab(), *problem);
        return;
    }
    if (auto* host = dynamic_cast<InitialValuesHost*>(from.window()))
        host->ShowInitialValuesTab(tab);
}

void InitialTableGroup::commitPages()
{
    for (const auto& page : pages_) {
        if (page)
            page->CommitPage();
    }
}

bool InitialTableGroup::ValidateInitialTableDocument(bool leaving)
{
    for (const InitialTableTab tab : kCheckedTabs) {
        InitialTablePage* checked = page(tab);
        if (!checked)
            continue;
        if (const std::optional<PageProblem> problem = checked->CheckPage(leaving)) {
            ReportProblem(tab, *problem);
            return false;
        }
    }
    return true;
}

bool InitialTableGroup::ConfirmSaveInitialTable()
{
    // Yes saves the document instead of going on; the user starts the operation again.
    return askToSave(AfterSaving::Stay);
}

bool InitialTableGroup::ConfirmSaveBeforeExit() { return askToSave(AfterSaving::GoOn); }

bool InitialTableGroup::askToSave(AfterSaving afterSaving)
{
    if (!document_.isChanged())
        return true;
    const QMessageBox::StandardButton answer = app_.ShowMessage(
        QMessageBox::Warning, text(kSaveChangesQuestion), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::No) {
        document_.changeMarks = 0;
        return true;
    }
    if (answer != QMessageBox::Yes || !ValidateInitialTableDocument())
        return false;
    const QString path = askForFile(true);
    const bool saved = !path.isEmpty() && SaveFile(path);
    return saved && afterSaving == AfterSaving::GoOn;
}

QString InitialTableGroup::askForFile(bool save)
{
    QWidget* parent = QApplication::activeWindow() ? QApplication::activeWindow() : anyPage();
    return AskForParameterFile(app_, parent, save, document_.filePath, kFileFilter);
}

void InitialTableGroup::OnReadFile()
{
    if (!ConfirmSaveInitialTable())
        return;
    const QString path = askForFile(false);
    if (!path.isEmpty())
        ReadFile(path);
}

bool InitialTableGroup::ReadFile(const QString& path)
{
    const PrinterDefinition* entry = printer();
    if (!entry) {
        ShowPrinterMissing(app_, printerName_);
        return false;
    }
    Application& app = app_.app();
    const TextResult read = ReadInitialTableFile(path, *entry, app.printerDefinitions, app.parameterCheck, app.strings);
    if (!read.ok()) {
        ShowReadFailure(app_, path, read.fileError, read.error);
        return false;
    }
    // Applied to a copy: a text that cannot be applied leaves every page as it was.
    InitialTableDocument applied = document_;
    if (!ApplyInitialTableText(read.text, *entry, applied)) {
        app_.ShowMessage(QMessageBox::NoIcon, text(kNotInitialTableFile), QMessageBox::Ok);
        return false;
    }
    document_ = std::move(applied);
    document_.filePath = path;
    document_.changeMarks = 0;
    showDocument();
    return true;
}

void InitialTableGroup::OnSaveFile()
{
    if (!printer() || !ValidateInitialTableDocument())
        return;
    const QString path = askForFile(true);
    if (!path.isEmpty())
        SaveFile(path);
}

bool InitialTableGroup::SaveFile(const QString& path)
{
    const PrinterDefinition* entry = printer();
    if (!entry)
        return false;
    commitPages();
    const Application& app = app_.app();
    const XmlHeaderInfo header{app.selectedPrinterName, app.japaneseUi == 1};
    if (const std::optional<QString> error = WriteInitialTableFile(path, document_, *entry, header)) {
        ShowWriteFailure(app_, path, *error);
        return false;
    }
    document_.filePath = path;
    document_.changeMarks = 0;
    showFileName();
    return true;
}

void InitialTableGroup::OnGetFromPrinter()
{
    const PrinterDefinition* entry = printer();
    if (!entry || !ValidateInitialTableDocument(true) || !ConfirmSaveInitialTable())
        return;
    document_.changeMarks = 0;
    const std::optional<QString> got = GetParameterFileFromPrinter(
        app_, anyPage(), title(), ParameterFileKind::InitialTable, WorkFileKind::GetInitial, *entry);
    if (!got)
        return;
    InitialTableDocument applied = document_;
    if (!ApplyInitialTableText(*got, *entry, applied))
        return;
    document_ = std::move(applied);
    document_.filePath.clear();
    showDocument();
}

void InitialTableGroup::OnDownload()
{
    const PrinterDefinition* entry = printer();
    if (!entry || !ValidateInitialTableDocument())
        return;
    commitPages();
    const Application& app = app_.app();
    const ParameterDownloadSetup setup = PrepareInitialTableDownload(document_, *entry, app.controlCodes, app.strings);
    if (!setup.ok()) {
        app_.ShowMessage(QMessageBox::Warning, setup.error, QMessageBox::Ok);
        return;
    }
    if (!KeepWorkFile(app_, WorkFileKind::InitialTable, setup.request.envelope))
        return;
    CFileDownloadProc dialog(app_, setup, QApplication::activeWindow() ? QApplication::activeWindow() : anyPage());
    dialog.exec();
}

InitialTablePageFactories MakeInitialTablePageFactories()
{
    // The pages own the group together; the makers only find the group the first page made.
    auto shared = std::make_shared<std::weak_ptr<InitialTableGroup>>();
    const auto groupFor = [shared](CVORMEXSettingToolApp& app) {
        std::shared_ptr<InitialTableGroup> group = shared->lock();
        if (!group) {
            group = std::make_shared<InitialTableGroup>(app);
            *shared = group;
        }
        return group;
    };
    return {
        [groupFor](CVORMEXSettingToolApp& app, QWidget* parent) -> QWidget* {
            return new CParamSettingView(groupFor(app), parent);
        },
        [groupFor](CVORMEXSettingToolApp& app, QWidget* parent) -> QWidget* {
            return new CFontConvertView(groupFor(app), parent);
        },
        [groupFor](CVORMEXSettingToolApp& app, QWidget* parent) -> QWidget* {
            return new CDriveMappingView(groupFor(app), parent);
        },
        [groupFor](CVORMEXSettingToolApp& app, QWidget* parent) -> QWidget* {
            return new CRespCmdView(groupFor(app), parent);
        },
    };
}

}  // namespace vormex::gui
