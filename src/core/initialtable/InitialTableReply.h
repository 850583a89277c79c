#pragma once

#include <QByteArray>
#include <QString>

namespace vormex {

// What the printer's answer to the read-back command "!D" holds.
struct InitialTableReply {
    enum class Kind { Failed, NoFile, Text };
    Kind kind = Kind::Failed;
    QString text;  // the stored printer default file, for Kind::Text
};

// Unframes the answer SOH STX content ETX EOT CR LF: the content is "NO FILE", or
// "ZDEFAULT.TXT", one separator character and the stored text.
InitialTableReply UnframeInitialTableReply(const QByteArray& received);

}  // namespace vormex
