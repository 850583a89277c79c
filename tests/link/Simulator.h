#pragma once

#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vormex::test {

// The printer simulator as a child process. Its pauses run at `timeScale`; it ends when this
// object closes its standard input (or, as a safety net, after a minute without traffic).
class Simulator {
public:
    explicit Simulator(const QStringList& arguments, const QByteArray& timeScale = "0.05")
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("VORMEX_TIME_SCALE"), QString::fromLatin1(timeScale));
        process_.setProcessEnvironment(environment);
        process_.setStandardErrorFile(folder_.filePath(QStringLiteral("sim.log")));
        process_.start(programPath(QStringLiteral("vormex-printer-sim")),
                       QStringList{QStringLiteral("--exit-after-idle"), QStringLiteral("60")} + arguments);
        process_.waitForStarted(5000);
        QElapsedTimer timer;
        timer.start();
        while (!process_.canReadLine() && timer.elapsed() < 5000)
            process_.waitForReadyRead(100);
        device_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
    }
    ~Simulator()
    {
        process_.closeWriteChannel();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(2000);
        }
    }

    // "LAN:127.0.0.1:PORT" or "PTY:/dev/pts/N".
    QString device() const { return device_; }
    QString ptyPath() const { return device_.mid(4); }
    QString folder() const { return folder_.path(); }
    QString log() const
    {
        QFile file(folder_.filePath(QStringLiteral("sim.log")));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    int countInLog(const QString& text) const { return static_cast<int>(log().count(text)); }

private:
    QTemporaryDir folder_;
    QProcess process_;
    QString device_;
};

}  // namespace vormex::test
