#include "comm/PortMap.h"

#include "base/Numbers.h"
#include "base/SettingsStore.h"

#include <QDir>

#include <algorithm>

namespace vormex {
namespace {

// The nodes "<prefix><number>" among a folder's entries, by number.
QStringList numberedNodes(const QDir& folder, const QStringList& entries, const QString& prefix)
{
    QList<std::pair<int, QString>> found;
    for (const QString& entry : entries) {
        if (!entry.startsWith(prefix) || entry.size() == prefix.size())
            continue;
        const QStringView digits = QStringView(entry).sliced(prefix.size());
        if (std::all_of(digits.begin(), digits.end(), [](QChar c) { return c.isDigit() && c.unicode() < 0x80; }))
            found.append({digits.toInt(), folder.filePath(entry)});
    }
    std::sort(found.begin(), found.end());
    QStringList paths;
    for (const auto& node : found)
        paths << node.second;
    return paths;
}

}  // namespace

PortMap::PortMap() : PortMap(nullptr) {}

PortMap::PortMap(const SettingsStore* store, const QString& deviceFolder) : deviceFolder_(deviceFolder)
{
    const QDir folder(deviceFolder);
    // The device folder is read once: it holds hundreds of nodes.
    const QStringList entries = folder.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::NoSort);
    int number = 1;
    for (const QString& prefix : {QStringLiteral("ttyS"), QStringLiteral("ttyUSB"), QStringLiteral("ttyACM")}) {
        for (const QString& path : numberedNodes(folder, entries, prefix)) {
            if (number > kMaxCom)
                break;
            com_.insert(number, {QStringLiteral("COM%1").arg(number), path, false});
            ++number;
        }
    }
    for (const QString& path : numberedNodes(folder, entries, QStringLiteral("lp"))) {
        const int lptNumber = path.mid(path.lastIndexOf(QLatin1String("lp")) + 2).toInt() + 1;
        if (lptNumber >= 1 && lptNumber <= kMaxLpt)
            lpt_.insert(lptNumber, {QStringLiteral("LPT%1").arg(lptNumber), path, false});
    }
    if (!store)
        return;
    for (const QString& key : store->keysIn(QString::fromLatin1(kGroup))) {
        const QString name = key.trimmed().toUpper();
        const QString path = store->readStringIn(QString::fromLatin1(kGroup), key, QString()).trimmed();
        const int n = portNumber(name);
        if (path.isEmpty())
            continue;
        if (name.startsWith(QLatin1String("COM")) && n >= 1 && n <= kMaxCom)
            com_.insert(n, {QStringLiteral("COM%1").arg(n), path, true});
        else if (name.startsWith(QLatin1String("LPT")) && n >= 1 && n <= kMaxLpt)
            lpt_.insert(n, {QStringLiteral("LPT%1").arg(n), path, true});
    }
}

int PortMap::portNumber(const QString& portName)
{
    // The number after the three letters, read as the C library reads an integer.
    return CDecimal(QStringView(portName).mid(3));
}

QString PortMap::devicePath(const QString& portName) const
{
    const int n = portNumber(portName);
    if (portName.startsWith(QLatin1String("COM")))
        return com_.value(n).devicePath;
    if (portName.startsWith(QLatin1String("LPT"))) {
        if (lpt_.contains(n))
            return lpt_.value(n).devicePath;
        if (n >= 1 && n <= kMaxLpt)
            return QDir(deviceFolder_).filePath(QStringLiteral("lp%1").arg(n - 1));
    }
    return {};
}

QList<PortName> PortMap::serialPorts() const { return com_.values(); }
QList<PortName> PortMap::parallelPorts() const { return lpt_.values(); }

}  // namespace vormex
