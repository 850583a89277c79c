#pragma once

#include "base/ControlCodes.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace vormex::sim {

// The faults the simulator can be told to show.
enum class Fault {
    None,
    Silence,       // answers nothing at all
    Garbage,       // bytes of noise before every answer
    Noise,         // noise in place of every answer: a listener that is no printer
    Split,         // every answer written in two pieces with a pause between
    WrongStatus,   // status answers carry --wrong-status-code
    BadChecksum,   // stored files and firmware blocks are answered with 57
    Drop,          // the connection is dropped after --drop-after bytes of a transfer
    Alter,         // a stored text file is acknowledged but kept with one digit changed
    Forget,        // a store is acknowledged but nothing is kept
};

// One --fault: the printer it applies to (1..count, or 0 for every printer) and the fault.
struct FaultChoice {
    int printer = 0;
    QList<FaultChoice> faults;         // as given on the command line
    Fault fault = Fault::None;         // the fault of one printer (set by forPrinter)
};

inline constexpr int kMostPrinters = 256;

// The options of the whole run; `forPrinter` gives the options one printer works with.
struct SimOptions {
    int count = 1;                     // printers served by this process
    bool usePty = false;
    QString bindAddress = QStringLiteral("127.0.0.1");  // the first printer's
    int tcpPort = 0;                   // 0: a free port chosen by the system; else the first printer's
    bool samePort = false;             // printer K listens on bindAddress + K - 1 at tcpPort
    ControlCodes codes;                // the codes short and brace commands are framed with
    int blockKb = 64;                  // storage block size: LDB counts blocks of this size
    QMap<QString, QByteArray> files;   // files held from the start: name -> text
    QString dumpFolder;                // where stored files are written, if anywhere (several printers: DIR/K)
    int statusCode = 0;                // answered to "WS" and after a good store
    bool vormexMode = true;            // mode answered to "!Q"
    QMap<int, int> statusCodes;        // --status per printer (0: every printer)
    QMap<int, bool> vormexModes;       // --mode per printer (0: every printer)
    int restartMs = 3000;              // a store restarts the printer for this long
    bool firmwareHandshake = false;    // acknowledge every firmware block with 53
    int firmwareGapMs = 1000;          // quiet time that ends a firmware block
    QList<FaultChoice> faults;         // as given on the command line
    Fault fault = Fault::None;         // the fault of one printer (set by forPrinter)
    int wrongStatusCode = 50;
    int dropAfterBytes = 1024;
    int exitAfterIdleSeconds = 0;      // 0: never
    bool watchStdin = true;            // end when standard input closes

    // The options of printer `number` (1..count): its port, dump folder and fault.
    SimOptions forPrinter(int number) const;
};

// Parses the command line; on failure (or --help) `message` says what to print and `exitCode`
// what to return.
bool parseSimOptions(const QStringList& arguments, SimOptions& options, QString& message, int& exitCode);

}  // namespace vormex::sim
