#pragma once

#include <QList>
#include <QMap>
#include <QString>

namespace vormex {

class SettingsStore;

// One port name the port layer opens ("COM1", "LPT1") and the device it stands for.
struct PortName {
    QString name;
    QString devicePath;
    bool overridden = false;  // taken from the settings store, not found on the system
    friend bool operator==(const PortName&, const PortName&) = default;
};

// Which device a "COM<n>" or "LPT<n>" name opens. By default the serial devices found below the
// device folder in a stable order (ttyS*, then ttyUSB*, then ttyACM*, each by number) are
// COM1, COM2, ...; LPT<n> is lp<n-1>. The settings store's group "Ports" overrides single names
// ("COM3=/dev/ttyUSB0"), so users and tests can point a name at any device.
class PortMap {
public:
    static constexpr const char* kGroup = "Ports";
    static constexpr int kMaxCom = 256;
    static constexpr int kMaxLpt = 9;

    // The system's serial devices below /dev, no overrides.
    PortMap();
    // The devices below `deviceFolder`, with the overrides of `store` (may be null).
    explicit PortMap(const SettingsStore* store, const QString& deviceFolder = QStringLiteral("/dev"));

    // The device of a name such as "COM3" or "LPT1"; empty when the name maps to nothing.
    QString devicePath(const QString& portName) const;

    QList<PortName> serialPorts() const;
    QList<PortName> parallelPorts() const;

    // The number of "COM12" (12); 0 when the text after the three letters is not a number.
    static int portNumber(const QString& portName);

private:
    QMap<int, PortName> com_;
    QMap<int, PortName> lpt_;
    QString deviceFolder_;
};

}  // namespace vormex
