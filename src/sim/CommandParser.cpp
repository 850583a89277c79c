#include "CommandParser.h"

namespace vormex::sim {
namespace {

constexpr qsizetype kLongestBraceText = 64;
constexpr qsizetype kFirmwareRequestSize = 13;

bool isShortLetters(const QByteArray& letters)
{
    static const char* const known[] = {"!Z", "!T", "!Q", "WS", "!B", "!D"};
    for (const char* entry : known)
        if (letters == entry)
            return true;
    return false;
}

}  // namespace

void CommandParser::reset()
{
    buffer_.clear();
    storeAreaSize_ = 0;
    firmwareExpected_ = false;
    firmwareMode_ = false;
}

bool CommandParser::isStart(char byte) const
{
    return byte == static_cast<char>(codes_.code1) || byte == 0x1B || byte == '{';
}

bool CommandParser::isTerminator(char first, char second) const
{
    return (first == static_cast<char>(codes_.code2) && second == static_cast<char>(codes_.code3))
        || (first == 0x0A && second == 0x00) || (first == '|' && second == '}');
}

ReceivedCommand CommandParser::take(ReceivedCommand::Kind kind, qsizetype length)
{
    ReceivedCommand command;
    command.kind = kind;
    command.raw = buffer_.left(length);
    buffer_.remove(0, length);
    return command;
}

std::optional<ReceivedCommand> CommandParser::next()
{
    if (buffer_.isEmpty())
        return std::nullopt;
    if (firmwareMode_)
        return take(ReceivedCommand::Kind::FirmwareData, buffer_.size());
    if (!isStart(buffer_[0])) {
        qsizetype end = 1;
        while (end < buffer_.size() && !isStart(buffer_[end]))
            ++end;
        return take(ReceivedCommand::Kind::Noise, end);
    }
    if (buffer_.size() < 4)
        return std::nullopt;
    const QByteArray head = buffer_.mid(1, 3);
    if (head == "LP;") {
        if (firmwareExpected_) {
            firmwareExpected_ = false;
            firmwareMode_ = true;
            return take(ReceivedCommand::Kind::FirmwarePrefix, 4);
        }
        if (storeAreaSize_ <= 0)
            return take(ReceivedCommand::Kind::UnknownStore, buffer_.size());
        const qsizetype total = 4 + storeAreaSize_ + 3;
        if (buffer_.size() < total)
            return std::nullopt;
        ReceivedCommand command = take(ReceivedCommand::Kind::StoreFile, total);
        command.area = command.raw.mid(4, storeAreaSize_);
        command.terminatorOk = isTerminator(command.raw[4 + storeAreaSize_], command.raw[5 + storeAreaSize_]);
        command.checksum = static_cast<unsigned char>(command.raw[6 + storeAreaSize_]);
        storeAreaSize_ = 0;
        return command;
    }
    if (head == "LD;") {
        if (buffer_.size() < kFirmwareRequestSize)
            return std::nullopt;
        ReceivedCommand command = take(ReceivedCommand::Kind::FirmwareRequest, kFirmwareRequestSize);
        command.text = command.raw.mid(4, 4);  // the start address, big-endian
        return command;
    }
    if (buffer_.size() >= 5 && isShortLetters(buffer_.mid(1, 2)) && isTerminator(buffer_[3], buffer_[4])) {
        ReceivedCommand command = take(ReceivedCommand::Kind::Short, 5);
        command.text = command.raw.mid(1, 2);
        return command;
    }
    for (qsizetype i = 1; i + 1 < buffer_.size() && i <= kLongestBraceText; ++i) {
        if (isTerminator(buffer_[i], buffer_[i + 1])) {
            ReceivedCommand command = take(ReceivedCommand::Kind::Brace, i + 2);
            command.text = command.raw.mid(1, i - 1);
            return command;
        }
    }
    if (buffer_.size() > kLongestBraceText + 1)
        return take(ReceivedCommand::Kind::Noise, 1);
    return std::nullopt;
}

}  // namespace vormex::sim
