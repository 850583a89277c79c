#include "FileStore.h"

#include <QDir>
#include <QFile>

namespace vormex::sim {

FileStore::FileStore(QMap<QString, QByteArray> files, QString dumpFolder)
    : files_(std::move(files)), dumpFolder_(std::move(dumpFolder))
{
}

bool FileStore::storeArea(const QByteArray& area, QString& name)
{
    if (area.size() < 16 || static_cast<unsigned char>(area[14]) != 0xF0 || area[15] != 0x02)
        return false;
    const int length = (static_cast<unsigned char>(area[12]) << 8) | static_cast<unsigned char>(area[13]);
    if (16 + length > area.size())
        return false;
    QByteArray rawName = area.left(12);
    while (!rawName.isEmpty() && (rawName.endsWith('\0') || rawName.endsWith(' ') || rawName.endsWith('\xFF')))
        rawName.chop(1);
    name = QString::fromLatin1(rawName);
    store(name, area.mid(16, length));
    return true;
}

void FileStore::store(const QString& name, const QByteArray& text)
{
    files_.insert(name, text);
    if (dumpFolder_.isEmpty())
        return;
    // The name comes from the sender's bytes: it must not lead out of the dump folder.
    QString fileName = name;
    fileName.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    if (fileName.isEmpty() || fileName == QLatin1String(".") || fileName == QLatin1String(".."))
        return;
    QDir().mkpath(dumpFolder_);
    QFile file(QDir(dumpFolder_).filePath(fileName));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(text);
}

}  // namespace vormex::sim
