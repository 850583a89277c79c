// scan and status: finding the printers of a site and asking one for its state.
#include "CliContext.h"
#include "commands/Commands.h"

#include "app/ApplicationContext.h"
#include "base/StringIds.h"
#include "comm/DeviceText.h"
#include "comm/PrinterPort.h"
#include "discovery/NetworkInterfaces.h"
#include "discovery/NetworkScan.h"
#include "discovery/ScanReport.h"
#include "discovery/UsbScan.h"
#include "pages/DownloadOptions.h"

#include <QElapsedTimer>

#include <cstdio>
#include <mutex>

#include <unistd.h>

namespace vormex::cli {
namespace {

constexpr int kMostJobs = 1024;
constexpr int kLongestTimeoutMs = 60000;

const QCommandLineOption kPort(QStringLiteral("port"),
                               QStringLiteral("probe TCP port N (repeatable; default %1, the printers' own)").arg(kDefaultScanPort),
                               QStringLiteral("N"));
const QCommandLineOption kJobs(QStringLiteral("jobs"),
                               QStringLiteral("at most N connections at once (1 to %1; default %2)").arg(kMostJobs).arg(kDefaultScanJobs),
                               QStringLiteral("N"));
const QCommandLineOption kTimeout(QStringLiteral("timeout"),
                                  QStringLiteral("give up a connection that is not accepted within MS milliseconds (1 to %1; default %2)")
                                      .arg(kLongestTimeoutMs)
                                      .arg(ProbeSettings::kDefaultConnectTimeoutMs),
                                  QStringLiteral("MS"));
const QCommandLineOption kJson(QStringLiteral("json"),
                               QStringLiteral("print the printers found as JSON instead of one line each"));
const QCommandLineOption kCsv(QStringLiteral("csv"),
                              QStringLiteral("also write the printers found as a targets file for apply and backup (name,device,printer) into FILE (- for standard output)"),
                              QStringLiteral("FILE"));
const QCommandLineOption kAll(QStringLiteral("all"),
                              QStringLiteral("also list the listeners that are no printer (\"not a printer\" or \"silent\") and other USB nodes"));

// Shows the scan's progress on a terminal: one line on stderr, redrawn in place.
class ProgressLine : public ScanObserver {
public:
    static constexpr int kRedrawMs = 100;

