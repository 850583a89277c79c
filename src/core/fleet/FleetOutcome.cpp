#include "fleet/FleetOutcome.h"

#include <algorithm>

namespace vormex {

RunVerdict JudgeRun(FleetAction action, const std::vector<TargetReport>& reports)
{
    const auto notOk = [](const TargetReport& report) { return report.result != TargetResult::Ok; };
    if (std::any_of(reports.begin(), reports.end(), notOk))
        return RunVerdict::Failed;
    const auto drifted = [](const TargetReport& report) { return report.drift; };
    if (action == FleetAction::Plan && std::any_of(reports.begin(), reports.end(), drifted))
        return RunVerdict::Drift;
    return RunVerdict::Ok;
}

QString TargetOutcomeWord(FleetAction action, const TargetReport& report)
{
    if (action == FleetAction::Apply && report.result == TargetResult::Ok && !report.changed)
        return QStringLiteral("unchanged");
    return TargetResultWord(report.result);
}

const QStringList& TargetOutcomeWords()
{
    static const QStringList words{QStringLiteral("ok"), QStringLiteral("unchanged"), QStringLiteral("failed"),
                                   QStringLiteral("cancelled")};
    return words;
}

}  // namespace vormex
