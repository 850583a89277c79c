#include "basic/NameBytes.h"

#include "base/Numbers.h"
#include "codec/Codec.h"

namespace vormex::basic {

QByteArray nameBytes(const QString& name)
{
    for (const QChar c : name) {
        if (c.unicode() >= 0x80)
            return codec::toPrinterCodePage(name);
    }
    return name.toLatin1();
}

std::uint32_t leadingDecimal(QStringView text) { return std::uint32_t(ScanDigits(text, 0xFFFFFFFFu).value); }

}  // namespace vormex::basic
