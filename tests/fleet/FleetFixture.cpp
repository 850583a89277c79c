#include "FleetFixture.h"

#include <QFile>
#include <QJsonArray>

namespace vormex::test {

QJsonObject target(const QString& name, const QString& device, const QString& printer)
{
    QJsonObject object{{QStringLiteral("name"), name}, {QStringLiteral("device"), device}};
    if (!printer.isEmpty())
        object.insert(QStringLiteral("printer"), printer);
    return object;
}

void FleetFixture::SetUp()
{
    for (const char* kind : {"system", "initial"}) {
        const ProcessResult exported = runProgram(
            QStringLiteral("vormexctl"),
            {QStringLiteral("--definitions"), shippedDefinitionFile(), QStringLiteral("--printer"), QStringLiteral("Q-KA4S"),
             QStringLiteral("export"), QStringLiteral("--kind"), QLatin1String(kind), QStringLiteral("--format"), QStringLiteral("txt"),
             QStringLiteral("-o"), path(QLatin1String(kind) + QStringLiteral(".txt"))});
        ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    }
}

QStringList FleetFixture::ctlArguments(const QStringList& arguments)
{
    return QStringList{QStringLiteral("--definitions"), shippedDefinitionFile(), QStringLiteral("--printer"),
                       QStringLiteral("ORN Q-KA5"), QStringLiteral("--language"), QStringLiteral("jpn")}
           + arguments;
}

ProcessResult FleetFixture::ctl(const QStringList& arguments)
{
    return runProgram(QStringLiteral("vormexctl"), ctlArguments(arguments), 180000);
}

QString FleetFixture::writeManifest(const QJsonObject& manifest, const QString& name) const
{
    writeFile(path(name), QJsonDocument(manifest).toJson());
    return path(name);
}

QJsonObject FleetFixture::readReport(const QString& path) { return QJsonDocument::fromJson(readFile(path)).object(); }

QJsonObject FleetFixture::targetOf(const QJsonObject& report, const QString& name)
{
    for (const QJsonValue& target : report.value(QStringLiteral("targets")).toArray())
        if (target.toObject().value(QStringLiteral("name")).toString() == name)
            return target.toObject();
    return {};
}

}  // namespace vormex::test