    void probed(int done, int total) override
    {
        std::lock_guard lock(mutex_);
        if (done < total && clock_.isValid() && clock_.elapsed() < kRedrawMs)
            return;
        clock_.start();
        std::fprintf(stderr, "\r\033[Kscanning: %d of %d probed, %d printers found", done, total, printers_);
        std::fflush(stderr);
        drawn_ = true;
    }
    void found(const FoundDevice& device) override
    {
        std::lock_guard lock(mutex_);
        printers_ += device.isPrinter() ? 1 : 0;
    }
    // Clears the line before the results are printed.
    void clear()
    {
        std::lock_guard lock(mutex_);
        if (drawn_)
            std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
    }

private:
    std::mutex mutex_;
    QElapsedTimer clock_;
    int printers_ = 0;
    bool drawn_ = false;
};

// The request of the command line; nothing after a usage message when it is not usable.
std::optional<ScanRequest> scanRequest(CliContext& context, const QCommandLineParser& parser, int& status)
{
    const StringTable& strings = context.app().strings;
    ScanRequest request;
    const auto number = [&](const QCommandLineOption& option, const QString& text, int min, int max) -> std::optional<int> {
        QString problem;
        const std::optional<int> value = ReadOptionNumber(text, min, max, strings, problem);
        if (!value)
            status = context.usage(QStringLiteral("--%1: %2").arg(option.names().first(), problem));
        return value;
    };
    if (parser.isSet(kPort)) {
        request.ports.clear();
        for (const QString& text : parser.values(kPort)) {
            const std::optional<int> port = number(kPort, text, kMinLanPort, kMaxLanPort);
            if (!port)
                return std::nullopt;
            if (!request.ports.contains(*port))
                request.ports.append(*port);
        }
    }
    if (parser.isSet(kJobs)) {
        const std::optional<int> jobs = number(kJobs, parser.value(kJobs), 1, kMostJobs);
        if (!jobs)
            return std::nullopt;
        request.jobs = *jobs;
    }
    if (parser.isSet(kTimeout)) {
        const std::optional<int> timeout = number(kTimeout, parser.value(kTimeout), 1, kLongestTimeoutMs);
        if (!timeout)
            return std::nullopt;
        request.probe.connectTimeoutMs = *timeout;
    }
    for (const QString& text : parser.positionalArguments()) {
        const ScanTargetParse parsed = ParseScanTarget(text);
        if (!parsed.target) {
            status = context.usage(parsed.problem + QLatin1Char('\n') + ScanTargetGrammar());
            return std::nullopt;
        }
        request.targets.append(*parsed.target);
    }
    if (parser.isSet(kJson) && parser.value(kCsv) == QLatin1String("-")) {
        status = context.usage(QStringLiteral("--json and --csv - cannot both go to standard output"));
        return std::nullopt;
    }
    request.listAll = parser.isSet(kAll);
    // Framed as every command to the selected printer is: its stored codes when it uses variable
    // codes, else the standard ones.
    const LinkSettings link = LinkForDevice(context.app(), context.store(), std::nullopt);
    request.probe.codes = link.codes;
    request.probe.portMap = link.portMap;
    return request;
}

// Without TARGET: the subnets of this machine's interfaces, and its USB printers.
void addDefaultTargets(CliContext& context, ScanRequest& request)
{
    const DefaultScanPlan plan = DefaultScanTargets(SystemNetworkInterfaces());
    for (const QString& note : plan.notes)
        context.err() << "vormexctl: " << note << Qt::endl;
    if (plan.targets.isEmpty())
        context.err() << "vormexctl: no network interface is up besides loopback: only USB printers are looked for" << Qt::endl;
    request.targets = plan.targets;
    request.includeUsb = true;
}

int printResults(CliContext& context, const QCommandLineParser& parser, const ScanResult& result)
{
    const StringTable& strings = context.app().strings;
    const QString csvPath = parser.value(kCsv);
    if (!csvPath.isEmpty()) {
        const int written = context.writeFile(csvPath, ScanTargetsCsv(result.devices, context.app().printerDefinitions));
        if (written != kExitOk)
            return written;
    }
    if (parser.isSet(kJson)) {
        context.out() << QString::fromUtf8(ScanJson(result.devices, result.addresses, result.seconds, strings));
    } else if (csvPath != QLatin1String("-")) {
        for (const FoundDevice& device : result.devices)
            context.out() << ScanLine(device, strings) << '\n';
    }
    // The results before the summary, also where both go to one terminal.
    context.out().flush();
    std::fflush(stdout);
    context.err() << ScanSummary(result.printers(), result.addresses, result.seconds) << Qt::endl;
    return kExitOk;
}

int runScan(CliContext& context, const QCommandLineParser& parser)
{
    int status = kExitOk;
    std::optional<ScanRequest> request = scanRequest(context, parser, status);
    if (!request)
        return status;
    if (request->targets.isEmpty())
        addDefaultTargets(context, *request);
    context.err().flush();

    const auto progress = ::isatty(STDERR_FILENO) == 1 ? std::make_shared<ProgressLine>() : nullptr;
    const std::atomic<bool> cancel{false};
    const ScanResult result = RunScan(*request, progress, cancel);
    if (progress)
        progress->clear();
    if (!result.problem.isEmpty())
        return context.fail(QStringLiteral("vormexctl: ") + result.problem);
    return printResults(context, parser, result);
}

// Why the printer did not answer: the device and the reason, then the message.
int statusFailure(CliContext& context, const ProbeResult& result)
{
    const StringTable& strings = context.app().strings;
    switch (result.outcome) {
    case ProbeOutcome::Unreachable: return context.fail(QStringLiteral("vormexctl: ") + result.problem, strings.text(strings::kDeviceOpenError));
    case ProbeOutcome::Silent: return context.fail(QStringLiteral("vormexctl: ") + result.problem, StatusText(kNoAnswer, strings));
    default: return context.fail(QStringLiteral("vormexctl: ") + result.problem);
    }
}

int runStatus(CliContext& context, const QCommandLineParser& parser)
{
    if (!parser.positionalArguments().isEmpty())
        return context.usage(QStringLiteral("status takes no arguments"));
    const LinkSettings link = context.link(parser);
    DeviceInfoParts parts;
    if (!SplitDeviceInfo(link.deviceInfo, parts))
        return context.fail(QStringLiteral("vormexctl: ") + DescribeUnusableDeviceText(link.deviceInfo));
    const bool usb = PortKindOf(parts.kind) == PortKind::Usb;
    if (usb)
        parts.address = link.usbDevicePath;
    ProbeSettings settings;
    settings.codes = link.codes;
    settings.portMap = link.portMap;
    settings.connectTimeoutMs = PrinterPort::kLanConnectTimeoutMs;
    const ProbeResult result = ProbePrinter(parts, settings);
    if (result.outcome != ProbeOutcome::Printer)
        return statusFailure(context, result);

    FoundDevice device;
    device.device = usb ? QStringLiteral("USB:") + parts.address : link.deviceInfo;
    device.mode = result.mode;
    device.status = result.status;
    if (usb)
        device.model = UsbModelFromSysfs(parts.address);
    context.out() << ScanLine(device, context.app().strings) << '\n';
    return kExitOk;
}

}  // namespace

QList<Command> discoveryCommands()
{
    return {
        {QStringLiteral("scan"), QStringLiteral("[TARGET...] [--port N]... [--jobs N] [--timeout MS] [--json] [--csv FILE] [--all]"),
         QStringLiteral("find the printers of a network (and the USB printers) and show their mode and status"),
         QStringLiteral("TARGET is an IPv4 address, a host name, a CIDR range (192.168.10.0/24, at most /16) or a\n"
                        "range (192.168.10.20-40). Without TARGET: the subnet of every interface that is up and not\n"
                        "loopback (each at most a /22, a wider one is cut to the /22 around this machine's address),\n"
                        "and the connected USB printers (their model from sysfs, nothing opened). Each address is\n"
                        "asked the mode query \"!Q\" and the status request \"WS\", nothing else. One line per printer\n"
                        "on standard output, sorted by address: its device text (for --device, a manifest or the\n"
                        "printer settings page), the mode, the status code and text, the model where known, e.g.\n"
                        "  LAN:192.168.10.21:8000  VORMEX  00 Ready\n"
                        "The last line on standard error says \"N printers found among M addresses in S s\". Exit\n"
                        "status 0 when the scan ran (also when it found none), 1 when it could not run, 2 for usage\n"
                        "errors.\n"),
         {kPort, kJobs, kTimeout, kJson, kCsv, kAll}, runScan},
        {QStringLiteral("status"), QStringLiteral("[--device TEXT]"),
         QStringLiteral("ask one printer for its mode and status"),
         QStringLiteral("Prints the same line as scan. Exit status 0 when the printer answered, 1 when not (refused,\n"
                        "silent, or no valid answer frame: the reason is said on standard error).\n"),
         {deviceOption()}, runStatus},
    };
}

}  // namespace vormex::cli
