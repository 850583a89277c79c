// download and send-file: a download job or one parameter file, followed on the terminal.
#include "CliContext.h"
#include "commands/Commands.h"
#include "commands/DownloadConsole.h"
#include "commands/VerifyReport.h"

#include "app/ApplicationContext.h"
#include "comm/CommandFraming.h"
#include "download/DownloadRunner.h"
#include "download/PrepareItem.h"
#include "download/ParameterVerify.h"
#include "pages/DownloadEnabling.h"
#include "pages/DownloadOptions.h"

#include <optional>

namespace vormex::cli {
namespace {

constexpr int kFirmwareNotice = 8046;

// Reads one number of an option and checks it against its range.
class NumberReader {
public:
    explicit NumberReader(const StringTable& strings) : strings_(strings) {}

    std::optional<int> number(const QString& option, const QString& what, const QString& text, int min, int max)
    {
        QString message;
        const std::optional<int> value = ReadOptionNumber(text, min, max, strings_, message);
        if (!value)
            problem_ = QStringLiteral("vormexctl: --%1 %2: %3").arg(option, what, message);
        return value;
    }
    const QString& problem() const { return problem_; }

private:
    const StringTable& strings_;
    QString problem_;
};

// A preparation failure: the file is named before the message (a file error names it itself),
// with the line or field where its check failed.
int fileProblem(CliContext& context, const QString& path, const QString& message, const QString& detail)
{
    if (message.startsWith(path + QLatin1Char(':')))
        return context.fail(QStringLiteral("vormexctl: ") + message);
    if (detail.startsWith(path))
        return context.fail(QStringLiteral("vormexctl: ") + detail, message);
    return context.fail(QStringLiteral("vormexctl: ") + path + (detail.isEmpty() ? QString() : QStringLiteral(": ") + detail), message);
}

// A problem of the options as the command line reports it: a value that is malformed or outside
// its range is a usage error; the printer's own values outside their range are a failure.
int optionProblem(CliContext& context, const DownloadOptionProblem& problem)
{
    const QString text = problem.option.isEmpty() ? problem.message : QStringLiteral("--%1: %2").arg(problem.option, problem.message);
    switch (problem.kind) {
    case DownloadOptionProblem::Usage:
        return context.usage(text);
    case DownloadOptionProblem::OutOfRange:
        return problem.option.isEmpty() ? context.fail(QStringLiteral("vormexctl: ") + text) : context.usage(text);
    case DownloadOptionProblem::File:
        break;
    }
    return fileProblem(context, problem.path, problem.message, problem.detail);
}

// Prepares one file item as the download page does when a file is picked.
bool prepare(CliContext& context, DownloadJob& job, int type, const QString& path)
{
    QString message, detail;
    if (PrepareItem(job, type, path, PrepareContextFor(context.app(), &context.store()), &message, &detail))
        return true;
    fileProblem(context, path, message.isEmpty() ? QStringLiteral("%1: cannot be prepared").arg(path) : message, detail);
    return false;
}

int runJob(CliContext& context, const DownloadJob& job, const LinkSettings& link, bool firmwareHandshake)
{
    context.err().flush();
    DownloadConsole console;
    auto runner = DownloadRunner::StartJob(job, link, firmwareHandshake, console.observer());
    return console.follow(*runner);
}

int runDownload(CliContext& context, const QCommandLineParser& parser)
{
    if (!parser.positionalArguments().isEmpty())
        return context.usage(QStringLiteral("download takes no arguments besides its options"));
    const PrinterDefinition* printer = context.requireSelectedPrinter();
    if (!printer)
        return kExitFailure;

    DownloadOptionValues values;
    for (const QString& name : DownloadOptionNames())
        if (parser.isSet(name))
            values.append({name, parser.value(name)});
    DownloadJob job;
    job.controlCodes = context.app().controlCodes;
    if (const auto problem = FillDownloadJob(values, *printer, PrepareContextFor(context.app(), &context.store()), job))
        return optionProblem(context, *problem);
    if (job.mode == DownloadJob::FirmwareMode && NeedsFirmwareNotice(printer->name))
        context.err() << terminalText(context.app().strings.text(kFirmwareNotice)) << Qt::endl;
    const LinkSettings link = context.link(parser);
    const int status = runJob(context, job, link, printer->firmwareHandshake != 0);
    if (status != kExitOk || !parser.isSet(QStringLiteral("verify")))
        return status;
    return reportVerification(context, VerifyJobFiles(job, link, *printer));
}

int runSendFile(CliContext& context, const QCommandLineParser& parser)
{
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 2 || (positional[0] != QLatin1String("system") && positional[0] != QLatin1String("initial")))
        return context.usage(QStringLiteral("send-file takes system|initial and a file"));
    const PrinterDefinition* printer = context.requireSelectedPrinter();
    if (!printer)
        return kExitFailure;
    const bool system = positional[0] == QLatin1String("system");
    if (!printer->allocation)
        return context.fail(QStringLiteral("vormexctl: the printer \"%1\" has no storage allocation").arg(printer->name));
    const AllocationDefinition& allocation = *printer->allocation;

