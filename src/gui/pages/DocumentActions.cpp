#include "gui/pages/DocumentActions.h"

#include "app/ApplicationContext.h"
#include "definitions/PrinterDefinition.h"
#include "gui/application/FileDialogs.h"
#include "gui/application/VORMEXSettingToolApp.h"
#include "gui/dialogs/BusyDialog.h"

namespace vormex::gui {
namespace {

constexpr int kReadingFromPrinter = 300102;
constexpr int kPrinterMissing = 300104;
constexpr int kFileUnreadable = 300110;
constexpr int kFileUnwritable = 300111;
constexpr int kOpenTitle = 300112;
constexpr int kSaveTitle = 300113;

}  // namespace

QString AskForParameterFile(CVORMEXSettingToolApp& app, QWidget* parent, bool save, const QString& startPath,
                            int filterId)
{
    if (!app.fileDialog)
        return {};
    FileDialogRequest request;
    request.save = save;
    request.title = app.text(save ? kSaveTitle : kOpenTitle);
    request.startPath = startPath;
    request.filter = app.text(filterId);
    request.defaultSuffix = QStringLiteral("TXT");
    return app.fileDialog(parent, request);
}

void ShowReadFailure(CVORMEXSettingToolApp& app, const QString& path, bool fileError, const QString& error)
{
    if (fileError)
        app.ShowMessage(QMessageBox::Warning, app.text(kFileUnreadable).arg(path, error), QMessageBox::Ok);
    else
        app.ShowMessage(QMessageBox::NoIcon, error, QMessageBox::Ok);
}

void ShowWriteFailure(CVORMEXSettingToolApp& app, const QString& path, const QString& error)
{
    app.ShowMessage(QMessageBox::Warning, app.text(kFileUnwritable).arg(path, error), QMessageBox::Ok);
}

void ShowPrinterMissing(CVORMEXSettingToolApp& app, const QString& printerName)
{
    app.ShowMessage(QMessageBox::Warning, app.text(kPrinterMissing).arg(printerName), QMessageBox::Ok);
}

bool KeepWorkFile(CVORMEXSettingToolApp& app, WorkFileKind kind, const QByteArray& bytes)
{
    const WorkFileResult copy = writeWorkFile(app.store(), int(kind), bytes);
    if (!copy.result && !copy.errorMessage.isEmpty()) {
        ShowWriteFailure(app, copy.path, copy.errorMessage);
        return false;
    }
    return true;
}

std::optional<QString> GetParameterFileFromPrinter(CVORMEXSettingToolApp& app, QWidget* parent, const QString& title,
                                                   ParameterFileKind kind, WorkFileKind workFile,
                                                   const PrinterDefinition& printer)
{
    Application& state = app.app();
    const LinkSettings link = LinkForDevice(state, app.store(), std::nullopt, app.SelectedUsbDevicePath());
    ParameterCheckState checkState;
    const ReadBackCheck check{&printer, printer.labelShiftOmitted == 1, &checkState};
    QByteArray reply;
    bool replyComplete = false;
    ReadBackResult result;
    BusyDialog::Run(parent, title, app.text(kReadingFromPrinter), [&] {
        result = ReadParameterFileBack(kind, link, check, [&](const QByteArray& bytes) {
            reply = bytes;
            replyComplete = true;
            return QString();
        });
    });
    state.parameterCheck = checkState;
    if (replyComplete && !KeepWorkFile(app, workFile, reply))
        return std::nullopt;
    if (result.silent)
        return std::nullopt;
    app.ShowMessage(QMessageBox::NoIcon, result.message, QMessageBox::Ok);
    if (!result.result)
        return std::nullopt;
    return result.text;
}

}  // namespace vormex::gui
