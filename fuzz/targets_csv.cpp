// The targets CSV reader on any bytes, on its own and as the targets of a backup.
#include "fleet/FleetManifest.h"
#include "fleet/TargetsCsv.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vormex;
    static const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("printers.csv"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
        return 0;
    file.close();
    QList<FleetTarget> targets;
    QString error;
    ReadTargetsCsv(path, targets, error);
    FleetManifest manifest;
    ReadTargetsManifest(path, manifest, error);
    return 0;
}
