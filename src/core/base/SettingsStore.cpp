#include "base/SettingsStore.h"

#include <QSettings>
#include <QStringList>

namespace vormex {
namespace {

// Enters a group for the duration of one access and leaves it again.
class GroupScope {
public:
    GroupScope(QSettings& settings, const QString& group) : settings_(settings) { settings_.beginGroup(group); }
    ~GroupScope() { settings_.endGroup(); }
    GroupScope(const GroupScope&) = delete;
    GroupScope& operator=(const GroupScope&) = delete;

private:
    QSettings& settings_;
};

// A text that a person wrote into the INI file with commas and without quotes reads as a list.
QString variantToText(const QVariant& value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

}  // namespace

SettingsStore::SettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                            QString::fromLatin1(kOrganisation), QString::fromLatin1(kApplication)))
{
}

SettingsStore::SettingsStore(const QString& iniPath)
    : settings_(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::filePath() const { return settings_->fileName(); }

int SettingsStore::readInt(const QString& name, int defaultValue) const
{
    GroupScope scope(*settings_, QString::fromLatin1(kGroup));
    const QVariant value = settings_->value(name);
    if (!value.isValid())
        return defaultValue;
    bool ok = false;
    const qlonglong number = variantToText(value).trimmed().toLongLong(&ok);
    if (!ok)
        return defaultValue;
    return static_cast<int>(static_cast<quint32>(number));  // stored as a 32-bit number
}

QString SettingsStore::readString(const QString& name, const QString& defaultValue) const
{
    return readStringIn(QString::fromLatin1(kGroup), name, defaultValue);
}

bool SettingsStore::writeInt(const QString& name, int value)
{
    GroupScope scope(*settings_, QString::fromLatin1(kGroup));
    settings_->setValue(name, value);
    return settings_->status() == QSettings::NoError;
}

bool SettingsStore::writeString(const QString& name, const QString& value)
{
    GroupScope scope(*settings_, QString::fromLatin1(kGroup));
    settings_->setValue(name, value);
    return settings_->status() == QSettings::NoError;
}

QString SettingsStore::readStringIn(const QString& group, const QString& name, const QString& defaultValue) const
{
    GroupScope scope(*settings_, group);
    const QVariant value = settings_->value(name);
    if (!value.isValid())
        return defaultValue;
    return variantToText(value);
}

QStringList SettingsStore::keysIn(const QString& group) const
{
    GroupScope scope(*settings_, group);
    return settings_->childKeys();
}

bool SettingsStore::sync()
{
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

}  // namespace vormex
