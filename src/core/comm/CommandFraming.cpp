#include "comm/CommandFraming.h"

#include <cstdio>

namespace vormex {

ControlCodes CommandCodesFor(const PrinterDefinition* printer, const ControlCodes& stored)
{
    if (printer && !printer->variableControlCodes)
        return ControlCodes::forType(0);
    return stored;
}

QByteArray FrameShortCommand(const char letters[2], const ControlCodes& codes)
{
    QByteArray bytes(5, '\0');
    bytes[0] = static_cast<char>(codes.code1);
    bytes[1] = letters[0];
    bytes[2] = letters[1];
    bytes[3] = static_cast<char>(codes.code2);
    bytes[4] = static_cast<char>(codes.code3);
    return bytes;
}

QByteArray FrameBraceCommand(const QByteArray& text, const ControlCodes& codes, bool variableControlCodes)
{
    if (!variableControlCodes || text.size() < 3 || !text.startsWith('{') || !text.endsWith("|}"))
        return text;
    QByteArray framed = text;
    framed[0] = static_cast<char>(codes.code1);
    framed[framed.size() - 2] = static_cast<char>(codes.code2);
    framed[framed.size() - 1] = static_cast<char>(codes.code3);
    return framed;
}

QByteArray PrepareCommandText(int startBlock, int blockCount)
{
    char text[48];
    const int length = std::snprintf(text, sizeof text, "{LDB;%02d,%02d|}", startBlock, blockCount);
    return QByteArray(text, length);
}

}  // namespace vormex
