#pragma once

#include "base/ControlCodes.h"

#include <QMap>
#include <QString>
#include <QStringList>

namespace vormex::sim {

// The faults the simulator can be told to show.
enum class Fault {
    None,
    Silence,       // answers nothing at all
    Garbage,       // bytes of noise before every answer
    Split,         // every answer written in two pieces with a pause between
    WrongStatus,   // status answers carry --wrong-status-code
    BadChecksum,   // stored files and firmware blocks are answered with 57
    Drop,          // the connection is dropped after --drop-after bytes of a transfer
};

struct SimOptions {
    bool usePty = false;
    QString bindAddress = QStringLiteral("127.0.0.1");
    int tcpPort = 0;                   // 0: a free port chosen by the system
    ControlCodes codes;                // the codes short and brace commands are framed with
    int blockKb = 64;                  // storage block size: LDB counts blocks of this size
    QMap<QString, QByteArray> files;   // files held from the start: name -> text
    QString dumpFolder;                // where stored files are written, if anywhere
    int statusCode = 0;                // answered to "WS" and after a good store
    bool vormexMode = true;            // mode answered to "!Q"
    int restartMs = 3000;              // a store restarts the printer for this long
    bool firmwareHandshake = false;    // acknowledge every firmware block with 53
    int firmwareGapMs = 1000;          // quiet time that ends a firmware block
    Fault fault = Fault::None;
    int wrongStatusCode = 50;
    int dropAfterBytes = 1024;
    int exitAfterIdleSeconds = 0;      // 0: never
    bool watchStdin = true;            // end when standard input closes
};

// Parses the command line; on failure (or --help) `message` says what to print and `exitCode`
// what to return.
bool parseSimOptions(const QStringList& arguments, SimOptions& options, QString& message, int& exitCode);

}  // namespace vormex::sim
