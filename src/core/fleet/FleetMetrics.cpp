#include "fleet/FleetMetrics.h"

#include "fleet/FleetOutcome.h"

#include <QStringList>

namespace vormex {
namespace {

// A label value with its backslashes, double quotes and line feeds escaped.
QString labelValue(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\\')
            escaped += QStringLiteral("\\\\");
        else if (c == u'"')
            escaped += QStringLiteral("\\\"");
        else if (c == u'\n')
            escaped += QStringLiteral("\\n");
        else
            escaped += c;
    }
    return escaped;
}

using Labels = QList<std::pair<QString, QString>>;

QString labelSet(const Labels& labels)
{
    QStringList pairs;
    for (const auto& [name, value] : labels)
        pairs << QStringLiteral("%1=\"%2\"").arg(name, labelValue(value));
    return QLatin1Char('{') + pairs.join(QLatin1Char(',')) + QLatin1Char('}');
}

// One metric family: its HELP and TYPE lines and its samples; nothing without samples.
class Family {
public:
    Family(QString name, QString help) : name_(std::move(name)), help_(std::move(help)) {}
    void add(const Labels& labels, const QString& value) { samples_ << name_ + labelSet(labels) + QLatin1Char(' ') + value; }
    void writeTo(QStringList& lines) const
    {
        if (samples_.isEmpty())
            return;
        lines << QStringLiteral("# HELP %1 %2").arg(name_, help_) << QStringLiteral("# TYPE %1 gauge").arg(name_);
        lines += samples_;
    }

private:
    QString name_;
    QString help_;
    QStringList samples_;
};

Labels targetLabels(const TargetReport& report)
{
    return {{QStringLiteral("name"), report.name}, {QStringLiteral("device"), report.device}, {QStringLiteral("printer"), report.printer}};
}

QString flag(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }

// Seconds to the millisecond.
QString seconds(double value) { return QString::number(value, 'f', 3); }

void addInSync(Family& family, const TargetReport& report, const QString& file, const QString& status)
{
    if (status != QLatin1String("same") && status != QLatin1String("different"))
        return;
    family.add(targetLabels(report) << std::pair{QStringLiteral("file"), file}, flag(status == QLatin1String("same")));
}

}  // namespace

QByteArray FleetMetricsText(const FleetMetricsRun& run)
{
    Family up(QStringLiteral("vormex_printer_up"), QStringLiteral("Whether the printer answered in the last run (1) or could not be reached (0)."));
    Family inSync(QStringLiteral("vormex_printer_in_sync"),
                  QStringLiteral("Whether the printer holds the parameter file the job sends (1) or another one (0), by file."));
    Family lastResult(QStringLiteral("vormex_printer_last_result"),
                      QStringLiteral("The result of the printer's target in the last run: 1 for its result, 0 for the others."));
    for (const TargetReport& report : run.reports) {
        up.add(targetLabels(report), flag(report.reached));
        addInSync(inSync, report, QStringLiteral("system"), report.system);
        addInSync(inSync, report, QStringLiteral("initial"), report.initial);
        const QString result = TargetOutcomeWord(run.action, report);
        for (const QString& word : TargetOutcomeWords())
            lastResult.add(targetLabels(report) << std::pair{QStringLiteral("result"), word}, flag(word == result));
    }
    const Labels runLabels{{QStringLiteral("manifest"), run.manifest}};
    Family duration(QStringLiteral("vormex_run_duration_seconds"), QStringLiteral("How long the last run took, in seconds."));
    duration.add(runLabels, seconds(run.seconds));
    Family timestamp(QStringLiteral("vormex_run_timestamp_seconds"), QStringLiteral("When the last run ended, in seconds since the Unix epoch."));
    timestamp.add(runLabels, seconds(static_cast<double>(run.finished.toMSecsSinceEpoch()) / 1000.0));

    QStringList lines;
    for (const Family* family : {&up, &inSync, &lastResult, &duration, &timestamp})
        family->writeTo(lines);
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

}  // namespace vormex
