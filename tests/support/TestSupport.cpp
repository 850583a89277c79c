#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <vector>

#include <csignal>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

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

namespace {

// In a child before its program starts: files may not grow beyond the limit, and a write past it
// fails instead of ending the process.
void limitFileSize(qint64 limitBytes)
{
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{static_cast<rlim_t>(limitBytes), static_cast<rlim_t>(limitBytes)};
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

}  // namespace

ProcessResult runProgram(const QString& name, const QStringList& arguments, int timeoutMs, const QByteArray& standardInput)
{
    RunOptions options;
    options.timeoutMs = timeoutMs;
    options.standardInput = standardInput;
    return runProgram(name, arguments, options);
}

ProcessResult runProgram(const QString& name, const QStringList& arguments, const RunOptions& options)
{
    QProcess process;
    if (options.fileSizeLimit >= 0)
        process.setChildProcessModifier([limit = options.fileSizeLimit] { limitFileSize(limit); });
    if (!options.standardOutputFile.isEmpty())
        process.setStandardOutputFile(options.standardOutputFile);
    process.start(programPath(name), arguments);
    ProcessResult result;
    if (!process.waitForStarted(10000))
        return result;
    if (!options.standardInput.isEmpty())
        process.write(options.standardInput);
    process.closeWriteChannel();
    if (!process.waitForFinished(options.timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

bool runWithFileSizeLimit(qint64 limitBytes, const std::function<bool()>& body)
{
    const pid_t child = ::fork();
    if (child == 0) {
        limitFileSize(limitBytes);
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child)
        return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

ProcessResult runOnTerminal(const QString& name, const QStringList& arguments, unsigned short columns)
{
    ProcessResult result;
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
        return result;
    const int slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
    winsize size{};
    size.ws_col = columns;
    size.ws_row = 24;
    ::ioctl(slave, TIOCSWINSZ, &size);
    termios tio{};
    ::tcgetattr(slave, &tio);
    tio.c_oflag &= ~tcflag_t(OPOST);
    ::tcsetattr(slave, TCSANOW, &tio);

    const QByteArray program = QFile::encodeName(programPath(name));
    std::vector<QByteArray> words{program};
    for (const QString& argument : arguments)
        words.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(slave, STDOUT_FILENO);
        ::dup2(slave, STDERR_FILENO);
        ::close(master);
        ::close(slave);
        ::execv(program.constData(), argv.data());
        ::_exit(127);
    }
    ::close(slave);
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(master, buffer, sizeof buffer);
        if (got <= 0)
            break;  // EIO once the program has ended and closed its side
        result.out.append(buffer, got);
    }
    ::close(master);
    int status = 0;
    ::waitpid(child, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace vormex::test
