#pragma once

#include "FakePrinter.h"

#include "base/SettingsStore.h"
#include "comm/LinkSettings.h"
#include "download/DownloadRunner.h"

#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace vormex::test {

// The log text a run of messages gives, each line ended with CR LF.
QString logOf(std::initializer_list<int> ids);
// The bytes of one firmware file: a body of printable bytes, then a 256-byte trailer whose
// address field holds `startAddress`.
QByteArray firmwareFile(qint64 bodyLength, std::uint32_t startAddress);

// A temporary folder with a settings store whose port map sends COM3 and LPT1 where a test wants.
class LinkFixture : public ::testing::Test {
protected:
    void SetUp() override;

    LinkSettings lanSettings(const FakePrinter& printer, const ControlCodes& codes = {}, bool variable = false) const;
    // COM3 mapped to the printer's pseudo-terminal.
    LinkSettings comSettings(const FakePrinter& printer, const ControlCodes& codes = {}, bool variable = false);
    // LPT1 mapped to a FIFO in the temporary folder.
    LinkSettings lptSettings(const QString& fifo);

    // Runs a runner to its end (bounded) and gives the progress record's log.
    static QString finish(DownloadRunner& runner, int timeoutMs = 600000);

    QString path(const QString& name) const { return dir_.filePath(name); }

private:
    PortMap portMapWith(const QString& name, const QString& device);

    QTemporaryDir dir_;
};

}  // namespace vormex::test
