#include "FakePrinter.h"

#include <QFile>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>

namespace vormex::test {

QByteArray shortCommand(const char letters[2], const ControlCodes& codes)
{
    QByteArray bytes;
    bytes.append(static_cast<char>(codes.code1));
    bytes.append(letters, 2);
    bytes.append(static_cast<char>(codes.code2));
    bytes.append(static_cast<char>(codes.code3));
    return bytes;
}

QByteArray withoutQueries(QByteArray bytes, const ControlCodes& codes)
{
    bytes.replace(shortCommand("WS", codes), QByteArray());
    bytes.replace(shortCommand("!Q", codes), QByteArray());
    return bytes;
}

std::unique_ptr<FakePrinter> FakePrinter::Lan(FakePrinterBehaviour behaviour)
{
    std::unique_ptr<FakePrinter> printer(new FakePrinter(std::move(behaviour)));
    printer->listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int on = 1;
    ::setsockopt(printer->listenFd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    ::bind(printer->listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(printer->listenFd_, 4);
    socklen_t length = sizeof address;
    ::getsockname(printer->listenFd_, reinterpret_cast<sockaddr*>(&address), &length);
    printer->address_ = QStringLiteral("127.0.0.1:%1").arg(ntohs(address.sin_port));
    printer->start();
    return printer;
}

std::unique_ptr<FakePrinter> FakePrinter::Pty(FakePrinterBehaviour behaviour)
{
    std::unique_ptr<FakePrinter> printer(new FakePrinter(std::move(behaviour)));
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    ::grantpt(master);
    ::unlockpt(master);
    printer->address_ = QString::fromLocal8Bit(::ptsname(master));
    printer->slaveFd_ = ::open(::ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    ::tcgetattr(printer->slaveFd_, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(printer->slaveFd_, TCSANOW, &tio);
    printer->clientFd_ = master;
    printer->stream_ = true;
    printer->start();
    return printer;
}

std::unique_ptr<FakePrinter> FakePrinter::Fifo(FakePrinterBehaviour behaviour, const QString& path)
{
    std::unique_ptr<FakePrinter> printer(new FakePrinter(std::move(behaviour)));
    const QByteArray name = QFile::encodeName(path);
    ::mkfifo(name.constData(), 0600);
    printer->clientFd_ = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    // A writer of our own keeps the FIFO from reporting end of file between two opens.
    printer->slaveFd_ = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    printer->address_ = path;
    printer->stream_ = true;
    printer->writeOnly_ = true;
    printer->start();
    return printer;
}

FakePrinter::~FakePrinter()
{
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    for (int fd : {listenFd_, clientFd_, slaveFd_})
        if (fd >= 0)
            ::close(fd);
}

QByteArray FakePrinter::received() const
{
    std::lock_guard lock(mutex_);
    return QByteArray(received_.constData(), received_.size());  // deep: the printer keeps appending
}

void FakePrinter::start() { thread_ = std::thread([this] { run(); }); }

void FakePrinter::closeClient()
{
    if (clientFd_ >= 0)
        ::close(clientFd_);
    clientFd_ = -1;
}

void FakePrinter::run()
{
    char buffer[65536];
    while (!stop_.load()) {
        pollfd fds[2];
        int count = 0;
        if (clientFd_ >= 0)
            fds[count++] = {clientFd_, POLLIN, 0};
        if (listenFd_ >= 0 && !dropped_)
            fds[count++] = {listenFd_, POLLIN, 0};
        if (::poll(fds, static_cast<nfds_t>(count), 5) <= 0)
            continue;
        for (int i = 0; i < count; ++i) {
            if (fds[i].fd == listenFd_ && (fds[i].revents & POLLIN)) {
                const int accepted = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
                if (accepted >= 0) {
                    closeClient();  // the tool opens one connection at a time
                    clientFd_ = accepted;
                    ++connections_;
                }
            } else if (fds[i].fd == clientFd_ && (fds[i].revents & (POLLIN | POLLHUP | POLLERR))) {
                const ssize_t got = ::read(clientFd_, buffer, sizeof buffer);
                if (got > 0)
                    take(buffer, got);
                else if (!stream_ && got == 0)
                    closeClient();
                else if (stream_)
                    ::usleep(2000);
            }
        }
    }
}

void FakePrinter::take(const char* data, qint64 count)
{
    {
        std::lock_guard lock(mutex_);
        received_.append(data, count);
    }
    if (behaviour_.dropAfterBytes >= 0 && received_.size() >= behaviour_.dropAfterBytes && !dropped_) {
        dropped_ = true;
        closeClient();
        if (listenFd_ >= 0)
            ::close(listenFd_);
        listenFd_ = -1;
        return;
    }
    answerQueries();
    answerFirmware();
}

void FakePrinter::reply(const QByteArray& sevenCharacters)
{
    if (clientFd_ < 0 || writeOnly_)
        return;
    QByteArray frame("\x01\x02", 2);
    frame += sevenCharacters.leftJustified(7, ' ', true);
    frame += QByteArray("\x03\x04\r\n", 4);
    [[maybe_unused]] const ssize_t written = ::write(clientFd_, frame.constData(), static_cast<size_t>(frame.size()));
}

void FakePrinter::answerQueries()
{
    if (!behaviour_.answerQueries)
        return;
    const QByteArray status = shortCommand("WS", behaviour_.codes);
    const QByteArray mode = shortCommand("!Q", behaviour_.codes);
    while (true) {
        const qsizetype atStatus = received_.indexOf(status, scanned_);
        const qsizetype atMode = received_.indexOf(mode, scanned_);
        if (atStatus < 0 && atMode < 0)
            return;
        const bool isMode = atStatus < 0 || (atMode >= 0 && atMode < atStatus);
        scanned_ = (isMode ? atMode : atStatus) + 5;
        ++queriesAnswered_;
        reply(isMode ? QByteArray("VORMEX") : behaviour_.statusText);
    }
}

void FakePrinter::answerFirmware()
{
    if (behaviour_.blockSizes.empty() || firmwareEnded_)
        return;
    if (firmwareStart_ < 0) {
        QByteArray request;
        request.append(static_cast<char>(behaviour_.codes.code1));
        request.append("LD;");
        const qsizetype at = received_.indexOf(request);
        if (at < 0 || received_.size() < at + 13 + 4)
            return;
        firmwareStart_ = at + 13 + 4;
    }
    if (!readyAnswered_) {
        readyAnswered_ = true;
        if (behaviour_.readyStatus == 0) {
            firmwareEnded_ = true;
            return;
        }
        reply(QByteArray::number(behaviour_.readyStatus) + "1");
    }
    const qint64 image = received_.size() - firmwareStart_;
    qint64 boundary = 0;
    for (size_t i = 0; i < blocksAnswered_; ++i)
        boundary += behaviour_.blockSizes[i];
    while (blocksAnswered_ < behaviour_.blockSizes.size()) {
        const qint64 next = boundary + behaviour_.blockSizes[blocksAnswered_];
        if (image < next)
            return;
        boundary = next;
        const bool last = blocksAnswered_ + 1 == behaviour_.blockSizes.size();
        const int index = static_cast<int>(blocksAnswered_++);
        if (index == behaviour_.faultAtBlock) {
            reply(QByteArray::number(behaviour_.faultStatus) + "1");
            firmwareEnded_ = true;
            return;
        }
        if (last) {
            reply(QByteArray::number(behaviour_.writtenStatus) + "1");
            firmwareEnded_ = true;
            return;
        }
        if (behaviour_.blockAcks)
            reply(QByteArray::number(behaviour_.blockStatus) + "1");
    }
}

}  // namespace vormex::test
