#pragma once

#include "base/StringTable.h"
#include "definitions/PrinterDefinition.h"
#include "discovery/FoundDevice.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace vormex {

namespace strings {
inline constexpr int kPrinterReady = 320000;  // the text of status 0
}  // namespace strings

// "VORMEX", "KIRN", or "-" when the printer did not say.
QString ModeWord(int mode);

// The text of a status a scan shows: status 0 is the printer's ready state, every other code the
// text the downloads show for it ("Printer error (07)", ...).
QString ScanStatusText(int status, const StringTable& strings);

// One device as `vormexctl scan` and `status` print it, the fields two blanks apart: the device
// text, the mode, the status code and its text, and the model where known
// ("LAN:192.168.10.21:8000  VORMEX  00 Ready"); unknown fields are "-". A listener that is no
// printer: "LAN:192.168.10.30:8000  not a printer" (or "silent").
QString ScanLine(const FoundDevice& device, const StringTable& strings);

// The last line on standard error: "8 printers found among 30 addresses in 0.43 s".
QString ScanSummary(int printers, int addresses, double seconds);

// The scan as JSON: {"printers": [{"device", "mode", "status", "status_text", "model"}],
// "addresses": M, "seconds": S}; a value not known is null. Listeners that are no printer (when
// listed) go to "others": [{"device", "state": "not a printer"|"silent"}].
QByteArray ScanJson(const QList<FoundDevice>& devices, int addresses, double seconds, const StringTable& strings);

// The printers as a targets file for `apply` and `backup` ("name,device,printer"): names made
// from the address ("p-192-168-10-21", with "-PORT" when one address has printers at several
// ports; "p-usb-lp0"), the printer column filled where the model is a printer of `definitions`.
QByteArray ScanTargetsCsv(const QList<FoundDevice>& devices, const PrinterDefinitions& definitions);

}  // namespace vormex
