// diff, and the read-back check that download and send-file run with --verify.
#include "CliContext.h"
#include "commands/Commands.h"
#include "commands/VerifyReport.h"

#include "conversion/ParameterFileConversion.h"

#include <QStringList>

namespace vormex::cli {

QCommandLineOption verifyOption()
{
    return flagOption(QStringLiteral("verify"),
                      QStringLiteral("after the job, read the parameter files sent back from the printer and compare them with "
                                     "what was sent; a difference fails"));
}

int reportVerification(CliContext& context, const JobVerification& verification)
{
    if (verification.system.status == VerifyStatus::Skipped && verification.initial.status == VerifyStatus::Skipped) {
        context.err() << "verify: no parameter file was sent, nothing to read back\n";
        return kExitOk;
    }
    for (const QString& line : VerificationLines(verification))
        context.err() << line << '\n';
    const QString problem = VerificationProblem(verification);
    if (problem.isEmpty())
        return kExitOk;
    return context.fail(QStringLiteral("vormexctl: verify failed: ") + problem);
}

namespace {

int runDiff(CliContext& context, const QCommandLineParser& parser)
{
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 2 || (positional[0] != QLatin1String("system") && positional[0] != QLatin1String("initial")))
        return context.usage(QStringLiteral("diff takes system|initial and a file"));
    const PrinterDefinition* printer = context.requireSelectedPrinter();
    if (!printer)
        return kExitUsage;
    const ParameterFileKind kind =
        positional[0] == QLatin1String("system") ? ParameterFileKind::SystemParameters : ParameterFileKind::InitialTable;

    // The file as a download would send it: checked and converted.
    Application& app = context.app();
    const ParameterFileContext files{app.printerDefinitions, *printer, app.parameterCheck, app.strings};
    const PreparedParameterFile prepared = PrepareParameterFileItem(positional[1], kind, files, app.controlCodes);
    const std::optional<QString> wanted = prepared.ok() ? TextOfPrinterFileArea(prepared.area) : std::nullopt;
    // As every command says it: the file (and the field) on a line before the check's message.
    const QString& file = positional[1];
    if (!wanted) {
        const QString where = prepared.detail.isEmpty() || prepared.detail.startsWith(file) ? file : file + QStringLiteral(": ") + prepared.detail;
        if (prepared.message.isEmpty())
            context.fail(QStringLiteral("vormexctl: %1: cannot be converted").arg(file));
        else if (prepared.message.startsWith(file))
            context.fail(QStringLiteral("vormexctl: ") + prepared.message);  // a file error names the file itself
        else
            context.fail(QStringLiteral("vormexctl: ") + where, prepared.message);
        return kExitUsage;
    }
    const PrinterFileRead read = ReadPrinterFile(kind, context.link(parser), *printer);
    if (read.outcome == PrinterFileRead::Unread) {
        context.fail(read.detail.isEmpty() ? QString() : QStringLiteral("vormexctl: ") + read.detail, read.message);
        return kExitUsage;
    }
    const FileVerification verification = CompareWithPrinterFile(kind, read, *wanted, *printer);
    for (const ParameterDifference& difference : verification.differences)
        context.out() << DifferenceLine(difference) << '\n';
    context.out().flush();
    return verification.status == VerifyStatus::Same ? kExitOk : kExitFailure;
}

}  // namespace

QList<Command> verifyCommands()
{
    return {
        {QStringLiteral("diff"), QStringLiteral("system|initial FILE [--device TEXT]"),
         QStringLiteral("compare the printer's parameter file with FILE"),
         QStringLiteral("Reads the printer's file back and compares it with FILE (text or XML) as a download would send\n"
                        "it: one difference a line on standard output (\"LABEL LENGTH: printer 00600, file 01000\"; the\n"
                        "initial values and tables by section and line). Exit status 0 when they are the same, 1 when\n"
                        "they differ (also when the printer holds no file), 2 when the printer or FILE cannot be read.\n"),
         {deviceOption()}, runDiff},
    };
}

}  // namespace vormex::cli
