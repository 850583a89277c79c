#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace vormex::test {

QString sourcePath(const QString& relative) { return QDir(QStringLiteral(VORMEX_SOURCE_DIR)).filePath(relative); }

QString programPath(const QString& name) { return QDir(QStringLiteral(VORMEX_BIN_DIR)).filePath(name); }

QString shippedDefinitionFile() { return sourcePath(QStringLiteral("data/VORMEX Setting Tool Parameter-JPN.XML")); }

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

ProcessResult runProgram(const QString& name, const QStringList& arguments, int timeoutMs, const QByteArray& standardInput)
{
    QProcess process;
    process.start(programPath(name), arguments);
    ProcessResult result;
    if (!process.waitForStarted(10000))
        return result;
    if (!standardInput.isEmpty())
        process.write(standardInput);
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

}  // namespace vormex::test
