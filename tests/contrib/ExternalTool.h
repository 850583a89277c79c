#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace vormex::test {

// What an outside program (ansible-playbook, promtool, systemd-analyze) did.
struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QString describe() const;  // for failure messages: the exit status and both outputs
};

// The program's path on the PATH; a test failure naming the Debian package that brings it (as
// scripts/setup installs it) when it is missing.
QString requireProgram(const QString& name, const QString& package);

// Runs `program` to its end (at most `timeoutMs`), in `folder` when given.
ToolRun runTool(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment,
                const QString& folder = {}, const QByteArray& standardInput = {}, int timeoutMs = 180000);

}  // namespace vormex::test
