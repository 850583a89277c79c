#include "discovery/ScanReport.h"

#include "base/Format.h"
#include "definitions/Lookups.h"
#include "discovery/ScanTarget.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>

#include <cmath>

namespace vormex {
namespace {

const QString kSeparator = QStringLiteral("  ");

QString listenerWord(const FoundDevice& device)
{
    return device.outcome == ProbeOutcome::Silent ? QStringLiteral("silent") : QStringLiteral("not a printer");
}

QJsonValue textOrNull(const QString& text) { return text.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(text); }

// A CSV field, quoted when it holds a comma, a quote or a line break.
QString csvField(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + QLatin1Char('"');
}

// "p-192-168-10-21", "p-printer-07-example", "p-usb-lp0".
QString baseName(const FoundDevice& device)
{
    if (device.kind == FoundDevice::Kind::Usb)
        return QStringLiteral("p-usb-lp%1").arg(device.usbNumber);
    const QString host = device.host.isEmpty() ? Ipv4Text(device.ipv4) : device.host;
    return QStringLiteral("p-") + QString(host).replace(QLatin1Char('.'), QLatin1Char('-'));
}

}  // namespace

QString ModeWord(int mode)
{
    if (mode == kAnswerVormex)
        return QStringLiteral("VORMEX");
    if (mode == kAnswerKirn)
        return QStringLiteral("KIRN");
    return QStringLiteral("-");
}

QString ScanStatusText(int status, const StringTable& strings)
{
    return status == 0 ? strings.text(strings::kPrinterReady) : StatusText(status, strings);
}

QString ScanLine(const FoundDevice& device, const StringTable& strings)
{
    if (!device.isPrinter())
        return device.device + kSeparator + listenerWord(device);
    QStringList fields{device.device, ModeWord(device.mode)};
    fields << (device.status == kNoAnswer ? QStringLiteral("-")
                                          : cformat(QStringLiteral("%02d"), device.status) + QLatin1Char(' ') + ScanStatusText(device.status, strings));
    if (!device.model.isEmpty())
        fields << device.model;
    return fields.join(kSeparator);
}

QString ScanSummary(int printers, int addresses, double seconds)
{
    return QStringLiteral("%1 printers found among %2 addresses in %3 s").arg(printers).arg(addresses).arg(seconds, 0, 'f', 2);
}

QByteArray ScanJson(const QList<FoundDevice>& devices, int addresses, double seconds, const StringTable& strings)
{
    QJsonArray printers;
    QJsonArray others;
    for (const FoundDevice& device : devices) {
        if (!device.isPrinter()) {
            others.append(QJsonObject{{QStringLiteral("device"), device.device}, {QStringLiteral("state"), listenerWord(device)}});
            continue;
        }
        const bool hasMode = device.mode == kAnswerVormex || device.mode == kAnswerKirn;
        const bool hasStatus = device.status != kNoAnswer;
        printers.append(QJsonObject{
            {QStringLiteral("device"), device.device},
            {QStringLiteral("mode"), hasMode ? QJsonValue(ModeWord(device.mode)) : QJsonValue(QJsonValue::Null)},
            {QStringLiteral("status"), hasStatus ? QJsonValue(device.status) : QJsonValue(QJsonValue::Null)},
            {QStringLiteral("status_text"), hasStatus ? QJsonValue(ScanStatusText(device.status, strings)) : QJsonValue(QJsonValue::Null)},
            {QStringLiteral("model"), textOrNull(device.model)},
        });
    }
    QJsonObject root{{QStringLiteral("printers"), printers},
                     {QStringLiteral("addresses"), addresses},
                     {QStringLiteral("seconds"), std::round(seconds * 1000.0) / 1000.0}};
    if (!others.isEmpty())
        root.insert(QStringLiteral("others"), others);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QByteArray ScanTargetsCsv(const QList<FoundDevice>& devices, const PrinterDefinitions& definitions)
{
    QMap<QString, int> printersByName;
    for (const FoundDevice& device : devices) {
        if (device.isPrinter())
            ++printersByName[baseName(device)];
    }
    QString csv = QStringLiteral("name,device,printer\n");
    for (const FoundDevice& device : devices) {
        if (!device.isPrinter())
            continue;
        QString name = baseName(device);
        if (printersByName.value(name) > 1)
            name += QStringLiteral("-%1").arg(device.port);
        const QString printer = FindPrinter(definitions, device.model) && device.model != QLatin1String("standard") ? device.model : QString();
        csv += QStringList{csvField(name), csvField(device.device), csvField(printer)}.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return csv.toUtf8();
}

}  // namespace vormex
