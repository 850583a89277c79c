// get, vormex, list-usb, list-ports: talking to the printer and finding its ports.
#include "CliContext.h"
#include "commands/Commands.h"

#include "app/ApplicationContext.h"
#include "base/StringIds.h"
#include "codec/Codec.h"
#include "comm/DeviceAccess.h"
#include "comm/PortListing.h"
#include "comm/UsbEnumeration.h"
#include "comm/VormexSwitch.h"
#include "conversion/ParameterFileConversion.h"

#include <cerrno>
#include <cstring>

namespace vormex::cli {
namespace {

const QCommandLineOption kOutput(QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                 QStringLiteral("write the data into FILE in the printer's code page instead of standard output (- for standard output)"),
                                 QStringLiteral("FILE"));

// A file gets the printer's code page, the form of the user's parameter files; standard output
// the text.
int writeData(CliContext& context, const QString& outputPath, const QString& text)
{
    if (outputPath.isEmpty() || isStandardOutput(outputPath))
        return context.printData(text);
    return context.writeFile(outputPath, codec::toPrinterCodePage(text));
}

int runGet(CliContext& context, const QCommandLineParser& parser)
{
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1 || (positional[0] != QLatin1String("system") && positional[0] != QLatin1String("initial")))
        return context.usage(QStringLiteral("get takes system or initial"));
    if (!context.requireSelectedPrinter())
        return kExitFailure;

    const LinkSettings link = context.link(parser);
    const ReadBackResult result = positional[0] == QLatin1String("system")
                                    ? ReadSystemParametersBack(context.app(), context.store(), link)
                                    : ReadInitialTableBack(context.app(), context.store(), link);
    if (result.silent)
        return context.fail(QStringLiteral("vormexctl: cannot read from the device \"%1\" (LAN, COM or USB needed)").arg(link.deviceInfo));
    if (result.checkFailed) {
        const ParameterFileKind kind = positional[0] == QLatin1String("system") ? ParameterFileKind::SystemParameters
                                                                                : ParameterFileKind::InitialTable;
        const QString where = ParameterCheckContext(kind, context.app().parameterCheck);
        return context.fail(QStringLiteral("vormexctl: the printer's %1%2")
                                .arg(QLatin1String(PrinterFileNameOf(kind)), where.isEmpty() ? QString() : QStringLiteral(": ") + where),
                            result.message);
    }
    if (!result.result)
        return context.fail(result.detail.isEmpty() ? QString() : QStringLiteral("vormexctl: ") + result.detail, result.message);
    if (const int written = writeData(context, parser.value(kOutput), result.text); written != kExitOk)
        return written;
    context.err() << terminalText(result.message) << Qt::endl;
    return kExitOk;
}

int runVormex(CliContext& context, const QCommandLineParser& parser)
{
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1 || (positional[0] != QLatin1String("on") && positional[0] != QLatin1String("off")))
        return context.usage(QStringLiteral("vormex takes on or off"));
    const LinkSettings link = context.link(parser);
    const VormexSwitchResult result = SendVormexSwitch(positional[0] == QLatin1String("on"), link);
    if (!result.usable)
        return context.fail(QStringLiteral("vormexctl: ") + result.problem);
    if (!result.opened)
        return context.fail(QStringLiteral("vormexctl: ") + result.problem, context.app().strings.text(strings::kDeviceOpenError));
    if (!result.written)
        return context.fail(QStringLiteral("vormexctl: ") + result.problem);
    return kExitOk;
}

int runListUsb(CliContext& context, const QCommandLineParser& parser)
{
    if (!parser.positionalArguments().isEmpty())
        return context.usage(QStringLiteral("list-usb takes no arguments"));
    QStringList paths, names;
    QList<UsbProblem> problems;
    EnumerateUsbPrinters(paths, names, UsbRoots{}, &problems);
    for (qsizetype i = 0; i < paths.size(); ++i)
        context.out() << paths[i] << '\t' << names[i] << '\n';
    if (paths.isEmpty() && problems.isEmpty())
        context.err() << "vormexctl: no USB printer found (" << UsbRoots{}.deviceFolder << "/lp*)\n";
    for (const UsbProblem& problem : problems) {
        context.err() << "vormexctl: " << problem.devicePath;
        if (!problem.modelName.isEmpty())
            context.err() << " (" << problem.modelName << ")";
        context.err() << ": cannot be opened: " << QString::fromLocal8Bit(std::strerror(problem.error));
        if (problem.error == EACCES || problem.error == EPERM)
            context.err() << "; " << DeviceAccessAdvice(DeviceAccessOf(problem.devicePath), true);
        context.err() << '\n';
    }
    return kExitOk;
}

// Whether the user may open a port: "ok", "missing", or "no access" with what to do.
QString accessWord(const DeviceAccess& access)
{
    if (!access.exists)
        return QStringLiteral("missing");
    if (access.mayOpen)
        return QStringLiteral("ok");
    return QStringLiteral("no access (%1)").arg(DeviceAccessAdvice(access));
}

int runListPorts(CliContext& context, const QCommandLineParser& parser)
{
    if (!parser.positionalArguments().isEmpty())
        return context.usage(QStringLiteral("list-ports takes no arguments"));
    const PortMap portMap(&context.store());
    for (const bool serial : {true, false})
        for (const PortName& port : serial ? ListSerialPorts(portMap) : ListParallelPorts(portMap))
            context.out() << port.name << '\t' << port.devicePath << '\t' << accessWord(DeviceAccessOf(port.devicePath, !serial))
                          << (port.overridden ? "\t(settings)" : "") << '\n';
    return kExitOk;
}

}  // namespace

QList<Command> printerCommands()
{
    return {
        {QStringLiteral("get"), QStringLiteral("system|initial [--device TEXT] [-o FILE]"),
         QStringLiteral("read a parameter file back from the printer"),
         QStringLiteral("Only the data (the system parameter line, or the initial value & table text) goes to standard\n"
                        "output (UTF-8, LF line ends, ending with a newline) or FILE (the printer's bytes, in its code\n"
                        "page); messages go to standard error.\n"),
         {deviceOption(), kOutput}, runGet},
        {QStringLiteral("vormex"), QStringLiteral("on|off [--device TEXT]"), QStringLiteral("switch VORMEX on or off"), QString(),
         {deviceOption()}, runVormex},
        {QStringLiteral("list-usb"), QString(), QStringLiteral("list the connected USB printers"),
         QStringLiteral("One line per printer: its device path and model. Nodes that cannot be opened are named on\n"
                        "standard error with the reason (and the group to join when rights are missing); when there\n"
                        "is none, standard error says so.\n"),
         {}, runListUsb},
        {QStringLiteral("list-ports"), QString(), QStringLiteral("list the serial and parallel port names"),
         QStringLiteral("One line per port: its name, the device it opens, whether you may open it (ok, missing, or\n"
                        "no access with the group to join) and \"(settings)\" when it is mapped in [Ports].\n"), {},
         runListPorts},
    };
}

}  // namespace vormex::cli
