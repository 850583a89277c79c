#include "base/SettingsStore.h"
#include "files/WorkFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace vormex;

namespace {

class WorkFiles : public ::testing::Test {
protected:
    QTemporaryDir dir;
    SettingsStore store{dir.filePath(QStringLiteral("store.ini"))};
    QString docs = dir.filePath(QStringLiteral("Documents"));
    QDateTime when{QDate(2024, 3, 5), QTime(14, 7, 9)};
    void SetUp() override { QDir().mkpath(docs); }
    QByteArray read(const QString& name)
    {
        QFile f(QDir(docs).filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
};

TEST_F(WorkFiles, NamesFollowKindAndTime)
{
    EXPECT_EQ(workFileName(WorkFileKind::GetSystemParam, when), QStringLiteral("GET_SYSPARAM 2024-03-05 14 07 09.ZZZ"));
    EXPECT_EQ(workFileName(WorkFileKind::BasicEncode, when), QStringLiteral("BASIC-ENCODE 2024-03-05 14 07 09.ZZZ"));
    EXPECT_EQ(workFileName(WorkFileKind::InitialTable, when), QStringLiteral("INITIAL_TABLE 2024-03-05 14 07 09.ZZZ"));
}

TEST_F(WorkFiles, SwitchOffWritesNothingButSucceeds)
{
    const WorkFileResult r = writeWorkFile(store, 3, "data", docs, when);
    EXPECT_EQ(r.result, 1);
    EXPECT_TRUE(r.path.isEmpty());
    EXPECT_TRUE(QDir(docs).isEmpty());
}

TEST_F(WorkFiles, UnknownKindFails)
{
    EXPECT_EQ(writeWorkFile(store, 5, "x", docs, when).result, 0);
    EXPECT_EQ(writeWorkFile(store, -1, "x", docs, when).result, 0);
}

TEST_F(WorkFiles, SwitchSharedByKindsAndAnyNonZeroValueSwitchesOn)
{
    store.writeInt(QStringLiteral("LogoutSystemParam"), 1);
    store.writeInt(QStringLiteral("LogoutBasicEncode"), -1);
    EXPECT_EQ(writeWorkFile(store, 3, QByteArray("\x01\x02raw\0", 6), docs, when).result, 1);
    EXPECT_EQ(read(QStringLiteral("GET_SYSPARAM 2024-03-05 14 07 09.ZZZ")), QByteArray("\x01\x02raw\0", 6));
    EXPECT_EQ(writeWorkFile(store, 4, "ignored", docs, when).result, 1);  // LogoutInitialTable absent
    EXPECT_FALSE(QFile::exists(QDir(docs).filePath(QStringLiteral("GET_INITIAL 2024-03-05 14 07 09.ZZZ"))));
    EXPECT_EQ(writeWorkFile(store, 0, "image", docs, when).result, 1);
    EXPECT_EQ(read(QStringLiteral("BASIC-ENCODE 2024-03-05 14 07 09.ZZZ")), QByteArray("image"));
}

TEST_F(WorkFiles, SameSecondKeepsTheLaterData)
{
    store.writeInt(QStringLiteral("LogoutInitialTable"), 1);
    writeWorkFile(store, 2, "first", docs, when);
    writeWorkFile(store, 2, "second", docs, when);
    EXPECT_EQ(read(QStringLiteral("INITIAL_TABLE 2024-03-05 14 07 09.ZZZ")), QByteArray("second"));
}

TEST_F(WorkFiles, MissingFolderIsNotCreatedAndTheFailureIsReported)
{
    store.writeInt(QStringLiteral("LogoutSystemParam"), 1);
    const QString missing = dir.filePath(QStringLiteral("no-such-folder"));
    const WorkFileResult r = writeWorkFile(store, 1, "x", missing, when);
    EXPECT_EQ(r.result, 0);
    EXPECT_FALSE(r.errorMessage.isEmpty());
    EXPECT_FALSE(QDir(missing).exists());
}

TEST_F(WorkFiles, DocumentsFolderIsBelowTheTestHome)
{
    EXPECT_TRUE(documentsFolder().startsWith(qEnvironmentVariable("HOME")));
}

}  // namespace
