#pragma once

#include "SimOptions.h"

#include <QByteArray>
#include <QList>

namespace vormex::sim {

// Shapes what the printer sends according to its fault.
class FaultInjection {
public:
    explicit FaultInjection(const SimOptions& options) : options_(options) {}

    bool silent() const { return options_.fault == Fault::Silence; }
    // The pieces an answer goes out in (written with a pause between them).
    QList<QByteArray> pieces(const QByteArray& answer) const;
    // The status code answered where `normal` would be.
    int status(int normal) const;
    // The status code after a stored file or a firmware block.
    int transferStatus(int normal) const;
    // With the drop fault: the bytes of a transfer taken before the line goes dead; -1 without.
    qsizetype dropAfterBytes() const { return options_.fault == Fault::Drop ? options_.dropAfterBytes : -1; }

    static constexpr int kSplitPauseMs = 300;

private:
    const SimOptions& options_;
};

}  // namespace vormex::sim
