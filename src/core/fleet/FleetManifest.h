#pragma once

#include "pages/DownloadOptions.h"

#include <QList>
#include <QString>

#include <optional>

// A fleet: the printers one manifest sets up alike. The manifest is a JSON object
//   {"printer": MODEL, "job": {OPTION: VALUE, ...}, "verify": BOOL,
//    "targets": [{"name": NAME, "device": TEXT, "printer": MODEL}, ...], "targets-file": CSV}
// whose job takes the long options of `vormexctl download`; the targets file is CSV with the
// columns name and device and an optional printer column. Everything is checked before any
// printer is reached; an error names the file and the key's path ("site.json: targets[1].device:
// missing") or the file and row of the CSV.
namespace vormex {

// A manifest or targets file is small; a bigger one is no such file (and a device such as
// /dev/zero given by mistake is not read to its end).
inline constexpr qsizetype kMaxFleetFileBytes = 16 * 1024 * 1024;

struct FleetTarget {
    QString name;
    QString device;   // the device text, as --device takes it
    QString printer;  // the model; empty: the manifest's (or the selected) printer
    QString origin;   // where it was given: "site.json: targets[1]", "printers.csv: row 3"
    bool fromCsv = false;

    // The path of one of its keys in a message: "site.json: targets[1].printer",
    // "printers.csv: row 3: printer".
    QString keyPath(const QString& key) const { return origin + (fromCsv ? QStringLiteral(": ") : QStringLiteral(".")) + key; }
};

struct FleetManifest {
    QString path;                 // the file read
    QString printer;              // the default model; empty when the manifest names none
    DownloadOptionValues job;     // file paths made absolute from the manifest's folder
    std::optional<bool> verify;   // as given
    QList<FleetTarget> targets;   // "targets" first, then the targets file's rows
};

// What the job's files must be for the manifest to count as read.
enum class JobFiles { MustExist, Ignored };

// Reads and checks a manifest: JSON syntax, keys given once, known keys and their types, the
// job's files (that they can be read, with `JobFiles::MustExist`), the targets file, device texts
// that parse strictly and lead to a printer of one target only, and names that are unique and
// usable as folder names. Gives false and
// `error` at the first problem. The path "-" reads the manifest from standard input (named
// "standard input" in messages); its file names are then taken from the current folder.
bool ReadFleetManifest(const QString& path, JobFiles jobFiles, FleetManifest& manifest, QString& error);

inline constexpr int kMaxFleetNameLength = 64;

// Why `name` cannot name a target (it names the target's backup folder and prefixes its log
// lines): empty, "." or "..", longer than 64 characters, or a character other than letters,
// digits, "-", "_" and ".". Empty when it can.
QString FleetNameProblem(const QString& name);

// Reads a targets CSV on its own (the manifest then holds only its targets).
bool ReadTargetsManifest(const QString& path, FleetManifest& manifest, QString& error);

}  // namespace vormex
