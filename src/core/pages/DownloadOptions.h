#pragma once

#include "base/StringTable.h"
#include "definitions/PrinterDefinition.h"
#include "download/DownloadJob.h"
#include "download/PrepareItem.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>

// A download job from option texts: the settings of the download page in the words of
// `vormexctl download`'s long options ("allocate" "8,4,14", "vormex" "on", "basic-main" a path,
// ...). The command line and a fleet manifest both fill their jobs here, so both get the page's
// range checks for the printer model and the same preparation of every file.
namespace vormex {

// Option name and value, in any order.
using DownloadOptionValues = QList<QPair<QString, QString>>;

// Every option a job takes: "firmware", "allocate", "kanji", "basic-main", "basic-system",
// "system-params", "initial-table", "start-blocks", "vormex", "test-file".
const QStringList& DownloadOptionNames();
// The options whose value is a file path.
bool IsDownloadFileOption(const QString& name);

struct DownloadOptionProblem {
    enum Kind {
        Usage,       // a malformed value, options that do not go together, or nothing to do
        OutOfRange,  // a value outside the printer's range, or an area the printer lacks
        File,        // a file that cannot be read, encoded, checked or converted
    };
    Kind kind = Usage;
    QString option;   // the option concerned; empty for the job as a whole
    QString message;  // for File the preparation's own message
    QString path;     // for File the file concerned
    QString detail;   // for File where in the file its check failed ("main.bas:12: GOTO *lower",
                      // "field 9, MAXIMUM LENGTH"), for a line before the message; may be empty
};

// A whole number of an option, checked against its range: nothing and `problem` set ("Enter an
// integer from 0 to 16", in the current language) when it is not one or lies outside.
std::optional<int> ReadOptionNumber(const QString& text, int min, int max, const StringTable& strings, QString& problem);

// Fills `job` (its control codes already set) for `printer`: the mode, the printer's allocation
// and start blocks, then the options over them with the page's checks, then every file prepared
// into its item in step order. Gives the first problem; the job is then not to be sent.
std::optional<DownloadOptionProblem> FillDownloadJob(const DownloadOptionValues& values, const PrinterDefinition& printer,
                                                     const PrepareContext& context, DownloadJob& job);

}  // namespace vormex
