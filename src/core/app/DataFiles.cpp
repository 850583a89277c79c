#include "app/DataFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace vormex::datafiles {
namespace {

QString programDir()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(QLatin1Char('/'), 0, -2);
}

}  // namespace

QStringList programDataDirs()
{
    const QString dir = programDir();
    return {dir, QDir::cleanPath(dir + QStringLiteral("/../") + QString::fromUtf8(VORMEX_DATA_INSTALL_DIR))};
}

QString findIn(const QStringList& dirs, const QString& fileName)
{
    for (const QString& dir : dirs) {
        const QString candidate = QDir(dir).filePath(fileName);
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return {};
}

QString locateDefinitionFile(const QString& fileName)
{
    const QString inWorkingDir = QDir::current().filePath(fileName);
    if (QFileInfo(inWorkingDir).isFile())
        return inWorkingDir;
    const QString installed = findIn(programDataDirs(), fileName);
    return installed.isEmpty() ? inWorkingDir : installed;
}

QString englishResourceFileName(const QString& nameFromStringTable)
{
    const qsizetype dot = nameFromStringTable.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > 0 ? nameFromStringTable.left(dot) : nameFromStringTable;
    return base + QStringLiteral(".tsv");
}

}  // namespace vormex::datafiles
