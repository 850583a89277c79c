#pragma once

#include "FileStore.h"
#include "PrinterEngine.h"
#include "RunControl.h"
#include "Server.h"
#include "SimLog.h"
#include "SimOptions.h"

#include <memory>

namespace vormex::sim {

// One printer of the process: its options, log, file store, way to be reached and protocol
// engine. Each printer is served by a thread of its own, so one that pauses or stays silent
// never delays another.
class SimulatedPrinter {
public:
    // Printer `number` (from 1) of the run; with several printers its log lines carry the number.
    SimulatedPrinter(const SimOptions& runOptions, int number);
    SimulatedPrinter(const SimulatedPrinter&) = delete;
    SimulatedPrinter& operator=(const SimulatedPrinter&) = delete;

    // Starts listening; gives the device text that reaches the printer.
    bool start(QString& deviceText, QString& error);
    // Serves until `control` is stopped; false when waiting for traffic failed.
    bool run(RunControl& control);

    const SimLog& log() const { return log_; }

private:
    SimOptions options_;
    SimLog log_;
    FileStore files_;
    std::unique_ptr<Server> server_;
    PrinterEngine engine_;
};

}  // namespace vormex::sim
