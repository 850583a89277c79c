#include "conversion/ParameterComparison.h"

#include "base/PrinterFileArea.h"
#include "codec/Codec.h"
#include "comm/StoreFileEnvelope.h"
#include "conversion/ParameterFileConversion.h"
#include "sysparam/SystemParameterLine.h"

#include <algorithm>

namespace vormex {
namespace {

const QString kLineEnd = QStringLiteral("\r\n");

QString withoutLineEnd(const QString& text) { return text.endsWith(kLineEnd) ? text.chopped(2) : text; }

std::optional<QString> at(const QStringList& list, qsizetype index)
{
    return index < list.size() ? std::optional<QString>(list[index]) : std::nullopt;
}

QList<ParameterDifference> compareSystemLines(const QString& printerText, const QString& wantedText)
{
    const QStringList held = withoutLineEnd(printerText).split(QLatin1Char(','));
    const QStringList wanted = withoutLineEnd(wantedText).split(QLatin1Char(','));
    QList<ParameterDifference> differences;
    for (qsizetype i = 0; i < std::max(held.size(), wanted.size()); ++i) {
        if (at(held, i) == at(wanted, i))
            continue;
        const QString name = SystemParameterFieldName(static_cast<int>(i));
        differences.append({ParameterFileKind::SystemParameters,
                            name.isEmpty() ? QStringLiteral("field %1").arg(i + 1) : name, at(held, i), at(wanted, i)});
    }
    return differences;
}

// The lines of a text, each without its CR LF; a last line without one counts as well.
QStringList linesOf(const QString& text)
{
    QStringList lines = text.split(kLineEnd);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// The section and line of each line of an initial value & table text laid out as the printer's
// formats say: a header, then the section's data lines.
QString lineName(const PrinterDefinition& printer, qsizetype line)
{
    qsizetype first = 0;
    for (int section = 0; section < printer.layoutFormats.size(); ++section) {
        const qsizetype size = 1 + SectionDataLineCount(section);
        if (line == first)
            return QStringLiteral("%1 header").arg(printer.layoutFormats[section].name);
        if (line < first + size)
            return QStringLiteral("%1 line %2").arg(printer.layoutFormats[section].name).arg(line - first);
        first += size;
    }
    return QStringLiteral("line %1").arg(line + 1);
}

QList<ParameterDifference> compareInitialTexts(const QString& printerText, const QString& wantedText,
                                               const PrinterDefinition& printer)
{
    const QStringList held = linesOf(printerText);
    const QStringList wanted = linesOf(wantedText);
    QList<ParameterDifference> differences;
    for (qsizetype i = 0; i < std::max(held.size(), wanted.size()); ++i) {
        if (at(held, i) != at(wanted, i))
            differences.append({ParameterFileKind::InitialTable, lineName(printer, i), at(held, i), at(wanted, i)});
    }
    return differences;
}

}  // namespace

QList<ParameterDifference> CompareParameterTexts(ParameterFileKind kind, const QString& printerText,
                                                 const QString& wantedText, const PrinterDefinition& printer)
{
    return kind == ParameterFileKind::SystemParameters ? compareSystemLines(printerText, wantedText)
                                                        : compareInitialTexts(printerText, wantedText, printer);
}

ParameterDifference MissingFileDifference(ParameterFileKind kind, qsizetype wantedBytes)
{
    return {kind, QString::fromLatin1(PrinterFileNameOf(kind)), QStringLiteral("NO FILE"),
            QStringLiteral("%1 bytes").arg(wantedBytes)};
}

QString DifferenceLine(const ParameterDifference& difference)
{
    const QString none = QStringLiteral("(none)");
    return QStringLiteral("%1: printer %2, file %3")
        .arg(difference.where, difference.printer.value_or(none), difference.wanted.value_or(none));
}

QString ParameterFileWord(ParameterFileKind kind)
{
    return kind == ParameterFileKind::SystemParameters ? QStringLiteral("system") : QStringLiteral("initial");
}

std::optional<QString> TextOfPrinterFileArea(const QByteArray& area)
{
    if (area.size() < kPrinterFileHeaderSize)
        return std::nullopt;
    const int length = (static_cast<unsigned char>(area[12]) << 8) | static_cast<unsigned char>(area[13]);
    if (kPrinterFileHeaderSize + length > area.size())
        return std::nullopt;
    return codec::fromPrinterCodePage(area.mid(kPrinterFileHeaderSize, length));
}

std::optional<QString> TextOfStoreFileEnvelope(const QByteArray& envelope)
{
    // "{LP;" before the area; the bar, the brace and the checksum after it.
    if (envelope.size() < kStoreFileEnvelopeOverhead)
        return std::nullopt;
    return TextOfPrinterFileArea(envelope.mid(4, envelope.size() - kStoreFileEnvelopeOverhead));
}

}  // namespace vormex
