#include "app/AppSettings.h"

#include "base/SettingsStore.h"

namespace vormex {

namespace {
QString name(const char* key) { return QString::fromLatin1(key); }
}  // namespace

AppSettings readAppSettings(const SettingsStore& store)
{
    using namespace settings;
    AppSettings s;
    s.language = store.readString(name(kLanguage), name(kDefaultLanguage));
    s.applicationLook = store.readInt(name(kApplicationLook), kDefaultApplicationLook);
    s.headerIcon = store.readInt(name(kHeaderIcon), 1);
    s.headerDeviceInfo = store.readInt(name(kHeaderDeviceInfo), 1);
    s.waitTimeMs = store.readInt(name(kWaitTime), kDefaultWaitTimeMs);
    if (s.waitTimeMs == 0)
        s.waitTimeMs = kDefaultWaitTimeMs;
    s.printerName = store.readString(name(kPrinterName), name(kDefaultPrinterName));
    s.deviceInfo = store.readString(name(kDeviceInfo), name(kDefaultDeviceInfo));
    s.ttfDownloaderPath = store.readString(name(kTtfDownloader), QString::fromUtf8(kDefaultTtfDownloader));
    if (s.ttfDownloaderPath.isEmpty())
        s.ttfDownloaderPath = QString::fromUtf8(kDefaultTtfDownloader);
    const int type = store.readInt(name(kControlCodeType), 0);
    if (type == 3) {
        s.controlCodes = ControlCodes::forType(type, store.readInt(name(kControlCode1), 27),
                                               store.readInt(name(kControlCode2), 10),
                                               store.readInt(name(kControlCode3), 0));
    } else {
        s.controlCodes = ControlCodes::forType(type);
    }
    s.windowsPos = store.readString(name(kWindowsPos), QString());
    return s;
}

void saveControlCodes(SettingsStore& store, const ControlCodes& codes)
{
    using namespace settings;
    store.writeInt(name(kControlCodeType), codes.type);
    store.writeInt(name(kControlCode1), codes.code1);
    store.writeInt(name(kControlCode2), codes.code2);
    store.writeInt(name(kControlCode3), codes.code3);
}

}  // namespace vormex
