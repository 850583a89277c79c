#include "fleet/TargetsCsv.h"

#include <QFile>

#include <csv.h>

namespace vormex {
namespace {

// The rows libcsv hands over, field by field.
struct CsvRows {
    QList<QStringList> rows;
    QStringList current;

    static void field(void* bytes, size_t length, void* self)
    {
        static_cast<CsvRows*>(self)->current.append(QString::fromUtf8(static_cast<const char*>(bytes), static_cast<qsizetype>(length)));
    }
    static void rowEnd(int, void* self)
    {
        auto* rows = static_cast<CsvRows*>(self);
        rows->rows.append(rows->current);
        rows->current.clear();
    }
};

// The parsed rows of the file; false and `error` when it cannot be read or parsed.
bool parseCsv(const QString& path, QList<QStringList>& rows, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    csv_parser parser;
    if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0) {
        error = QStringLiteral("%1: the CSV reader cannot start").arg(path);
        return false;
    }
    CsvRows collected;
    const size_t parsed = csv_parse(&parser, bytes.constData(), static_cast<size_t>(bytes.size()), CsvRows::field, CsvRows::rowEnd, &collected);
    const bool complete = parsed == static_cast<size_t>(bytes.size())
                          && csv_fini(&parser, CsvRows::field, CsvRows::rowEnd, &collected) == 0;
    if (!complete)
        error = QStringLiteral("%1: row %2: %3").arg(path).arg(collected.rows.size() + 1).arg(QString::fromLatin1(csv_strerror(csv_error(&parser))));
    csv_free(&parser);
    rows = collected.rows;
    return complete;
}

}  // namespace

bool ReadTargetsCsv(const QString& path, QList<FleetTarget>& targets, QString& error)
{
    QList<QStringList> rows;
    if (!parseCsv(path, rows, error))
        return false;
    if (rows.isEmpty()) {
        error = QStringLiteral("%1: empty: the first row names the columns name,device (and printer)").arg(path);
        return false;
    }
    const QStringList header = rows.first();
    for (const QString& column : header) {
        if (column != QLatin1String("name") && column != QLatin1String("device") && column != QLatin1String("printer")) {
            error = QStringLiteral("%1: row 1: unknown column \"%2\" (the columns are name, device and printer)").arg(path, column);
            return false;
        }
        if (header.count(column) > 1) {
            error = QStringLiteral("%1: row 1: the column \"%2\" is named twice").arg(path, column);
            return false;
        }
    }
    const qsizetype name = header.indexOf(QStringLiteral("name"));
    const qsizetype device = header.indexOf(QStringLiteral("device"));
    const qsizetype printer = header.indexOf(QStringLiteral("printer"));
    if (name < 0 || device < 0) {
        error = QStringLiteral("%1: row 1: the header must name the columns name and device").arg(path);
        return false;
    }
    for (qsizetype i = 1; i < rows.size(); ++i) {
        const QStringList& row = rows[i];
        if (row.size() != header.size()) {
            error = QStringLiteral("%1: row %2: %3 fields where the header has %4").arg(path).arg(i + 1).arg(row.size()).arg(header.size());
            return false;
        }
        FleetTarget target;
        target.name = row[name];
        target.device = row[device];
        target.printer = printer >= 0 ? row[printer] : QString();
        target.origin = QStringLiteral("%1: row %2").arg(path).arg(i + 1);
        target.fromCsv = true;
        targets.append(target);
    }
    return true;
}

}  // namespace vormex
