#pragma once

// Numbers of the texts the windows and pages show. Captions of controls are 100000 + the
// control's id, titles of dialogs and pages 200000 + the dialog's id, other texts 300000 on.
namespace vormex::gui::text {

// Navigation, header, options sheet.
inline constexpr int kNavigationCaptionFirst = 400;  // 400..404, one per destination
inline constexpr int kNavigationPaneCaption = 311;
inline constexpr int kOptionsButton = 231;
inline constexpr int kOptionsButtonTip = 233;
inline constexpr int kOptionsSheetCaption = 316;
inline constexpr int kLanguageEnglish = 700;
inline constexpr int kLanguageJapanese = 701;
inline constexpr int kRangeMessage = 61714;  // "%1 から %2 までの整数を入力してください。"
inline constexpr int kProgramFilter = 631;

// Printer settings page.
inline constexpr int kBaudRates = 500;
inline constexpr int kDataBits = 520;
inline constexpr int kParities = 530;
inline constexpr int kStopBits = 540;
inline constexpr int kControlCodeTypes = 550;
inline constexpr int kEqualControlCodes = 8115;

inline constexpr int controlCaption(int controlId) { return 100000 + controlId; }
inline constexpr int dialogTitle(int dialogId) { return 200000 + dialogId; }

// Menus, About box, buttons, placeholders.
inline constexpr int kHeaderGroup = 300001;
inline constexpr int kMilliseconds = 300002;
inline constexpr int kBrowse = 300003;
inline constexpr int kMenuFile = 300010;
inline constexpr int kMenuExit = 300011;
inline constexpr int kMenuHelp = 300012;
inline constexpr int kMenuAbout = 300013;
inline constexpr int kMenuView = 300014;
inline constexpr int kMenuNavigationBar = 300015;
inline constexpr int kAboutVersion = 300020;
inline constexpr int kAboutNotice = 300021;
inline constexpr int kAboutTitle = 300022;
inline constexpr int kButtonOk = 300030;
inline constexpr int kButtonCancel = 300031;
inline constexpr int kButtonYes = 300032;
inline constexpr int kButtonNo = 300033;
inline constexpr int kPlaceholderNote = 300040;
inline constexpr int kPageInitialValues = 312;
inline constexpr int kPageFontTables = 313;
inline constexpr int kPageDriveMapping = 315;
inline constexpr int kPageResponseCommands = 318;
inline constexpr int kUsbUnreachable = 300070;  // "%1" device, "%2" reason
inline constexpr int kPortNotConnected = 300072;  // "%1" the port name
inline constexpr int kIpAddressRefused = 300073;  // "%1" typed text, "%2" the fault, "%3" stored address
inline constexpr int kIpNeedsFourNumbers = 300074;
inline constexpr int kIpNumberMissing = 300075;   // "%1" its position, 1..4
inline constexpr int kIpNumberTooLarge = 300076;  // "%1" the number
inline constexpr int kNotAProgram = 300077;       // "%1" the file
inline constexpr int kPortRefused = 300078;       // "%1" typed, "%2" and "%3" the range, "%4" stored port
inline constexpr int kCodeCharacterFirst = 300050;  // 300050..300052: "character of code 1..3"

// The printer settings page's "Find..." and its dialog.
inline constexpr int kFindButton = 300080;
inline constexpr int kFindTitle = 300081;
inline constexpr int kFindRange = 300082;
inline constexpr int kFindScan = 300083;
inline constexpr int kFindStop = 300084;
inline constexpr int kFindProgress = 300085;         // "%1" printers found, "%2" probed, "%3" to probe
inline constexpr int kFindColumnFirst = 300086;      // 300086..300089: address, port, mode, status
inline constexpr int kFindRangeRefused = 300090;     // "%1" the text
inline constexpr int kFindCannotScan = 300091;       // "%1" why
inline constexpr int kFindFinished = 300092;         // "%1" printers, "%2" addresses, "%3" seconds
inline constexpr int kFindStopped = 300093;          // "%1" printers
inline constexpr int kFindRangeDescription = 300094;
inline constexpr int kFindListName = 300095;

// Names and descriptions for screen readers.
inline constexpr int kRangeDescription = 300300;          // "%1" min, "%2" max
inline constexpr int kRangeWithUnitDescription = 300301;  // "%1" min, "%2" max, "%3" unit
inline constexpr int kHexDigitsDescription = 300302;      // "%1" the number of digits
inline constexpr int kBrowseForName = 300303;             // "%1" the name of the file's control
inline constexpr int kLogName = 300304;
inline constexpr int kItemProgressName = 300305;
inline constexpr int kProgressName = 300306;
inline constexpr int kBlocksUnit = 106585;                // "ブロック"

// Download page and download dialog.
inline constexpr int kKanjiVariants = 306500;  // "なし", "漢字１＋２", "漢字２"
inline constexpr int kVormexSwitchEntries = 320;  // "VORMEX ON", "VORMEX OFF"
inline constexpr int kFirmwareNotice = 8046;
inline constexpr int kEnterInteger = 61712;

}  // namespace vormex::gui::text
