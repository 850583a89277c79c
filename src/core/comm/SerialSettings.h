#pragma once

#include <QString>

#include <optional>

struct termios;

namespace vormex {

// The serial settings of a COM address "baud,data bits,parity word,stop bits".
struct SerialSettings {
    int baudRate = 0;
    int dataBits = 0;
    enum class Parity { None, Odd, Even } parity = Parity::None;
    int stopBits = 0;

    // Read interval between bytes: 100 ms up to 9600 baud, 10 ms above.
    int readIntervalMs() const { return baudRate <= 9600 ? 100 : 10; }
};

// The parity a word of the device text selects: "none" no parity, "even" even parity, any other
// word odd parity; and the word that names a parity.
SerialSettings::Parity ParityOfWord(const QString& word);
QString ParityWord(SerialSettings::Parity parity);

// Parses "9600,8,none,1". "none" gives no parity, "even" even parity, any other word odd parity.
// Fails for a baud rate other than 2400..115200 of the usual steps, data bits other than 7 or 8
// and stop bits other than 1 or 2.
std::optional<SerialSettings> ParseSerialAddress(const QString& address);

// Raw mode with the given settings; with flow control: RTS/CTS and XON/XOFF both ways.
void ApplySerialSettings(termios& tio, const SerialSettings& settings, bool flowControl);

}  // namespace vormex
