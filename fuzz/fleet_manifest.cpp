// The fleet manifest reader (JSON, with the check for keys given twice) on any bytes.
#include "fleet/FleetManifest.h"
#include "fleet/JsonDuplicateKeys.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vormex;
    static const QTemporaryDir folder;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    FirstDuplicateJsonKey(bytes);
    const QString path = folder.filePath(QStringLiteral("site.json"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        return 0;
    file.close();
    FleetManifest manifest;
    QString error;
    // Job files are not opened: the input chooses their names.
    ReadFleetManifest(path, JobFiles::Ignored, manifest, error);
    return 0;
}
