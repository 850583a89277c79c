#include "download/PrepareItem.h"

#include "basic/BasicEncoder.h"
#include "comm/StoreFileEnvelope.h"
#include "conversion/ParameterFileConversion.h"
#include "download/FirmwareImage.h"
#include "files/WorkFiles.h"

#include <QFile>

namespace vormex {
namespace {

int refuse(DownloadItem& item, QString* errorMessage, const QString& reason)
{
    item.clear();
    if (errorMessage)
        *errorMessage = reason;
    return 0;
}

QString withPath(const QString& path, const QString& reason)
{
    return reason.startsWith(path) ? reason : QStringLiteral("%1: %2").arg(path, reason);
}

void accept(DownloadItem& item, const QString& path, QByteArray bytes)
{
    item.bytes = std::move(bytes);
    item.prepared = true;
    item.text = path;
    item.lastPath = path;
}

// Keeps the prepared command as a work file when switched on; a copy that cannot be written
// ends the preparation with its file error. Gives that error, or an empty text.
QString copyAsWorkFile(const PrepareContext& context, const QByteArray& envelope)
{
    if (!context.store)
        return {};
    return writeWorkFile(*context.store, static_cast<int>(WorkFileKind::BasicEncode), envelope).errorMessage;
}

int prepareFirmware(DownloadJob& job, const QString& path, QString* errorMessage)
{
    DownloadItem& item = job.item(DownloadItem::Firmware);
    PreparedFirmware firmware = PrepareFirmwareImage(path, job.controlCodes);
    if (!firmware.result)
        return refuse(item, errorMessage, withPath(path, firmware.error));
    job.firmwareRequest = firmware.request;
    job.firmwareStartAddress = firmware.startAddress;
    accept(item, path, std::move(firmware.image));
    return 1;
}

int prepareTestFile(DownloadJob& job, const QString& path, QString* errorMessage)
{
    DownloadItem& item = job.item(DownloadItem::TestFile);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(item, errorMessage, withPath(path, file.errorString()));
    accept(item, path, file.readAll());
    return 1;
}

// Where an encoding failed: "main.bas:12: GOTO *lower"; the file and why it cannot be read; or
// the file alone.
QString sourceLineOf(const QString& path, const BasicEncoder& encoder)
{
    if (encoder.errorPosition() <= 0) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? path : QStringLiteral("%1: %2").arg(path, file.errorString());
    }
    return QStringLiteral("%1:%2: %3").arg(path).arg(encoder.errorPosition()).arg(encoder.errorLineText());
}

int prepareBasicProgram(DownloadJob& job, int type, const QString& path, const PrepareContext& context,
                        QString* errorMessage, QString* detail)
{
    DownloadItem& item = job.item(type);
    BasicEncoder encoder(context.strings, context.languageValue);
    if (!encoder.EncodeProgram(path, type == DownloadItem::BasicMain ? 1 : 0)) {
        if (detail)
            *detail = sourceLineOf(path, encoder);
        return refuse(item, errorMessage, encoder.errorMessage());
    }
    const qint64 areaSize = encoder.downloadAreaSize(job.blockSizeKb);
    const qint64 blockBytes = static_cast<qint64>(job.blockSizeKb) * 1024;
    if (areaSize <= 0 || blockBytes <= 0)
        return refuse(item, errorMessage, QStringLiteral("%1: the program gives no storage blocks to send").arg(path));
    QByteArray area(areaSize, '\0');
    if (!encoder.ComposeDownloadImage(job.blockSizeKb, area.data(), area.size()))
        return refuse(item, errorMessage, QStringLiteral("%1: the program image could not be composed").arg(path));
    QByteArray envelope = BuildStoreFileEnvelope(area, job.controlCodes, job.variableControlCodes != 0);
    if (type == DownloadItem::BasicMain)
        job.basicMainBlocks = static_cast<int>(areaSize / blockBytes);
    if (const QString error = copyAsWorkFile(context, envelope); !error.isEmpty())
        return refuse(item, errorMessage, error);
    accept(item, path, std::move(envelope));
    return 1;
}

int prepareParameterFile(DownloadJob& job, int type, const QString& path, const PrepareContext& context,
                         QString* errorMessage, QString* detail)
{
    DownloadItem& item = job.item(type);
    if (!context.definitions || !context.printer || !context.check)
        return refuse(item, errorMessage, QStringLiteral("%1: no printer entry to check the file against").arg(path));
    const ParameterFileContext conversion{*context.definitions, *context.printer, *context.check, context.strings};
    const ParameterFileKind kind =
        type == DownloadItem::SystemParameters ? ParameterFileKind::SystemParameters : ParameterFileKind::InitialTable;
    PreparedParameterFile prepared = PrepareParameterFileItem(path, kind, conversion, job.controlCodes);
    if (!prepared.ok()) {
        if (detail)
            *detail = prepared.detail;
        return refuse(item, errorMessage, prepared.message);
    }
    if (const QString error = copyAsWorkFile(context, prepared.envelope); !error.isEmpty())
        return refuse(item, errorMessage, error);
    accept(item, path, std::move(prepared.envelope));
    return 1;
}

}  // namespace

int PrepareItem(DownloadJob& job, int type, const QString& path, const PrepareContext& context, QString* errorMessage,
                QString* detail)
{
    if (detail)
        detail->clear();
    if (type < DownloadItem::BasicMain || type > DownloadItem::Firmware)
        return 0;
    DownloadItem& item = job.item(type);
    // A file picked again is read anew: its content may have changed.
    item.bytes = QByteArray();
    item.prepared = false;
    switch (type) {
    case DownloadItem::Firmware:
        return prepareFirmware(job, path, errorMessage);
    case DownloadItem::TestFile:
        return prepareTestFile(job, path, errorMessage);
    case DownloadItem::BasicMain:
    case DownloadItem::BasicSystem:
        return prepareBasicProgram(job, type, path, context, errorMessage, detail);
    default:
        return prepareParameterFile(job, type, path, context, errorMessage, detail);
    }
}

}  // namespace vormex
