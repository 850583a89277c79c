#pragma once

// Numbers of the texts the download engines write into their logs.
namespace vormex::download_messages {

inline constexpr int kAllocationStart = 8000;
inline constexpr int kAllocationDone = 8001;
inline constexpr int kAllocationFailed = 8002;
inline constexpr int kBasicMainStart = 8003;
inline constexpr int kBasicMainDone = 8004;
inline constexpr int kBasicMainFailed = 8005;
inline constexpr int kBasicSystemStart = 8006;
inline constexpr int kBasicSystemDone = 8007;
inline constexpr int kBasicSystemFailed = 8008;
inline constexpr int kVormexSwitchStart = 8009;
inline constexpr int kVormexSwitchDone = 8010;
inline constexpr int kVormexSwitchFailed = 8011;
inline constexpr int kSystemParametersStart = 8012;
inline constexpr int kSystemParametersDone = 8013;
inline constexpr int kSystemParametersFailed = 8014;
inline constexpr int kInitialTableStart = 8015;
inline constexpr int kInitialTableDone = 8016;
inline constexpr int kInitialTableFailed = 8017;
inline constexpr int kTestFileStart = 8018;
inline constexpr int kTestFileDone = 8019;
inline constexpr int kTestFileFailed = 8020;
inline constexpr int kDownloadStart = 8021;
inline constexpr int kDownloadDone = 8022;
inline constexpr int kDeviceOpenError = 8023;
inline constexpr int kPreparing = 8024;
inline constexpr int kPrepared = 8025;
inline constexpr int kDownloadFailed = 8026;
inline constexpr int kFirmwareStart = 8033;
inline constexpr int kFirmwareDone = 8034;
inline constexpr int kFirmwareFailed = 8035;
inline constexpr int kVormexOff = 8041;
inline constexpr int kVormexOn = 8047;

}  // namespace vormex::download_messages
