#include "basic/FileAccess.h"

#include <QFile>

namespace vormex {

qint64 FileLength(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return file.size();
}

int ReadWholeFile(const QString& path, char* buffer, qint64 bufferSize)
{
    QFile file(path);
    if (!buffer || !file.open(QIODevice::ReadOnly))
        return 0;
    const qint64 length = file.size();
    if (length <= 0 || length > bufferSize)
        return 0;
    qint64 done = 0;
    while (done < length) {
        const qint64 got = file.read(buffer + done, length - done);
        if (got <= 0)
            return 0;
        done += got;
    }
    return 1;
}

}  // namespace vormex
