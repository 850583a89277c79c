#pragma once

#include <QByteArray>
#include <QString>

// Conversions between the program's UTF-16 text and the byte code pages that the printer and
// the user's files use. Encoding never substitutes look-alikes: a character without an exact
// equivalent in the code page becomes '?'.
namespace vormex::codec {

enum class StopAtNul { No, Yes };

// The printer code page, CP932 (Windows-31J).
QByteArray toPrinterCodePage(const QString& text);
QString fromPrinterCodePage(const QByteArray& bytes, StopAtNul stop = StopAtNul::No);

// Western Windows code page, used for BASIC source read under the English setting.
QByteArray toCp1252(const QString& text);
QString fromCp1252(const QByteArray& bytes, StopAtNul stop = StopAtNul::No);

// Name of the printer code page as iconv knows it (for diagnostics).
const char* printerCodePageName();

}  // namespace vormex::codec
