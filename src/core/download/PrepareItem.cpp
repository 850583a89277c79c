#include "download/PrepareItem.h"

#include "app/WorkFiles.h"
#include "download/FirmwareImage.h"

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

void accept(DownloadItem& item, const QString& path, QByteArray bytes)
{
    item.bytes = std::move(bytes);
    item.prepared = true;
    item.text = path;
    item.lastPath = path;
}

int prepareFirmware(DownloadJob& job, const QString& path, QString* errorMessage)
{
    DownloadItem& item = job.item(DownloadItem::Firmware);
    PreparedFirmware firmware = PrepareFirmwareImage(path, job.controlCodes);
    if (!firmware.result)
        return refuse(item, errorMessage, firmware.error);
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
        return refuse(item, errorMessage, file.errorString());
    accept(item, path, file.readAll());
    return 1;
}

}  // namespace

int PrepareItem(DownloadJob& job, int type, const QString& path, const PrepareContext& context, QString* errorMessage)
{
    if (type < DownloadItem::BasicMain || type > DownloadItem::Firmware)
        return 0;
    DownloadItem& item = job.item(type);
    // A new path, or a file picked again, is read anew.
    item.bytes = QByteArray();
    item.prepared = false;
    (void)context;
    switch (type) {
    case DownloadItem::Firmware:
        return prepareFirmware(job, path, errorMessage);
    case DownloadItem::TestFile:
        return prepareTestFile(job, path, errorMessage);
    default:
        return refuse(item, errorMessage, QStringLiteral("%1: this kind of file cannot be prepared yet").arg(path));
    }
}

}  // namespace vormex
