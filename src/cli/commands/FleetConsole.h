#pragma once

#include "fleet/FleetRun.h"
#include "fleet/FleetSetup.h"

#include <QStringList>

#include <memory>

namespace vormex::cli {

// Shows a fleet run on stderr. Every log line comes prefixed with its target's name
// ("dock-01: ..."); on a terminal instead one progress line per running target (its job's
// progress and its last log line) and one for the whole fleet, redrawn in place. Each target's
// closing line ("dock-01: ok (41.2 s)", "dock-02: failed (12.0 s): ...", "dock-03: unchanged
// (0.4 s)") stays. Ctrl-C (SIGINT)
// and SIGTERM cancel every target instead of killing the program.
class FleetConsole {
public:
    FleetConsole(const QStringList& names, FleetAction action);
    ~FleetConsole();
    FleetConsole(const FleetConsole&) = delete;
    FleetConsole& operator=(const FleetConsole&) = delete;

    std::shared_ptr<FleetObserver> observer() const;

    // Follows the run to its end; a target that never ran gets its closing line then. Gives the
    // signal that cancelled it (SIGINT or SIGTERM), 0 when none did.
    int follow(FleetRun& run);

    struct Screen;  // the terminal, shared with the observer

private:
    std::shared_ptr<Screen> screen_;
    bool previousHandlersSaved_[2] = {false, false};  // SIGINT, SIGTERM
};

}  // namespace vormex::cli
