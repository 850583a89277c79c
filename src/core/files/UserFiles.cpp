#include "files/UserFiles.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

namespace vormex {

bool IsXmlFileName(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 && name.mid(dot + 1).compare(QLatin1String("XML"), Qt::CaseInsensitive) == 0;
}

namespace {

// The reason of a failed write: the device's own text, or the system's (some writes are only
// said to have failed, "Unknown error", with the cause left in errno).
QString reasonOf(const QFileDevice& file, int error)
{
    const QString text = file.errorString();
    if (error != 0 && (text.isEmpty() || text == QLatin1String("Unknown error")))
        return QString::fromLocal8Bit(std::strerror(error));
    return text;
}

// A write that fails only when its buffer is flushed (a full disk, a file-size limit) is not
// reported by the commit of a save file: the buffer is flushed, and its error looked at, before.
std::optional<QString> flushChecked(QFileDevice& file)
{
    errno = 0;
    const bool flushed = file.flush();
    const int error = errno;
    if (!flushed || file.error() != QFileDevice::NoError)
        return reasonOf(file, error);
    return std::nullopt;
}

std::optional<QString> writeChecked(QFileDevice& file, const QByteArray& bytes)
{
    errno = 0;
    const qint64 written = file.write(bytes);
    const int error = errno;
    if (written != bytes.size())
        return reasonOf(file, error);
    return std::nullopt;
}

std::optional<QString> commitChecked(QSaveFile& file)
{
    if (std::optional<QString> error = flushChecked(file)) {
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

std::optional<QString> writeAll(QFileDevice& file, const QByteArray& bytes)
{
    if (std::optional<QString> error = writeChecked(file, bytes))
        return error;
    return flushChecked(file);
}

// A character device, a pipe or a socket: there is no file to replace beside it.
bool isStream(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isFile() && !info.isDir();
}

std::optional<QString> writeStream(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    return writeAll(file, bytes);
}

}  // namespace

std::optional<QString> SaveFileAtomically(const QString& path, const QByteArray& bytes)
{
    if (isStream(path))
        return writeStream(path, bytes);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (std::optional<QString> error = writeChecked(file, bytes)) {
        file.cancelWriting();
        return error;
    }
    return commitChecked(file);
}

std::optional<QString> SwapInFolder(const QString& replacement, const QString& folder)
{
    const QByteArray from = QFile::encodeName(replacement);
    const QByteArray to = QFile::encodeName(folder);
    if (!QFileInfo::exists(folder) && !QFileInfo(folder).isSymLink())
        return ::rename(from.constData(), to.constData()) == 0 ? std::nullopt
                                                               : std::optional(QString::fromLocal8Bit(std::strerror(errno)));
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_EXCHANGE) == 0)
        return std::nullopt;
    if (errno != EINVAL && errno != ENOSYS)
        return QString::fromLocal8Bit(std::strerror(errno));
    // A file system that cannot exchange: the old folder steps aside first, and comes back when
    // the new one cannot take its place.
    const QByteArray aside = from + ".old";
    if (::rename(to.constData(), aside.constData()) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    if (::rename(from.constData(), to.constData()) != 0) {
        const QString error = QString::fromLocal8Bit(std::strerror(errno));
        ::rename(aside.constData(), to.constData());
        return error;
    }
    ::rename(aside.constData(), from.constData());
    return std::nullopt;
}

std::optional<QString> CheckFileDestination(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return QStringLiteral("%1 is a folder").arg(path);
    if (isStream(path))
        return ::access(QFile::encodeName(path).constData(), W_OK) == 0 ? std::nullopt
                                                                         : std::optional(QStringLiteral("%1 is not writable").arg(path));
    const QString folder = info.absolutePath();
    if (!QFileInfo(folder).isDir())
        return QStringLiteral("the folder %1 does not exist").arg(folder);
    if (::access(QFile::encodeName(folder).constData(), W_OK | X_OK) != 0)
        return QStringLiteral("the folder %1 is not writable").arg(folder);
    return std::nullopt;
}

std::optional<QString> WriteStandardOutput(const QByteArray& bytes)
{
    std::fflush(stdout);  // what went out through the C library before stays in front
    QFile file;
    if (!file.open(STDOUT_FILENO, QIODevice::WriteOnly, QFileDevice::DontCloseHandle))
        return file.errorString();
    return writeAll(file, bytes);
}

FileBytes ReadWholeFile(const QString& path)
{
    FileBytes result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
    result.bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        result.error = file.errorString();
    return result;
}

std::optional<QString> SaveXmlDocument(const QString& path, const std::function<bool(QXmlStreamWriter&)>& writeBody)
{
    QByteArray bytes;
    QXmlStreamWriter writer(&bytes);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    const bool written = writeBody(writer);
    writer.writeEndDocument();
    if (!written || writer.hasError())
        return QStringLiteral("%1: the XML file could not be written").arg(path);
    return SaveFileAtomically(path, bytes);
}

bool ReadNextXmlToken(QXmlStreamReader& reader)
{
    if (reader.atEnd())
        return false;
    reader.readNext();
    if (reader.tokenType() == QXmlStreamReader::DTD) {
        reader.raiseError(QStringLiteral("document type declarations are not accepted"));
        return false;
    }
    return !reader.hasError();
}

QString HeaderDateText()
{
    return QLocale::system().toString(QDateTime::currentDateTime(), QLocale::LongFormat);
}

}  // namespace vormex
