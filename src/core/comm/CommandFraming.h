#pragma once

#include "base/ControlCodes.h"
#include "definitions/PrinterDefinition.h"

#include <QByteArray>

namespace vormex {

// The codes that frame every command sent to `printer`: the stored choice when the printer's
// control codes are variable, else ESC, LF, NUL (type 0) whatever is stored, as its settings page
// forces. Without a printer entry the stored choice.
ControlCodes CommandCodesFor(const PrinterDefinition* printer, const ControlCodes& stored);

// The five bytes of a short command: code1, the two letters, code2, code3
// ("WS" with the default codes: 1B 57 53 0A 00).
QByteArray FrameShortCommand(const char letters[2], const ControlCodes& codes);

// A brace command ("{LDB;03,01|}"): when the printer entry allows variable control codes the
// leading "{", the "|" and the "}" become code1, code2 and code3; otherwise the braces stay.
// The text must begin with "{" and end with "|}"; other text is returned unchanged.
QByteArray FrameBraceCommand(const QByteArray& text, const ControlCodes& codes, bool variableControlCodes);

// The prepare command "{LDB;%02d,%02d|}" before a file is stored, unframed.
QByteArray PrepareCommandText(int startBlock, int blockCount);

}  // namespace vormex
