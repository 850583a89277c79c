#pragma once

#include "download/DownloadJob.h"

#include <QString>

#include <array>

// Which controls of the download page can be used for a job's mode and check boxes, and whether
// the job has anything to send.
namespace vormex {

struct DownloadEnabling {
    bool firmwareItem = false;       // the firmware file chooser
    bool firmwareHeader = false;     // the firmware header fields and their labels
    bool stepCheckBoxes = false;     // every step's check box
    // The file choosers of BASIC main, BASIC system, system parameters, initial table, test file.
    std::array<bool, 5> fileItems{};
    bool vormexSwitchList = false;
    bool allocationControls = false;  // keep-BASIC-area, TrueType and bitmap areas, PC save area, kanji list
    bool basicAreaControls = false;   // the BASIC area's edit, spin and labels
    bool pcSaveArea = false;          // the PC save area's number and label (BASIC-files mode)
    bool startBlockLabel = false;
    std::array<bool, 4> startBlocks{};  // BASIC main, BASIC system, system parameters, initial table
};

DownloadEnabling EnablingFor(const DownloadJob& job);

// In firmware mode a firmware file is chosen; in BASIC-files mode memory allocation is on, the
// VORMEX switch is on, or a file step is on and its chooser holds a file.
bool HasSomethingToDo(const DownloadJob& job);

// Firmware can be sent over any interface only to "Q-KB" printers; others get a notice first.
bool NeedsFirmwareNotice(const QString& printerName);

// The string ids of an item's file dialog: its default extension and its filter. A "Q-KB"
// printer's firmware is a BIN file, every other printer's a ROM file.
struct FileDialogStrings {
    int extension = 0;
    int filter = 0;
};
FileDialogStrings FileDialogFor(int itemType, const QString& printerName);

}  // namespace vormex
