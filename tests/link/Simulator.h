#pragma once

#include "comm/PrinterPort.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace vormex::test {

// The printer simulator as a child process. Its pauses run at `timeScale`; it ends when this
// object closes its standard input (or, as a safety net, after a minute without traffic).
// With "--count N" among the arguments it serves N printers: devices() lists them all.
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
        const qsizetype countAt = arguments.indexOf(QStringLiteral("--count"));
        const int count = countAt >= 0 && countAt + 1 < arguments.size() ? arguments[countAt + 1].toInt() : 1;
        QElapsedTimer timer;
        timer.start();
        while (devices_.size() < count && timer.elapsed() < 5000) {
            if (process_.canReadLine())
                devices_.append(QString::fromLocal8Bit(process_.readLine()).trimmed());
            else
                process_.waitForReadyRead(100);
        }
    }
    ~Simulator()
    {
        process_.closeWriteChannel();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(2000);
        }
    }

    // "LAN:127.0.0.1:PORT" or "PTY:/dev/pts/N"; the first printer's when there are several.
    QString device() const { return devices_.value(0); }
    QStringList devices() const { return devices_; }
    QString ptyPath() const { return device().mid(4); }
    QString folder() const { return folder_.path(); }
    // The simulator's process, to stop and continue it (a printer that freezes).
    qint64 processId() const { return process_.processId(); }
    QString log() const
    {
        QFile file(folder_.filePath(QStringLiteral("sim.log")));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    int countInLog(const QString& text) const { return static_cast<int>(log().count(text)); }
    // Waits until the log holds `text` (at most `ms` real milliseconds).
    bool waitForLog(const QString& text, int ms = 4000) const
    {
        QElapsedTimer timer;
        timer.start();
        while (countInLog(text) == 0 && timer.elapsed() < ms)
            QThread::msleep(20);
        return countInLog(text) > 0;
    }

private:
    QTemporaryDir folder_;
    QProcess process_;
    QStringList devices_;
};

// Writes `bytes` to a simulated printer ("LAN:..." or "PTY:...", the latter opened as a USB node)
// and gives what comes back up to the end of an answer frame (03 04 0D 0A), or what came within
// `waitMs` (real milliseconds). A printer that is restarting is given two seconds to listen again.
inline QByteArray exchange(const QString& device, const QByteArray& bytes, int waitMs = 4000)
{
    const bool lan = device.startsWith(QLatin1String("LAN:"));
    PrinterPort port;
    for (int attempt = 0; attempt < 20 && port.Open(lan ? QStringLiteral("LAN") : QStringLiteral("USB"), device.mid(4), false) != 1; ++attempt)
        QThread::msleep(100);
    if (port.Write(bytes) != 1)
        return {};
    QByteArray received;
    char buffer[256];
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < waitMs && !received.endsWith("\x03\x04\r\n")) {
        int count = 0;
        if (port.Read(buffer, sizeof buffer, 200, count) != 1 || count == 0)
            QThread::msleep(20);
        received.append(buffer, count);
    }
    port.Close();
    return received;
}

// The printer's answer frame around `content`.
inline QByteArray answerFrame(const QByteArray& content) { return QByteArray("\x01\x02", 2) + content + QByteArray("\x03\x04\r\n", 4); }

}  // namespace vormex::test
