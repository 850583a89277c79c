#pragma once

#include "fleet/FleetRun.h"

#include <QStringList>

#include <memory>

namespace vormex::cli {

// Shows a fleet run on the terminal: every log line on stderr prefixed with its target's name
// ("dock-01: ..."), and, when stderr is a terminal, below them one progress line per running
// target and one for the whole fleet, redrawn in place. Ctrl-C cancels every target instead of
// killing the program.
class FleetConsole {
public:
    explicit FleetConsole(const QStringList& names);
    ~FleetConsole();
    FleetConsole(const FleetConsole&) = delete;
    FleetConsole& operator=(const FleetConsole&) = delete;

    std::shared_ptr<FleetObserver> observer() const;

    // Follows the run to its end, then writes one closing line per target. True when Ctrl-C
    // cancelled it.
    bool follow(FleetRun& run);

    struct Screen;  // the terminal, shared with the observer

private:
    std::shared_ptr<Screen> screen_;
    bool previousHandlerSaved_ = false;
};

}  // namespace vormex::cli
