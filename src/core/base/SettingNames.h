#pragma once

namespace vormex {

// Names and defaults of the values in the settings store.
namespace settings {
inline constexpr const char* kLanguage = "Language";
inline constexpr const char* kApplicationLook = "ApplicationLook";
inline constexpr const char* kHeaderIcon = "HeaderIcon";
inline constexpr const char* kHeaderDeviceInfo = "HeaderDeviceInfo";
inline constexpr const char* kWaitTime = "Wait Time";
inline constexpr const char* kPrinterName = "Printer Name";
inline constexpr const char* kDeviceInfo = "Device Info";
inline constexpr const char* kTtfDownloader = "TTFDownloader";
inline constexpr const char* kControlCodeType = "Control Code Type";
inline constexpr const char* kControlCode1 = "Control Code1";
inline constexpr const char* kControlCode2 = "Control Code2";
inline constexpr const char* kControlCode3 = "Control Code3";
inline constexpr const char* kWindowsPos = "WindowsPos";
// 1 when the navigation bar is shown, 0 when hidden; kept with the window placement.
inline constexpr const char* kShortcutsBar = "ShortcutsBar";
inline constexpr const char* kLogoutBasicEncode = "LogoutBasicEncode";
inline constexpr const char* kLogoutSystemParam = "LogoutSystemParam";
inline constexpr const char* kLogoutInitialTable = "LogoutInitialTable";
inline constexpr const char* kListColumnWidth = "ListColumnWidth";

inline constexpr const char* kDefaultLanguage = "ENG";
inline constexpr int kDefaultApplicationLook = 213;
inline constexpr int kDefaultWaitTimeMs = 20000;
inline constexpr const char* kDefaultPrinterName = "ORN Q-KA5";
inline constexpr const char* kDefaultIpAddress = "192.168.1.100";
inline constexpr int kDefaultLanPort = 8000;
inline constexpr const char* kDefaultDeviceInfo = "LAN:192.168.1.100:8000";
inline constexpr const char* kDefaultTtfDownloader = "/opt/KALDERA ORN/TrueType Font Downloader/ttf-downloader";
}  // namespace settings

}  // namespace vormex
