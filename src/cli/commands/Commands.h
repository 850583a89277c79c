#pragma once

#include <QStringList>

#include <vector>

namespace vormex::cli {

class CliContext;

using CommandFunction = int (*)(CliContext& context, const QStringList& arguments);

struct CommandInfo {
    const char* name;
    const char* synopsis;   // arguments, for the help text
    const char* summary;    // one line
    CommandFunction run;
};

// Every command of vormexctl, in the order the help lists them.
const std::vector<CommandInfo>& allCommands();

// Definitions and settings.
int runPrinters(CliContext& context, const QStringList& arguments);
int runShowPrinter(CliContext& context, const QStringList& arguments);
int runInfo(CliContext& context, const QStringList& arguments);
// Parameter files.
int runCheck(CliContext& context, const QStringList& arguments);
int runConvert(CliContext& context, const QStringList& arguments);
int runExport(CliContext& context, const QStringList& arguments);
// BASIC encoder.
int runEncode(CliContext& context, const QStringList& arguments);
// Printer communication.
int runGet(CliContext& context, const QStringList& arguments);
int runVormex(CliContext& context, const QStringList& arguments);
int runListUsb(CliContext& context, const QStringList& arguments);
int runListPorts(CliContext& context, const QStringList& arguments);
// Downloads.
int runDownload(CliContext& context, const QStringList& arguments);
int runSendFile(CliContext& context, const QStringList& arguments);

}  // namespace vormex::cli
