#pragma once

#include "SimOptions.h"

#include <QByteArray>
#include <QList>

namespace vormex::sim {

// Shapes what the printer sends according to the chosen fault.
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
    // True once a transfer of `bytes` should be cut off.
    bool dropNow(qsizetype bytes) const { return options_.fault == Fault::Drop && bytes > options_.dropAfterBytes; }

    static constexpr int kSplitPauseMs = 300;

private:
    const SimOptions& options_;
};

}  // namespace vormex::sim
