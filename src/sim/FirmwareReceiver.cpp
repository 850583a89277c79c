#include "FirmwareReceiver.h"

namespace vormex::sim {

void FirmwareReceiver::request(const QByteArray& addressBytes)
{
    reset();
    for (char byte : addressBytes)
        startAddress_ = (startAddress_ << 8) | static_cast<unsigned char>(byte);
}

void FirmwareReceiver::data(qsizetype bytes)
{
    blockBytes_ += bytes;
    totalBytes_ += bytes;
}

qsizetype FirmwareReceiver::endBlock()
{
    const qsizetype size = blockBytes_;
    blockBytes_ = 0;
    return size;
}

}  // namespace vormex::sim
