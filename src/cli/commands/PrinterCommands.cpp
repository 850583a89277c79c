// get, vormex, list-usb, list-ports: talking to the printer and finding its ports.
#include "CliContext.h"
#include "commands/Commands.h"

#include "app/ApplicationContext.h"
#include "base/StringIds.h"
#include "codec/Codec.h"
#include "comm/PortListing.h"
#include "comm/UsbEnumeration.h"
#include "comm/VormexSwitch.h"

#include <QCommandLineParser>
#include <QFile>

#include <cstring>

namespace vormex::cli {
namespace {

// --device or the stored text; for USB the text after "USB:" is the device path.
LinkSettings linkFor(CliContext& context, const QCommandLineParser& parser)
{
    const QString device = QStringLiteral("device");
    return LinkForDevice(context.app(), context.store(),
                         parser.isSet(device) ? std::optional(parser.value(device)) : std::nullopt);
}

QCommandLineOption deviceOption()
{
    return QCommandLineOption(QStringLiteral("device"), QStringLiteral("device text"), QStringLiteral("TEXT"));
}

int parseArguments(CliContext& context, QCommandLineParser& parser, const char* command, const QStringList& arguments)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    if (!parser.parse(QStringList{QStringLiteral("vormexctl %1").arg(QLatin1String(command))} + arguments))
        return context.usage(parser.errorText());
    return -1;
}

bool writeData(CliContext& context, const QString& outputPath, const QString& text, QString& error)
{
    if (outputPath.isEmpty()) {
        context.out() << text;
        context.out().flush();
        return true;
    }
    // A file gets the printer's code page, the form of the user's parameter files.
    QFile file(outputPath);
    const QByteArray bytes = codec::toPrinterCodePage(text);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        error = QStringLiteral("vormexctl: %1: %2").arg(outputPath, file.errorString());
        return false;
    }
    return true;
}

}  // namespace

int runGet(CliContext& context, const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.addOption(deviceOption());
    parser.addOption(QCommandLineOption(QStringLiteral("o"), QStringLiteral("output file"), QStringLiteral("FILE")));
    if (const int status = parseArguments(context, parser, "get", arguments); status >= 0)
        return status;
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1 || (positional[0] != QLatin1String("system") && positional[0] != QLatin1String("initial")))
        return context.usage(QStringLiteral("get takes system or initial"));
    if (!context.requireSelectedPrinter())
        return kExitFailure;

    const LinkSettings link = linkFor(context, parser);
    const ReadBackResult result = positional[0] == QLatin1String("system")
                                    ? ReadSystemParametersBack(context.app(), context.store(), link)
                                    : ReadInitialTableBack(context.app(), context.store(), link);
    if (result.silent)
        return context.fail(QStringLiteral("vormexctl: cannot read from the device \"%1\" (LAN, COM or USB needed)").arg(link.deviceInfo));
    if (!result.result)
        return context.fail(result.message);
    QString error;
    if (!writeData(context, parser.value(QStringLiteral("o")), result.text, error))
        return context.fail(error);
    context.err() << terminalText(result.message) << Qt::endl;
    return kExitOk;
}

int runVormex(CliContext& context, const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.addOption(deviceOption());
    if (const int status = parseArguments(context, parser, "vormex", arguments); status >= 0)
        return status;
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1 || (positional[0] != QLatin1String("on") && positional[0] != QLatin1String("off")))
        return context.usage(QStringLiteral("vormex takes on or off"));
    const LinkSettings link = linkFor(context, parser);
    const VormexSwitchResult result = SendVormexSwitch(positional[0] == QLatin1String("on"), link);
    if (!result.usable)
        return context.fail(QStringLiteral("vormexctl: unusable device text \"%1\"").arg(link.deviceInfo));
    if (!result.opened)
        return context.fail(context.app().strings.text(strings::kDeviceOpenError));
    return kExitOk;
}

int runListUsb(CliContext& context, const QStringList& arguments)
{
    if (!arguments.isEmpty())
        return context.usage(QStringLiteral("list-usb takes no arguments"));
    QStringList paths, names;
    QList<UsbProblem> problems;
    EnumerateUsbPrinters(paths, names, UsbRoots{}, &problems);
    for (qsizetype i = 0; i < paths.size(); ++i)
        context.out() << paths[i] << '\t' << names[i] << '\n';
    for (const UsbProblem& problem : problems) {
        context.err() << "vormexctl: " << problem.devicePath;
        if (!problem.modelName.isEmpty())
            context.err() << " (" << problem.modelName << ")";
        context.err() << ": cannot be opened: " << QString::fromLocal8Bit(std::strerror(problem.error)) << '\n';
    }
    return kExitOk;
}

int runListPorts(CliContext& context, const QStringList& arguments)
{
    if (!arguments.isEmpty())
        return context.usage(QStringLiteral("list-ports takes no arguments"));
    const PortMap portMap(&context.store());
    for (const QList<PortName>& ports : {ListSerialPorts(portMap), ListParallelPorts(portMap)})
        for (const PortName& port : ports)
            context.out() << port.name << '\t' << port.devicePath << (port.overridden ? "\t(settings)" : "") << '\n';
    return kExitOk;
}

}  // namespace vormex::cli
