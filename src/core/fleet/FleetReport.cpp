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

QJsonArray differencesJson(const QList<ParameterDifference>& differences)
{
    QJsonArray array;
    for (const ParameterDifference& difference : differences)
        array.append(differenceJson(difference));
    return array;
}

QJsonObject targetJson(FleetAction action, const TargetReport& report)
{
    QJsonObject target{
        {QStringLiteral("name"), report.name},
        {QStringLiteral("device"), report.device},
        {QStringLiteral("printer"), report.printer},
        {QStringLiteral("result"), TargetResultWord(report.result)},
        {QStringLiteral("steps_done"), report.stepsDone},
        {QStringLiteral("steps_total"), report.stepsTotal},
        {QStringLiteral("seconds"), rounded(report.seconds)},
        {QStringLiteral("message"), QString(report.message).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))},
        {QStringLiteral("verify"), QJsonObject{{QStringLiteral("system"), report.system}, {QStringLiteral("initial"), report.initial}}},
        {QStringLiteral("differences"), differencesJson(report.differences)},
        {QStringLiteral("changed"), report.changed},
        {QStringLiteral("drift"), report.drift},
        {QStringLiteral("drift_differences"), differencesJson(report.driftDifferences)},
    };
    if (action == FleetAction::Plan)
        target.insert(QStringLiteral("would_change"), report.wouldChange);
    return target;
}

}  // namespace

QByteArray FleetReportJson(FleetAction action, const std::vector<TargetReport>& reports, double seconds)
{
    QJsonArray targets;
    for (const TargetReport& report : reports)
        targets.append(targetJson(action, report));
    const QJsonObject root{{QStringLiteral("targets"), targets}, {QStringLiteral("seconds"), rounded(seconds)}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

}  // namespace vormex
