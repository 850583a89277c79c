#include "files/UserFiles.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace vormex {

bool IsXmlFileName(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 && name.mid(dot + 1).compare(QLatin1String("XML"), Qt::CaseInsensitive) == 0;
}

std::optional<QString> SaveFileAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(bytes) != bytes.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    QXmlStreamWriter writer(&file);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    const bool written = writeBody(writer);
    writer.writeEndDocument();
    if (!written || writer.hasError()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return error.isEmpty() || error == QLatin1String("Unknown error") ? QStringLiteral("%1: the XML file could not be written").arg(path)
                                                                           : error;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
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
