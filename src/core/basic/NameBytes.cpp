#include "basic/NameBytes.h"

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

std::uint32_t leadingDecimal(QStringView text)
{
    std::uint64_t value = 0;
    for (const QChar c : text) {
        if (c.unicode() < '0' || c.unicode() > '9')
            break;
        value = value * 10 + (c.unicode() - '0');
        if (value > 0xFFFFFFFFull)
            return 0xFFFFFFFFu;
    }
    return std::uint32_t(value);
}

}  // namespace vormex::basic
