#include "comm/StoreFileEnvelope.h"

#include "base/ImageChecksum.h"

namespace vormex {

QByteArray BuildStoreFileEnvelope(const QByteArray& area, const ControlCodes& codes, bool variableControlCodes)
{
    QByteArray envelope;
    envelope.reserve(area.size() + kStoreFileEnvelopeOverhead);
    envelope.append(variableControlCodes ? static_cast<char>(codes.code1) : '{');
    envelope.append("LP;", 3);
    envelope.append(area);
    envelope.append(variableControlCodes ? static_cast<char>(codes.code2) : '|');
    envelope.append(variableControlCodes ? static_cast<char>(codes.code3) : '}');
    envelope.append(static_cast<char>(ImageChecksum(area)));
    return envelope;
}

}  // namespace vormex
