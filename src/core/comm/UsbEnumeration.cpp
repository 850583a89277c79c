#include "comm/UsbEnumeration.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <cerrno>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>

namespace vormex {
namespace {

// The usblp driver's request for the IEEE 1284 device ID of `length` bytes.
constexpr unsigned long deviceIdRequest(unsigned length) { return _IOC(_IOC_READ, 'P', 1, length); }
constexpr int kDeviceIdCapacity = 1024;

// The ID from the driver: two big-endian length bytes (counting themselves), then the text.
QByteArray deviceIdFromDriver(int fd)
{
    QByteArray buffer(kDeviceIdCapacity, '\0');
    if (::ioctl(fd, deviceIdRequest(kDeviceIdCapacity), buffer.data()) < 0)
        return {};
    int length = (static_cast<unsigned char>(buffer[0]) << 8) | static_cast<unsigned char>(buffer[1]);
    length = std::clamp(length, 2, kDeviceIdCapacity);
    return buffer.mid(2, length - 2);
}

QByteArray deviceIdFromSysfs(const UsbRoots& roots, const QString& nodeName)
{
    QFile attribute(QDir(roots.classFolder).filePath(nodeName + QStringLiteral("/device/ieee1284_id")));
    if (!attribute.open(QIODevice::ReadOnly))
        return {};
    return attribute.readAll().trimmed();
}

QString textOf(const QByteArray& id)
{
    const qsizetype nul = id.indexOf('\0');
    return QString::fromLatin1(nul < 0 ? id : id.left(nul));
}

}  // namespace

QString ModelNameFromDeviceId(const QString& deviceId)
{
    QString model = deviceId.mid(deviceId.lastIndexOf(QLatin1Char(':')) + 1);
    if (!model.startsWith(QLatin1String("ORN Q-")) && !model.startsWith(QLatin1String("KALDERA Q-")))
        return {};
    if (model.endsWith(QLatin1Char(';')))
        model.chop(1);
    return model.left(255);
}

int EnumerateUsbPrinters(QStringList& paths, QStringList& names, const UsbRoots& roots, QList<UsbProblem>* problems)
{
    const QDir folder(roots.deviceFolder);
    const QRegularExpression nodePattern(QStringLiteral("^lp(\\d+)$"));
    QList<std::pair<int, QString>> nodes;
    for (const QString& entry : folder.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        const QRegularExpressionMatch match = nodePattern.match(entry);
        if (match.hasMatch())
            nodes.append({match.captured(1).toInt(), entry});
    }
    std::sort(nodes.begin(), nodes.end());

    for (const auto& [number, nodeName] : nodes) {
        Q_UNUSED(number);
        const QString path = folder.filePath(nodeName);
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) {
            const int error = errno;
            if (problems) {
                const QString model = ModelNameFromDeviceId(textOf(deviceIdFromSysfs(roots, nodeName)));
                problems->append({path, model, error});
            }
            continue;
        }
        QByteArray id = deviceIdFromDriver(fd);
        ::close(fd);
        if (id.isEmpty())
            id = deviceIdFromSysfs(roots, nodeName);
        const QString model = ModelNameFromDeviceId(textOf(id));
        if (model.isEmpty())
            continue;
        paths.append(path);
        names.append(model);
    }
    return 1;
}

}  // namespace vormex