    FileDownloadRequest request;
    request.kind = system ? FileDownloadRequest::SystemParameters : FileDownloadRequest::InitialTable;
    request.startBlock = system ? allocation.startBlockSystemParam : allocation.startBlockInitialTable;
    request.blockCount = FileDownloadRequest::BlockCountFor(allocation.blockSizeKb);
    request.vormexOnAfter = !parser.isSet(QStringLiteral("no-vormex-on"));
    if (parser.isSet(QStringLiteral("start-block"))) {
        NumberReader reader(context.app().strings);
        const auto block = reader.number(QStringLiteral("start-block"), QStringLiteral("start block"),
                                         parser.value(QStringLiteral("start-block")), allocation.basicMin, allocation.basicMax);
        if (!block)
            return context.usage(reader.problem());
        request.startBlock = *block;
    }

    // The file is checked and converted as the download page does, into the job's item.
    DownloadJob job;
    job.controlCodes = CommandCodesFor(printer, context.app().controlCodes);
    job.variableControlCodes = printer->variableControlCodes;
    job.blockSizeKb = allocation.blockSizeKb;
    const int type = system ? DownloadItem::SystemParameters : DownloadItem::InitialTable;
    if (!prepare(context, job, type, positional[1]))
        return kExitFailure;
    request.envelope = job.item(type).bytes;

    context.err().flush();
    const LinkSettings link = context.link(parser);
    int status = kExitOk;
    {
        DownloadConsole console;
        auto runner = DownloadRunner::StartFileDownload(request, link, console.observer());
        status = console.follow(*runner);
    }
    if (status != kExitOk || !parser.isSet(QStringLiteral("verify")))
        return status;
    return reportVerification(context, VerifySentEnvelope(request.envelope, system ? ParameterFileKind::SystemParameters
                                                                               : ParameterFileKind::InitialTable,
                                                      link, *printer));
}

QList<QCommandLineOption> downloadOptions()
{
    const QString file = QStringLiteral("FILE");
    return {
        deviceOption(),
        valueOption(QStringLiteral("firmware"), file, QStringLiteral("a firmware job: send this image (the printer in its download mode); no other option but --device")),
        valueOption(QStringLiteral("allocate"), QStringLiteral("TT,BMP,BASIC"),
                    QStringLiteral("memory allocation: the TrueType, bitmap and BASIC areas in blocks; AA as BASIC keeps the BASIC area")),
        valueOption(QStringLiteral("kanji"), QStringLiteral("0|1|2"), QStringLiteral("kanji deletion variant of the allocation (printers that offer it; default 0)")),
        valueOption(QStringLiteral("basic-main"), file, QStringLiteral("BASIC main program to encode and send")),
        valueOption(QStringLiteral("basic-system"), file, QStringLiteral("BASIC system-mode program to encode and send")),
        valueOption(QStringLiteral("system-params"), file, QStringLiteral("system parameter file (text or XML) to check, convert and send")),
        valueOption(QStringLiteral("initial-table"), file, QStringLiteral("initial value & table file (text or XML) to check, convert and send")),
        valueOption(QStringLiteral("start-blocks"), QStringLiteral("A,B,C,D"),
                    QStringLiteral("start blocks of BASIC main, BASIC system, system parameters, initial table (default: the printer's)")),
        valueOption(QStringLiteral("vormex"), QStringLiteral("on|off"), QStringLiteral("switch VORMEX on or off at the end")),
        valueOption(QStringLiteral("test-file"), file, QStringLiteral("a file of printer commands to send last, as it is")),
        verifyOption(),
    };
}

}  // namespace

QList<Command> downloadCommands()
{
    return {
        {QStringLiteral("download"),
         QStringLiteral("[--device TEXT] [--allocate TT,BMP,BASIC|TT,BMP,AA] [--kanji 0|1|2] [--basic-main FILE] [--basic-system FILE] "
                        "[--system-params FILE] [--initial-table FILE] [--start-blocks A,B,C,D] [--vormex on|off] [--test-file FILE] "
                        "[--verify] | --firmware FILE [--device TEXT]"),
         QStringLiteral("run a download job (BASIC files and settings, or firmware)"),
         QStringLiteral("Every file is prepared first; a file that cannot be read, encoded or converted stops the job with\n"
                        "its message before anything is sent. Allocation values and start blocks default to the printer's\n"
                        "and are range-checked as the download page does. Log lines go to standard error as they come;\n"
                        "Ctrl-C cancels cleanly (exit status 130).\n"),
         downloadOptions(), runDownload},
        {QStringLiteral("send-file"), QStringLiteral("system|initial FILE [--device TEXT] [--start-block N] [--no-vormex-on] [--verify]"),
         QStringLiteral("download one parameter file"),
         QStringLiteral("Checks and converts FILE (text or XML) and sends it as its page's download dialog does.\n"),
         {deviceOption(),
          valueOption(QStringLiteral("start-block"), QStringLiteral("N"), QStringLiteral("the block to store the file at (default: the printer's)")),
          flagOption(QStringLiteral("no-vormex-on"), QStringLiteral("do not switch VORMEX on after the file")), verifyOption()},
         runSendFile},
    };
}

}  // namespace vormex::cli
