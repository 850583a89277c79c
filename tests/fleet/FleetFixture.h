#pragma once

#include "link/Simulator.h"
#include "support/TestSupport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vormex::test {

// The key of a target's result in a report.
inline const QString kResult = QStringLiteral("result");

// A manifest's target: its name, device text and, where given, its printer model.
QJsonObject target(const QString& name, const QString& device, const QString& printer = {});

// A folder with the job's files (the defaults of "Q-KA4S", which fit "ORN Q-KA5" as well) and
// helpers to write a manifest, run vormexctl and read a report.
class FleetFixture : public ::testing::Test {
protected:
    void SetUp() override;

    QString path(const QString& name) const { return dir_.filePath(name); }
    // vormexctl with the shipped definitions, the default printer "ORN Q-KA5" and Japanese texts.
    static ProcessResult ctl(const QStringList& arguments);
    static QStringList ctlArguments(const QStringList& arguments);
    // Writes `manifest` as JSON into the folder under `name`; gives its path.
    QString writeManifest(const QJsonObject& manifest, const QString& name = QStringLiteral("site.json")) const;
    static QJsonObject readReport(const QString& path);
    // The report's entry of the target `name`.
    static QJsonObject targetOf(const QJsonObject& report, const QString& name);

    // The job's files: system.txt and initial.txt.
    QByteArray systemText() const { return readFile(path(QStringLiteral("system.txt"))); }
    QByteArray initialText() const { return readFile(path(QStringLiteral("initial.txt"))); }

private:
    QTemporaryDir dir_;
};

}  // namespace vormex::test
