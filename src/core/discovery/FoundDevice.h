#pragma once

#include "comm/AnswerFrame.h"
#include "discovery/PrinterProbe.h"

#include <QString>

#include <cstdint>

namespace vormex {

// One device a scan lists: a printer, or (when every listener is asked for) a listener that is
// no printer.
struct FoundDevice {
    enum class Kind { Lan, Usb };
    Kind kind = Kind::Lan;
    // The device text to reach it, as --device, a manifest and the printer settings page take it:
    // "LAN:192.168.10.21:8000", "LAN:printer-07.example:8000", "USB:/dev/usb/lp0".
    QString device;
    std::uint32_t ipv4 = 0;  // LAN: the address probed
    int port = 0;            // LAN: the TCP port
    QString host;            // LAN: the host name the address was given by, if any
    int usbNumber = -1;      // USB: N of the node lpN
    ProbeOutcome outcome = ProbeOutcome::Printer;
    int mode = kNoAnswer;    // kAnswerVormex, kAnswerKirn or none (USB printers are not asked)
    int status = kNoAnswer;  // 0..99 or none
    QString model;           // USB: the model of the device ID; empty where not known

    bool isPrinter() const { return outcome == ProbeOutcome::Printer; }
};

// The order of a scan's list: by address and port, the USB printers after the network ones.
bool ScanOrder(const FoundDevice& a, const FoundDevice& b);

}  // namespace vormex
