#include "files/WorkFiles.h"

#include "base/SettingNames.h"
#include "base/SettingsStore.h"

#include <QDir>
#include <QSaveFile>
#include <QStandardPaths>

namespace vormex {
namespace {

struct KindInfo {
    const char* prefix;
    const char* setting;
};

constexpr KindInfo kKinds[] = {
    {"BASIC-ENCODE ", settings::kLogoutBasicEncode},
    {"QUILLPRM ", settings::kLogoutSystemParam},
    {"INITIAL_TABLE ", settings::kLogoutInitialTable},
    {"GET_SYSPARAM ", settings::kLogoutSystemParam},
    {"GET_INITIAL ", settings::kLogoutInitialTable},
};

}  // namespace

QString documentsFolder() { return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation); }

QString workFileName(WorkFileKind kind, const QDateTime& when)
{
    return QString::fromLatin1(kKinds[static_cast<int>(kind)].prefix)
           + when.toString(QStringLiteral("yyyy-MM-dd HH mm ss")) + QStringLiteral(".ZZZ");
}

WorkFileResult writeWorkFile(const SettingsStore& store, int kind, const QByteArray& bytes, const QString& folder,
                             const QDateTime& when)
{
    WorkFileResult outcome;
    if (kind < 0 || kind > 4) {
        outcome.result = 0;
        return outcome;
    }
    if (store.readInt(QString::fromLatin1(kKinds[kind].setting), 0) == 0)
        return outcome;

    const QString path = QDir(folder).filePath(workFileName(static_cast<WorkFileKind>(kind), when));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        outcome.result = 0;
        outcome.errorMessage = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return outcome;
    }
    outcome.path = path;
    return outcome;
}

}  // namespace vormex
