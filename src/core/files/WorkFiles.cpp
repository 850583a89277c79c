#include "files/WorkFiles.h"

#include "base/SettingNames.h"
#include "base/SettingsStore.h"
#include "files/UserFiles.h"

#include <QDir>
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
    outcome.path = path;
    if (const std::optional<QString> error = SaveFileAtomically(path, bytes)) {
        outcome.result = 0;
        outcome.errorMessage = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), *error);
    }
    return outcome;
}

}  // namespace vormex
