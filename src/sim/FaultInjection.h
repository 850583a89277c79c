#pragma once

#include "SimOptions.h"

#include <QByteArray>
#include <QList>

namespace vormex::sim {

// Shapes what the printer sends, and what it keeps, according to its fault.
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
    bool alters() const { return options_.fault == Fault::Alter; }
    bool forgets() const { return options_.fault == Fault::Forget; }

    // The text an altering printer keeps: the last digit of the text's first run of digits
    // changed, 0 to 8 by one up and 9 to 8, so numbers keep their width. `position` receives the
    // changed byte's offset in the text, -1 when the text has no digit (it is kept as it is).
    static QByteArray alteredText(const QByteArray& text, qsizetype& position);

    static constexpr int kSplitPauseMs = 300;

private:
    const SimOptions& options_;
};

}  // namespace vormex::sim
