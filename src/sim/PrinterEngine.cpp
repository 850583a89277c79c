#include "PrinterEngine.h"

#include "base/ImageChecksum.h"
#include "SimLog.h"

#include <cstdio>

namespace vormex::sim {
namespace {

// No printer memory is larger than this: a prepare command asking for more is not served.
constexpr long long kLargestStoreArea = 256LL * 1024 * 1024;

QByteArray frame(const QByteArray& content) { return QByteArray("\x01\x02", 2) + content + QByteArray("\x03\x04\r\n", 4); }

QString describeShort(const QByteArray& letters)
{
    if (letters == "!Z") return QStringLiteral("VORMEX on");
    if (letters == "!T") return QStringLiteral("VORMEX off");
    if (letters == "!Q") return QStringLiteral("mode query");
    if (letters == "WS") return QStringLiteral("status request");
    if (letters == "!B") return QStringLiteral("send system parameter file");
    if (letters == "!D") return QStringLiteral("send default file");
    return QStringLiteral("?");
}

}  // namespace

PrinterEngine::PrinterEngine(const SimOptions& options, FileStore& files, Transport& transport, const SimLog& log)
    : options_(options), files_(files), transport_(transport), log_(log), parser_(options.codes), faults_(options),
      vormexMode_(options.vormexMode)
{
}

void PrinterEngine::connectionOpened()
{
    parser_.reset();
    firmware_.reset();
    firmwareGap_.reset();
    transferBytes_ = 0;
    preparedBlocks_ = 0;
}

void PrinterEngine::received(const QByteArray& bytes)
{
    const qsizetype dropAfter = faults_.dropAfterBytes();
    QByteArray rest = bytes;
    while (!rest.isEmpty()) {
        if (dropAfter < 0 || !inTransfer()) {
            rest = parse(rest);
            continue;
        }
        if (transferBytes_ >= dropAfter) {
            hangUp();
            return;
        }
        const QByteArray taken = rest.left(dropAfter - transferBytes_);
        rest.remove(0, taken.size());
        transferBytes_ += taken.size();
        rest.prepend(parse(taken));
    }
    // A command that stays incomplete (fewer blocks than prepared) is given up after a gap.
    if (!parser_.firmwareMode() && parser_.pending() > 0)
        incompleteGap_.emplace(options_.firmwareGapMs);
    else
        incompleteGap_.reset();
}

QByteArray PrinterEngine::parse(const QByteArray& bytes)
{
    parser_.append(bytes);
    bool wasInTransfer = inTransfer();
    while (std::optional<ReceivedCommand> command = parser_.next()) {
        handle(*command);
        if (!wasInTransfer && inTransfer() && faults_.dropAfterBytes() >= 0)
            return parser_.takePending();
        wasInTransfer = inTransfer();
    }
    return {};
}

void PrinterEngine::hangUp()
{
    log_.line(QStringLiteral("fault: hanging up after %1 bytes of a transfer").arg(transferBytes_));
    connectionOpened();
    incompleteGap_.reset();
    transport_.hangUp();
}

int PrinterEngine::timerDueMs() const
{
    int due = -1;
    for (const auto& deadline : {firmwareGap_, incompleteGap_})
        if (deadline)
            due = due < 0 ? deadline->remainingMs() : std::min(due, deadline->remainingMs());
    return due;
}

void PrinterEngine::onTimer()
{
    if (incompleteGap_ && incompleteGap_->expired()) {
        incompleteGap_.reset();
        log_.line(QStringLiteral("incomplete command given up after %1 bytes: format error").arg(parser_.pending()));
        parser_.reset();
        preparedBlocks_ = 0;
        transferBytes_ = 0;
        sendStatus(faults_.status(51));
    }
    if (!firmwareGap_ || !firmwareGap_->expired())
        return;
    firmwareGap_.reset();
    if (!firmware_.blockPending())
        return;
    const qsizetype block = firmware_.endBlock();
    const bool acknowledgeBlock = options_.firmwareHandshake || !transport_.isNetwork();
    log_.line(QStringLiteral("firmware block of %1 bytes (%2 in all)").arg(block).arg(firmware_.totalBytes()));
    sendStatus(faults_.transferStatus(acknowledgeBlock ? 53 : 56));
}

void PrinterEngine::handle(const ReceivedCommand& command)
{
    using Kind = ReceivedCommand::Kind;
    switch (command.kind) {
    case Kind::Short:
        log_.line(QStringLiteral("<- %1 (%2)").arg(readable(command.raw), describeShort(command.text)));
        handleShort(command.text);
        break;
    case Kind::Brace:
        log_.line(QStringLiteral("<- %1").arg(readable(command.raw)));
        handleBrace(command.text);
        break;
    case Kind::StoreFile:
        handleStoreFile(command);
        break;
    case Kind::UnknownStore:
        log_.line(QStringLiteral("<- store-file command without a prepare command (%1 bytes): format error").arg(command.raw.size()));
        sendStatus(faults_.status(51));
        break;
    case Kind::FirmwareRequest:
        firmware_.request(command.text);
        parser_.expectFirmware(true);
        log_.line(QStringLiteral("<- firmware request, start address 0x%1").arg(firmware_.startAddress(), 0, 16));
        break;
    case Kind::FirmwarePrefix:
        firmware_.start();
        transferBytes_ = 0;
        log_.line(QStringLiteral("<- firmware store command"));
        sendStatus(faults_.status(52));
        break;
    case Kind::FirmwareData:
        firmware_.data(command.raw.size());
        firmwareGap_.emplace(options_.firmwareGapMs);
        break;
    case Kind::Noise:
        log_.line(QStringLiteral("<- data %1").arg(readable(command.raw)));
        break;
    }
}

void PrinterEngine::handleShort(const QByteArray& letters)
{
    if (letters == "WS") {
        sendStatus(faults_.status(options_.statusCode));
    } else if (letters == "!Q") {
        sendAnswer(vormexMode_ ? "VORMEX " : "KIRN   ");
    } else if (letters == "!Z") {
        vormexMode_ = true;
    } else if (letters == "!T") {
        vormexMode_ = false;
    } else if (letters == "!B") {
        sendFile(QStringLiteral("QUILLPRM.TXT"));
    } else if (letters == "!D") {
        sendFile(QStringLiteral("ZDEFAULT.TXT"));
    }
}

void PrinterEngine::handleBrace(const QByteArray& text)
{
    int start = 0, count = 0;
    if (text.startsWith("LDB;") && std::sscanf(text.constData() + 4, "%d,%d", &start, &count) == 2) {
        // The count comes from the sender: a negative or huge one prepares nothing.
        const long long areaBytes = static_cast<long long>(count) * options_.blockKb * 1024;
        if (count < 0 || areaBytes > kLargestStoreArea) {
            log_.line(QStringLiteral("prepare command for %1 block(s) ignored").arg(count));
            return;
        }
        preparedBlocks_ = count;
        transferBytes_ = 0;
        parser_.setStoreAreaSize(static_cast<int>(areaBytes));
        log_.line(QStringLiteral("prepared %1 block(s) of %2 KB from block %3").arg(count).arg(options_.blockKb).arg(start));
    } else if (text.startsWith("XF")) {
        log_.line(QStringLiteral("memory allocation %1").arg(QString::fromLatin1(text)));
    }
}

void PrinterEngine::handleStoreFile(const ReceivedCommand& command)
{
    const unsigned char expected = ImageChecksum(command.area);
    log_.line(QStringLiteral("<- store-file command, %1 bytes of data, checksum %2 (expected %3)")
                .arg(command.area.size()).arg(command.checksum).arg(expected));
    preparedBlocks_ = 0;
    transferBytes_ = 0;
    if (!command.terminatorOk) {
        log_.line(QStringLiteral("the data does not end where the prepared blocks end: format error"));
        sendStatus(faults_.status(51));
        return;
    }
    if (command.checksum != expected) {
        log_.line(QStringLiteral("the checksum does not match the data: checksum error"));
        sendStatus(faults_.status(57));
        return;
    }
    QString problem;
    const std::optional<DataArea> file = DataArea::read(command.area, problem);
    if (!file) {
        log_.line(problem + QStringLiteral(": format error"));
        sendStatus(faults_.status(51));
        return;
    }
    keep(*file);
    sendStatus(faults_.transferStatus(options_.statusCode));
    parser_.reset();
    transport_.restart(options_.restartMs);
}

void PrinterEngine::keep(const DataArea& file)
{
    if (faults_.forgets()) {
        files_.remove(file.name);
        log_.line(QStringLiteral("fault: %1 (%2) acknowledged but not kept").arg(file.name, file.describe()));
        return;
    }
    qsizetype changed = -1;
    const QByteArray content = faults_.alters() && !file.isProgram() ? FaultInjection::alteredText(file.content, changed) : file.content;
    files_.store(file.name, content);
    log_.line(QStringLiteral("stored %1 (%2)").arg(file.name, file.describe()));
    if (changed >= 0)
        log_.line(QStringLiteral("fault: kept with byte %1 of the text changed from '%2' to '%3'")
                      .arg(changed).arg(QLatin1Char(file.content[changed])).arg(QLatin1Char(content[changed])));
    else if (faults_.alters())
        log_.line(QStringLiteral("fault: nothing to alter, kept as sent"));
}

void PrinterEngine::sendAnswer(const QByteArray& content)
{
    const QList<QByteArray> pieces = faults_.pieces(frame(content));
    if (pieces.isEmpty()) {
        log_.line(QStringLiteral("fault: no answer"));
        return;
    }
    // Every piece is logged as it goes out, noise included.
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            pacing::pause(FaultInjection::kSplitPauseMs);
        log_.line(QStringLiteral("-> %1").arg(readable(pieces[i])));
        transport_.write(pieces[i]);
    }
}

void PrinterEngine::sendStatus(int code)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d1    ", code % 100);
    sendAnswer(QByteArray(text, 7));
}

void PrinterEngine::sendFile(const QString& name)
{
    if (!files_.contains(name)) {
        sendAnswer("NO FILE");
        return;
    }
    sendAnswer(name.toLatin1() + ',' + files_.text(name));
}

}  // namespace vormex::sim
