#include "fleet/TargetsCsv.h"

#include <QFile>
#include <QStringDecoder>

#include <csv.h>

namespace vormex {
namespace {

// The rows libcsv hands over, field by field, as the file's bytes.
struct CsvRows {
    QList<QList<QByteArray>> rows;
    QList<QByteArray> current;

    static void field(void* bytes, size_t length, void* self)
    {
        static_cast<CsvRows*>(self)->current.append(QByteArray(static_cast<const char*>(bytes), static_cast<qsizetype>(length)));
    }
    static void rowEnd(int, void* self)
    {
        auto* rows = static_cast<CsvRows*>(self);
        rows->rows.append(rows->current);
        rows->current.clear();
    }
};

// Blanks belong to the field: a device text with a trailing blank is a typing error to show,
// not to hide.
int noBlanks(unsigned char) { return 0; }

// "printers.csv: row 3, column 2: ..."
QString at(const QString& path, qsizetype row, qsizetype column, const QString& what)
{
    return QStringLiteral("%1: row %2, column %3: %4").arg(path).arg(row).arg(column).arg(what);
}

// Why strict parsing stopped at `offset`, in the words of someone who edits the file.
QString parseProblem(const QByteArray& bytes, size_t offset)
{
    if (offset < size_t(bytes.size()) && bytes[qsizetype(offset)] == '"')
        return QStringLiteral("a quote inside a field that does not begin with one (quote the whole field and double the quote)");
    if (offset < size_t(bytes.size()))
        return QStringLiteral("\"%1\" after the closing quote of a field (a quoted field ends at its quote, before the comma)")
            .arg(QString::fromUtf8(bytes.mid(qsizetype(offset), 1)));
    return QStringLiteral("a quoted field is not closed before the end of the file");
}

// The rows of the file as UTF-8 text; false and `error` when it cannot be read, is not CSV or
// not UTF-8.
bool parseCsv(const QString& path, QList<QStringList>& rows, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    QByteArray bytes = file.read(kMaxFleetFileBytes + 1);
    if (bytes.size() > kMaxFleetFileBytes) {
        error = QStringLiteral("%1: larger than %2 bytes: not a targets file").arg(path).arg(kMaxFleetFileBytes);
        return false;
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    csv_parser parser;
    if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0) {
        error = QStringLiteral("%1: the CSV reader cannot start").arg(path);
        return false;
    }
    csv_set_space_func(&parser, noBlanks);
    CsvRows collected;
    const size_t parsed = csv_parse(&parser, bytes.constData(), static_cast<size_t>(bytes.size()), CsvRows::field, CsvRows::rowEnd, &collected);
    bool complete = parsed == static_cast<size_t>(bytes.size());
    if (!complete) {
        error = at(path, collected.rows.size() + 1, collected.current.size() + 1,
                   csv_error(&parser) == CSV_EPARSE ? parseProblem(bytes, parsed) : QString::fromLatin1(csv_strerror(csv_error(&parser))));
    } else if (csv_fini(&parser, CsvRows::field, CsvRows::rowEnd, &collected) != 0) {
        complete = false;
        error = at(path, collected.rows.size() + 1, collected.current.size() + 1, parseProblem(bytes, parsed));
    }
    csv_free(&parser);
    if (!complete)
        return false;
    rows.clear();
    for (qsizetype r = 0; r < collected.rows.size(); ++r) {
        QStringList row;
        for (qsizetype c = 0; c < collected.rows[r].size(); ++c) {
            QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            row.append(utf8.decode(collected.rows[r][c]));
            if (utf8.hasError()) {
                error = at(path, r + 1, c + 1, QStringLiteral("not UTF-8 text (save the file as CSV in UTF-8)"));
                return false;
            }
        }
        rows.append(row);
    }
    return true;
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
