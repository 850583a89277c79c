#include "FileStore.h"

#include <QDir>
#include <QFile>

namespace vormex::sim {

FileStore::FileStore(QMap<QString, QByteArray> files, QString dumpFolder, const SimLog& log)
    : files_(std::move(files)), dumpFolder_(std::move(dumpFolder)), log_(log)
{
}

QString FileStore::dumpPath(const QString& name) const
{
    if (dumpFolder_.isEmpty())
        return {};
    // The name comes from the sender's bytes: it must not lead out of the dump folder.
    QString fileName = name;
    fileName.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    if (fileName.isEmpty() || fileName == QLatin1String(".") || fileName == QLatin1String(".."))
        return {};
    return QDir(dumpFolder_).filePath(fileName);
}

void FileStore::store(const QString& name, const QByteArray& text)
{
    files_.insert(name, text);
    const QString path = dumpPath(name);
    if (path.isEmpty())
        return;
    QDir().mkpath(dumpFolder_);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size())
        log_.line(QStringLiteral("cannot write the dump file %1: %2").arg(path, file.errorString()));
}

void FileStore::remove(const QString& name)
{
    files_.remove(name);
    const QString path = dumpPath(name);
    if (!path.isEmpty())
        QFile::remove(path);
}

}  // namespace vormex::sim
