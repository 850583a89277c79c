#pragma once

#include "comm/LinkSettings.h"
#include "definitions/PrinterDefinition.h"
#include "download/DownloadJob.h"
#include "fleet/FleetManifest.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace vormex {

struct Application;
class SettingsStore;

// What a fleet run does at each target.
enum class FleetAction {
    Apply,   // run the job, then (with verify) read the parameter files sent back and compare
    Plan,    // send nothing: read both parameter files back and compare with what the job would send
    Backup,  // read both parameter files back into user files
};

// One target, ready to run.
struct PreparedTarget {
    FleetTarget target;
    const PrinterDefinition* printer = nullptr;  // its model; the application's definitions outlive the run
    LinkSettings link;                           // its own connection, with its model's name and codes
    std::shared_ptr<const DownloadJob> job;      // prepared once per model and shared read-only; none for a backup
    bool verify = false;                         // read the parameter files sent back after the job
};

// Everything a run needs, or why the manifest cannot be run.
struct FleetSetup {
    std::vector<PreparedTarget> targets;
    QStringList notices;  // texts to show once before the run (the firmware notice of a model)
    QString error;        // names the manifest and the key's path; empty when the fleet can run
    bool ok() const { return error.isEmpty(); }
};

// Finds each target's model (its own, the manifest's, else the application's selected printer),
// and for Apply and Plan fills and prepares the job once per model with the download page's
// checks for that model, before any printer is reached. `verify` follows the manifest, by default
// on when the job sends a parameter file.
FleetSetup SetUpFleet(const FleetManifest& manifest, FleetAction action, Application& app, const SettingsStore& store);

}  // namespace vormex
