#pragma once

#include "base/ControlCodes.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

namespace vormex {

// One file of a download job and the bytes prepared from it.
struct DownloadItem {
    enum Type { BasicMain = 0, BasicSystem = 1, SystemParameters = 2, InitialTable = 3, TestFile = 4, Firmware = 5 };

    int type = BasicMain;
    QString text;        // the path shown for the item, as chosen by the user
    QByteArray bytes;    // the prepared bytes (a store-file envelope, the test file, or the firmware image)
    bool prepared = false;
    QString lastPath;    // the path last accepted

    static DownloadItem ofType(int itemType)
    {
        DownloadItem item;
        item.type = itemType;
        return item;
    }

    // Ready to be sent: a file is chosen and its bytes are prepared.
    bool ready() const { return !text.isEmpty() && prepared; }
    // Frees the prepared bytes and empties the item.
    void clear();
};

// Everything one run of a download sends.
struct DownloadJob {
    enum Mode { FirmwareMode = 0, BasicFilesMode = 1 };

    int mode = BasicFilesMode;
    int doAllocation = 0;
    int keepBasicArea = 0;
    int doBasicMain = 0;
    int doBasicSystem = 0;
    int doSystemParameters = 0;
    int doInitialTable = 0;
    int doVormexSwitch = 0;
    int vormexSwitchEntry = 0;  // 0 "VORMEX ON" ("!Z"), 1 "VORMEX OFF" ("!T")
    int doTestFile = 0;
    int trueTypeBlocks = 0;
    int bitmapBlocks = 0;
    int basicBlocks = 0;
    int kanjiVariant = 0;
    int blockSizeKb = 0;
    std::array<int, 4> startBlocks{0, 2, 3, 4};  // BASIC main, BASIC system, system parameters, initial table
    int basicMainBlocks = 2;
    int variableControlCodes = 0;
    ControlCodes controlCodes;  // the current codes when the job was filled
    QString printerName;
    std::array<DownloadItem, 6> items{DownloadItem::ofType(0), DownloadItem::ofType(1), DownloadItem::ofType(2),
                                      DownloadItem::ofType(3), DownloadItem::ofType(4), DownloadItem::ofType(5)};
    QByteArray firmwareRequest;          // 13 bytes once a firmware file is prepared
    std::uint32_t firmwareStartAddress = 0;

    DownloadItem& item(int type) { return items.at(static_cast<size_t>(type)); }
    const DownloadItem& item(int type) const { return items.at(static_cast<size_t>(type)); }
};

// "{LDB;ss,nn|}" for the file types 0..3 (the number of blocks doubled for 128 KB blocks); the
// firmware request for types 4 and 5.
QByteArray BuildPrepareCommand(const DownloadJob& job, int type);

// "{XF;tt,bb,BB|}", "{XF1;...|}" or "{XF2;...|}" by kanji variant; "AA" instead of the BASIC
// area when it is kept.
QByteArray BuildAllocationCommand(const DownloadJob& job);

// The number of counted steps (the VORMEX-off step that comes first is not counted).
int CountDownloadSteps(const DownloadJob& job);

// Puts the current control codes into a brace command's first byte and its last two bytes
// (the bar and the closing brace) when the printer entry allows variable control codes.
QByteArray ApplyVariableControlCodes(QByteArray command, const ControlCodes& codes, bool variableControlCodes);

}  // namespace vormex
