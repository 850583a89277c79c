// The codes a command goes out with follow the printer model: the stored choice for a model with
// variable control codes, ESC LF NUL for every other, on every road to the printer (the selected
// printer's link, a fleet target's link of its own model, a download job).
#include "app/Application.h"
#include "app/ApplicationContext.h"
#include "base/SettingsStore.h"
#include "comm/CommandFraming.h"
#include "pages/StorageAllocation.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace vormex;

namespace {

TEST(CommandCodes, StoredTypeAndTheModelsFlagGiveTheBytesOfVormexOff)
{
    const QByteArray esc("\x1B!T\x0A\x00", 5);
    const struct {
        ControlCodes stored;
        bool variable;
        QByteArray vormexOff;
    } cases[] = {
        {ControlCodes::forType(0), true, esc},
        {ControlCodes::forType(0), false, esc},
        {ControlCodes::forType(1), true, esc},
        {ControlCodes::forType(1), false, esc},
        {ControlCodes::forType(2), true, QByteArray("{!T|}")},
        {ControlCodes::forType(2), false, esc},
        {ControlCodes::forType(3, 0x02, 0x03, 0x04), true, QByteArray("\x02!T\x03\x04")},
        {ControlCodes::forType(3, 0x02, 0x03, 0x04), false, esc},
    };
    QTemporaryDir dir;
    const SettingsStore store(dir.filePath(QStringLiteral("store.ini")));
    for (const auto& c : cases) {
        const std::string name = "type " + std::to_string(c.stored.type) + (c.variable ? " variable" : " fixed");
        Application app;
        PrinterDefinition model;
        model.name = QStringLiteral("MODEL");
        model.variableControlCodes = c.variable ? 1 : 0;
        app.printerDefinitions = {PrinterDefinition{}, model};
        app.printerDefinitions.front().name = QStringLiteral("OTHER");
        app.printerDefinitions.front().variableControlCodes = c.variable ? 0 : 1;  // the other kind of model
        app.controlCodes = c.stored;

        EXPECT_EQ(FrameShortCommand("!T", CommandCodesFor(&model, c.stored)), c.vormexOff) << name;
        app.selectedPrinterName = model.name;
        EXPECT_EQ(FrameShortCommand("!T", LinkForDevice(app, store).codes), c.vormexOff) << name;
        // A fleet's target of this model while another model is selected.
        app.selectedPrinterName = app.printerDefinitions.front().name;
        EXPECT_EQ(FrameShortCommand("!T", LinkForPrinter(app, store, model, QStringLiteral("LAN:127.0.0.1:9100")).codes), c.vormexOff)
            << name;
        DownloadJob job;
        job.controlCodes = c.stored;
        ResetJobForPrinter(model, job);
        EXPECT_EQ(FrameShortCommand("!T", job.controlCodes), c.vormexOff) << name;
    }
}

}  // namespace
