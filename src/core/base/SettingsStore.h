#pragma once

#include <QString>

#include <memory>

class QSettings;

namespace vormex {

// The per-user settings store: an INI file under the organisation "KALDERA ORN" and the
// application "VORMEX Setting Tool". Every value of the program lives in the group "Settings";
// each access enters that group for its own duration only.
class SettingsStore {
public:
    static constexpr const char* kOrganisation = "KALDERA ORN";
    static constexpr const char* kApplication = "VORMEX Setting Tool";
    static constexpr const char* kGroup = "Settings";

    // The user's own store (below the XDG configuration folder).
    SettingsStore();
    // A store in the given INI file (tests, tools).
    explicit SettingsStore(const QString& iniPath);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    QString filePath() const;

    // Integers are 32-bit; a value that is not a number reads as the default.
    int readInt(const QString& name, int defaultValue) const;
    QString readString(const QString& name, const QString& defaultValue) const;
    bool writeInt(const QString& name, int value);
    bool writeString(const QString& name, const QString& value);

    // Access to another group of the same store (the port map uses "Ports").
    QString readStringIn(const QString& group, const QString& name, const QString& defaultValue) const;
    QStringList keysIn(const QString& group) const;

    // Writes pending changes to disk; false when the file cannot be written.
    bool sync();

private:
    std::unique_ptr<QSettings> settings_;
};

}  // namespace vormex
