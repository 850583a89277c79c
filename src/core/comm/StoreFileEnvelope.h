#pragma once

#include "base/ControlCodes.h"

#include <QByteArray>

namespace vormex {

// The store-file command that carries a file's data area to the printer:
//   "{" "LP;" area "|" "}" checksum        (area + 7 bytes)
// The checksum covers the area only. When the printer entry allows variable control codes, the
// first byte, the bar and the closing brace are the current codes instead.
QByteArray BuildStoreFileEnvelope(const QByteArray& area, const ControlCodes& codes, bool variableControlCodes);

inline constexpr int kStoreFileEnvelopeOverhead = 7;

}  // namespace vormex
