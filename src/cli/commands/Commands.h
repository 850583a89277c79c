#pragma once

#include "Command.h"

#include <QList>

// The commands of vormexctl by subject, each file holding its commands' options and runners.
namespace vormex::cli {

// printers, show-printer, info: the definition file and the settings.
QList<Command> foundationCommands();
// check, convert, export: parameter files.
QList<Command> parameterCommands();
// encode: the BASIC encoder.
QList<Command> encodeCommands();
// get, vormex, list-usb, list-ports: talking to the printer and finding its ports.
QList<Command> printerCommands();
// scan, status: finding printers and asking one for its state.
QList<Command> discoveryCommands();
// download, send-file: download jobs.
QList<Command> downloadCommands();
// config: the stored settings of the printer settings page and the options sheet.
QList<Command> configCommands();
// diff: the printer's parameter file against a user's file.
QList<Command> verifyCommands();
// apply, backup: many printers at once.
QList<Command> fleetCommands();

}  // namespace vormex::cli
