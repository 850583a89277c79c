#include "LinkFixture.h"

#include "base/StringTable.h"

#include <QDir>
#include <QFile>

#include <cstdlib>

namespace vormex::test {

QString logOf(std::initializer_list<int> ids)
{
    const StringTable strings = StringTable::builtIn();
    QString text;
    for (int id : ids) {
        EXPECT_FALSE(strings.text(id).isEmpty()) << "no text " << id;
        text += strings.text(id) + QStringLiteral("\r\n");
    }
    return text;
}

QByteArray firmwareFile(qint64 bodyLength, std::uint32_t startAddress)
{
    QByteArray file(bodyLength + 256, Qt::Uninitialized);
    for (qint64 i = 0; i < bodyLength; ++i)
        file[i] = static_cast<char>(0x20 + i % 95);
    char* trailer = file.data() + bodyLength;
    std::fill(trailer, trailer + 256, ' ');
    trailer[4] = static_cast<char>(startAddress >> 24);
    trailer[5] = static_cast<char>(startAddress >> 16);
    trailer[6] = static_cast<char>(startAddress >> 8);
    trailer[7] = static_cast<char>(startAddress);
    return file;
}

void LinkFixture::SetUp() { ASSERT_TRUE(dir_.isValid()); }

LinkSettings LinkFixture::lanSettings(const FakePrinter& printer, const ControlCodes& codes, bool variable) const
{
    LinkSettings settings;
    settings.deviceInfo = QStringLiteral("LAN:") + printer.address();
    settings.codes = codes;
    settings.printerName = QStringLiteral("Q-TEST");
    settings.variableControlCodes = variable;
    settings.waitTimeMs = 20000;
    return settings;
}

PortMap LinkFixture::portMapWith(const QString& name, const QString& device)
{
    const QString ini = path(QStringLiteral("ports-%1.ini").arg(name));
    QFile file(ini);
    if (!file.open(QIODevice::WriteOnly))
        ADD_FAILURE() << "cannot write " << ini.toStdString();
    file.write(QStringLiteral("[Ports]\n%1=%2\n").arg(name, device).toUtf8());
    file.close();
    const SettingsStore store(ini);
    QDir().mkpath(path(QStringLiteral("nodev")));
    return PortMap(&store, path(QStringLiteral("nodev")));
}

LinkSettings LinkFixture::comSettings(const FakePrinter& printer, const ControlCodes& codes, bool variable)
{
    LinkSettings settings;
    settings.deviceInfo = QStringLiteral("COM3:9600,8,none,1");
    settings.codes = codes;
    settings.printerName = QStringLiteral("Q-TEST");
    settings.variableControlCodes = variable;
    settings.waitTimeMs = 20000;
    settings.portMap = portMapWith(QStringLiteral("COM3"), printer.address());
    return settings;
}

LinkSettings LinkFixture::lptSettings(const QString& fifo)
{
    LinkSettings settings;
    settings.deviceInfo = QStringLiteral("LPT1:");
    settings.printerName = QStringLiteral("Q-TEST");
    settings.waitTimeMs = 1000;
    settings.portMap = portMapWith(QStringLiteral("LPT1"), fifo);
    return settings;
}

QString LinkFixture::finish(DownloadRunner& runner, int timeoutMs)
{
    EXPECT_TRUE(runner.waitFinished(timeoutMs)) << "the engine did not end";
    return runner.progress().logText();
}

}  // namespace vormex::test
