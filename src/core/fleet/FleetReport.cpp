#include "fleet/FleetReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace vormex {
namespace {

// Seconds to the millisecond, as a number.
double rounded(double seconds) { return std::round(seconds * 1000.0) / 1000.0; }

QJsonValue textOrNull(const std::optional<QString>& text) { return text ? QJsonValue(*text) : QJsonValue(QJsonValue::Null); }

QJsonObject differenceJson(const ParameterDifference& difference)
{
    return QJsonObject{{QStringLiteral("file"), ParameterFileWord(difference.file)},
                       {QStringLiteral("where"), difference.where},
                       {QStringLiteral("printer"), textOrNull(difference.printer)},
                       {QStringLiteral("wanted"), textOrNull(difference.wanted)}};
}

QJsonObject targetJson(const TargetReport& report)
{
    QJsonArray differences;
    for (const ParameterDifference& difference : report.differences)
        differences.append(differenceJson(difference));
    return QJsonObject{
        {QStringLiteral("name"), report.name},
        {QStringLiteral("device"), report.device},
        {QStringLiteral("printer"), report.printer},
        {QStringLiteral("result"), TargetResultWord(report.result)},
        {QStringLiteral("steps_done"), report.stepsDone},
        {QStringLiteral("steps_total"), report.stepsTotal},
        {QStringLiteral("seconds"), rounded(report.seconds)},
        {QStringLiteral("message"), QString(report.message).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))},
        {QStringLiteral("verify"), QJsonObject{{QStringLiteral("system"), report.system}, {QStringLiteral("initial"), report.initial}}},
        {QStringLiteral("differences"), differences},
    };
}

}  // namespace

QByteArray FleetReportJson(const std::vector<TargetReport>& reports, double seconds)
{
    QJsonArray targets;
    for (const TargetReport& report : reports)
        targets.append(targetJson(report));
    const QJsonObject root{{QStringLiteral("targets"), targets}, {QStringLiteral("seconds"), rounded(seconds)}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

}  // namespace vormex
