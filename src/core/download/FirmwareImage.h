#pragma once

#include "base/ControlCodes.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace vormex {

// A firmware file made ready to send: the store command prefix and the image, the 13-byte
// request built from the image's trailer, and the start address the trailer names.
struct PreparedFirmware {
    int result = 0;                 // 1 prepared, 0 refused
    QByteArray image;               // code1 "LP;" followed by the file (without an "AR" header)
    QByteArray request;             // code1 "LD;" address(4) "," two bytes code2 code3
    std::uint32_t startAddress = 0;
    QString error;                  // why it was refused
};

// Reads and prepares a firmware file. A file whose second and third bytes are "AR" loses its
// first 288 bytes first. A file shorter than 252 bytes (too short for the start address) is
// refused.
PreparedFirmware PrepareFirmwareImage(const QString& path, const ControlCodes& codes);

// The bytes of a prepared image that are sent: everything after the 4-byte prefix, with the bit
// of value 256 of the count cleared (so a trailing 256-byte trailer stays behind).
qint64 FirmwareBytesInTotal(qint64 preparedLength);

// What the download page shows of a prepared image's trailer (empty texts when the image is
// shorter than 256 bytes).
struct FirmwareTrailer {
    bool present = false;
    QString model;    // 12 bytes at -208, trimmed
    QString version;  // 5 bytes at -192, trimmed
    QString date;     // 9 bytes at -224 shown month.day.year, or empty
    QString address;  // 4 bytes at -252, "%08X"
    QString size;     // 4 bytes at -256, "%08X"
};
FirmwareTrailer ReadFirmwareTrailer(const QByteArray& preparedImage);

}  // namespace vormex
