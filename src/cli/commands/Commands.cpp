#include "commands/Commands.h"

namespace vormex::cli {

const std::vector<CommandInfo>& allCommands()
{
    static const std::vector<CommandInfo> commands = {
        {"printers", "", "list the printer models of the definition file", runPrinters},
        {"show-printer", "NAME", "show a printer entry's items and sections", runShowPrinter},
        {"info", "", "version, files and settings in use (for bug reports)", runInfo},
        {"check", "FILE --kind system|initial", "check a parameter file as a download would", runCheck},
        {"convert", "FILE --kind system|initial -o OUT [--envelope]", "write the printer file image of a parameter file", runConvert},
        {"export", "--kind system|initial --format txt|xml -o OUT [FROM]", "write defaults or FROM as a text or XML file", runExport},
        {"encode", "SOURCE --program main|system [--block-kb N] [--language jpn|eng] (-o OUT | --listing)", "encode a BASIC program into the printer's image", runEncode},
        {"get", "system|initial [--device TEXT] [-o FILE]", "read a parameter file back from the printer", runGet},
        {"vormex", "on|off [--device TEXT]", "switch VORMEX on or off", runVormex},
        {"list-usb", "", "list the connected USB printers", runListUsb},
        {"list-ports", "", "list the serial and parallel port names", runListPorts},
        {"download", "[options]", "run a download job (BASIC files and settings, or firmware)", runDownload},
        {"send-file", "system|initial FILE [--device TEXT] [--start-block N] [--no-vormex-on]", "download one parameter file", runSendFile},
    };
    return commands;
}

}  // namespace vormex::cli
