#pragma once

// The built programs as the benchmarks start them: the printer simulator (one or several
// printers) and vormexctl, whose wall time and peak resident memory are measured.
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStringList>

#include <chrono>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace vormex::bench {

inline QString binPath(const char* name) { return QStringLiteral(VORMEX_BIN_DIR "/") + QLatin1String(name); }
inline QString definitionFile() { return binPath("VORMEX Setting Tool Parameter-JPN.XML"); }

// The simulator as a child process; with "--count N" among the arguments, N printers.
class Simulator {
public:
    Simulator(const QStringList& arguments, const char* timeScale)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("VORMEX_TIME_SCALE"), QLatin1String(timeScale));
        process_.setProcessEnvironment(environment);
        process_.setStandardErrorFile(QProcess::nullDevice());
        process_.start(binPath("vormex-printer-sim"), arguments);
        process_.waitForStarted(5000);
        const qsizetype countAt = arguments.indexOf(QStringLiteral("--count"));
        const int count = countAt >= 0 && countAt + 1 < arguments.size() ? arguments[countAt + 1].toInt() : 1;
        for (int i = 0; i < 100 && devices_.size() < count; ++i) {
            while (process_.canReadLine() && devices_.size() < count)
                devices_ << QString::fromLocal8Bit(process_.readLine()).trimmed();
            if (devices_.size() < count)
                process_.waitForReadyRead(100);
        }
    }
    ~Simulator()
    {
        process_.closeWriteChannel();
        if (!process_.waitForFinished(5000))
            process_.kill();
        process_.waitForFinished(2000);
    }
    QString device() const { return devices_.value(0); }
    QStringList devices() const { return devices_; }

private:
    QProcess process_;
    QStringList devices_;
};

struct ToolRun {
    int exitCode = -1;
    double seconds = 0;
    long maxRssKb = 0;
};

// Runs vormexctl with its own time scale, its stderr discarded, and measures its wall time and
// peak resident memory.
inline ToolRun runTool(const QStringList& arguments, const char* timeScale)
{
    std::vector<QByteArray> words{QFile::encodeName(binPath("vormexctl"))};
    for (const QString& argument : arguments)
        words.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    std::vector<QByteArray> environment{QByteArray("VORMEX_TIME_SCALE=") + timeScale};
    for (char** variable = environ; *variable; ++variable)
        if (!QByteArray(*variable).startsWith("VORMEX_TIME_SCALE="))
            environment.emplace_back(*variable);
    std::vector<char*> envp;
    for (QByteArray& variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);

    ToolRun run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return run;
    }
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    posix_spawn_file_actions_destroy(&actions);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.maxRssKb = usage.ru_maxrss;
    return run;
}

}  // namespace vormex::bench
