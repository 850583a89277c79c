#include "ExternalTool.h"

#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace vormex::test {

QString ToolRun::describe() const
{
    return QStringLiteral("exit status %1\n--- stdout\n%2\n--- stderr\n%3")
        .arg(exitCode)
        .arg(QString::fromUtf8(out), QString::fromUtf8(err));
}

QString requireProgram(const QString& name, const QString& package)
{
    const QString path = QStandardPaths::findExecutable(name);
    if (path.isEmpty())
        ADD_FAILURE() << name.toStdString() << " is missing: install the Debian package " << package.toStdString()
                      << " (scripts/setup does)";
    return path;
}

ToolRun runTool(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment,
                const QString& folder, const QByteArray& standardInput, int timeoutMs)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    if (!folder.isEmpty())
        process.setWorkingDirectory(folder);
    process.start(program, arguments);
    ToolRun run;
    if (!process.waitForStarted(10000)) {
        run.err = process.errorString().toUtf8();
        return run;
    }
    process.write(standardInput);
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(5000);
        run.err = "timed out\n";
    } else if (process.exitStatus() == QProcess::NormalExit) {
        run.exitCode = process.exitCode();
    }
    run.out += process.readAllStandardOutput();
    run.err += process.readAllStandardError();
    return run;
}

}  // namespace vormex::test
