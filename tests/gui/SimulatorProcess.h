#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace vormex::gui::test {

// The printer simulator as a child process on a loopback port of its own; its pauses follow the
// test's VORMEX_TIME_SCALE. It ends when this object closes its standard input.
class SimulatorProcess {
public:
    explicit SimulatorProcess(const QStringList& arguments = {})
    {
        process_.setStandardErrorFile(folder_.filePath(QStringLiteral("sim.log")));
        process_.start(QStringLiteral(VORMEX_BIN_DIR "/vormex-printer-sim"),
                       QStringList{QStringLiteral("--exit-after-idle"), QStringLiteral("60")} + arguments);
        process_.waitForStarted(5000);
        QElapsedTimer timer;
        timer.start();
        while (!process_.canReadLine() && timer.elapsed() < 5000)
            process_.waitForReadyRead(100);
        device_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
    }
    ~SimulatorProcess()
    {
        process_.closeWriteChannel();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(2000);
        }
    }
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;

    // "LAN:127.0.0.1:PORT"
    QString device() const { return device_; }
    QString folder() const { return folder_.path(); }
    QString log() const
    {
        QFile file(folder_.filePath(QStringLiteral("sim.log")));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private:
    QTemporaryDir folder_;
    QProcess process_;
    QString device_;
};

}  // namespace vormex::gui::test
