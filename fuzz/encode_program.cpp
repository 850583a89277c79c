// libFuzzer target: any bytes as a BASIC source, under both language settings and both
// program kinds; a successful encoding is composed into its download area.
#include "base/StringTable.h"
#include "basic/BasicEncoder.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    static const vormex::StringTable strings = vormex::StringTable::builtIn();
    const int languageValue = data[0] & 1;
    const int programKind = (data[0] >> 1) & 1;
    const QByteArray source(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

    vormex::BasicEncoder encoder(strings, languageValue);
    if (encoder.EncodeProgramBytes(source, QStringLiteral("FUZZ.BAS"), programKind)) {
        const int blockSizeKb = 1 + (data[0] >> 2);
        QByteArray area(encoder.downloadAreaSize(blockSizeKb), '\0');
        // A source without lines encodes to an empty body, which has no download area.
        const int composed = encoder.ComposeDownloadImage(blockSizeKb, area.data(), area.size());
        if (composed != (area.isEmpty() ? 0 : 1))
            __builtin_trap();
    }
    return 0;
}
