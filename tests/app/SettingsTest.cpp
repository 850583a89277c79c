#include "app/AppSettings.h"
#include "base/SettingsStore.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using namespace vormex;

namespace {

class SettingsFixture : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("store.ini")); }
    void writeIni(const QByteArray& content)
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
};

TEST_F(SettingsFixture, EmptyStoreGivesTheDefaults)
{
    SettingsStore store(path());
    const AppSettings s = readAppSettings(store);
    EXPECT_EQ(s.language, QStringLiteral("ENG"));
    EXPECT_EQ(s.applicationLook, 213);
    EXPECT_EQ(s.headerIcon, 1);
    EXPECT_EQ(s.headerDeviceInfo, 1);
    EXPECT_EQ(s.waitTimeMs, 20000);
    EXPECT_EQ(s.printerName, QStringLiteral("ORN Q-KA5"));
    EXPECT_EQ(s.deviceInfo, QStringLiteral("LAN:192.168.1.100:8000"));
    EXPECT_EQ(s.ttfDownloaderPath, QString::fromUtf8(settings::kDefaultTtfDownloader));
    EXPECT_EQ(s.controlCodes, (ControlCodes{0, 0x1B, 0x0A, 0x00}));
    EXPECT_TRUE(s.windowsPos.isEmpty());
}

TEST_F(SettingsFixture, CorrectionsOfZeroWaitTimeAndEmptyDownloaderPath)
{
    writeIni("[Settings]\nWait%20Time=0\nTTFDownloader=\nPrinter%20Name=\n");
    const AppSettings s = readAppSettings(SettingsStore(path()));
    EXPECT_EQ(s.waitTimeMs, 20000);
    EXPECT_EQ(s.ttfDownloaderPath, QString::fromUtf8(settings::kDefaultTtfDownloader));
    EXPECT_TRUE(s.printerName.isEmpty());  // keeps the pre-selected printer
}

struct CodeCase {
    int type;
    int manual[3];
    ControlCodes expected;
};

class ControlCodeSettings : public SettingsFixture, public ::testing::WithParamInterface<CodeCase> {};

TEST_P(ControlCodeSettings, TypeSelectsTheCodes)
{
    const CodeCase& c = GetParam();
    {
        SettingsStore store(path());
        store.writeInt(QStringLiteral("Control Code Type"), c.type);
        store.writeInt(QStringLiteral("Control Code1"), c.manual[0]);
        store.writeInt(QStringLiteral("Control Code2"), c.manual[1]);
        store.writeInt(QStringLiteral("Control Code3"), c.manual[2]);
    }
    EXPECT_EQ(readAppSettings(SettingsStore(path())).controlCodes, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Types, ControlCodeSettings,
                         ::testing::Values(CodeCase{0, {2, 3, 4}, {0, 0x1B, 0x0A, 0x00}},
                                           CodeCase{1, {2, 3, 4}, {1, 0x1B, 0x0A, 0x00}},
                                           CodeCase{2, {2, 3, 4}, {2, '{', '|', '}'}},
                                           CodeCase{3, {2, 3, 4}, {3, 2, 3, 4}},
                                           CodeCase{3, {300, -1, 256}, {3, 44, 255, 0}},
                                           CodeCase{7, {2, 3, 4}, {7, 0x1B, 0x0A, 0x00}}),
                         [](const ::testing::TestParamInfo<CodeCase>& info) {
                             return "type" + std::to_string(info.param.type) + "_" + std::to_string(info.index);
                         });

TEST_F(SettingsFixture, ValuesLiveInTheSettingsGroupAndSurviveAReopen)
{
    {
        SettingsStore store(path());
        ASSERT_TRUE(store.writeString(QStringLiteral("Device Info"), QStringLiteral("COM3:9600,7,odd,2")));
        saveControlCodes(store, ControlCodes::forType(3, 0x02, 0x03, 0x04));
        ASSERT_TRUE(store.sync());
    }
    SettingsStore store(path());
    EXPECT_EQ(store.readString(QStringLiteral("Device Info"), {}), QStringLiteral("COM3:9600,7,odd,2"));
    EXPECT_EQ(store.readInt(QStringLiteral("Control Code1"), -5), 2);
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("[Settings]"));
}

TEST_F(SettingsFixture, HandWrittenValuesWithCommasAndNonNumbers)
{
    writeIni("[Settings]\nDevice%20Info=COM3:9600,8,none,1\nApplicationLook=abc\nWindowsPos=0,1,2,3,4,5,6,7,8,9\n");
    SettingsStore store(path());
    EXPECT_EQ(store.readString(QStringLiteral("Device Info"), {}), QStringLiteral("COM3:9600,8,none,1"));
    EXPECT_EQ(store.readInt(QStringLiteral("ApplicationLook"), 213), 213);
    EXPECT_EQ(store.readString(QStringLiteral("WindowsPos"), {}), QStringLiteral("0,1,2,3,4,5,6,7,8,9"));
}

TEST(SettingsStoreDefaultLocation, UsesTheOrganisationAndApplicationNames)
{
    SettingsStore store;
    EXPECT_TRUE(store.filePath().endsWith(QStringLiteral("KALDERA ORN/VORMEX Setting Tool.ini"))) << store.filePath().toStdString();
    // The test runner's home is a temporary folder: the real store is never touched.
    EXPECT_TRUE(store.filePath().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")));
}

}  // namespace
