#include "initialtable/DriveMapping.h"

#include "base/StringIds.h"
#include "base/StringTable.h"

namespace vormex {

namespace {

const QString kHeaderLine = QStringLiteral("DRIVE Mapping\r\n");

// Where the rows stand in the drive string: characters 1, 2, 5 and 18 belong to rows 4, 2, 3 and 1.
struct DrivePlace {
    int row;
    int character;
};
constexpr DrivePlace kDrivePlaces[] = {{3, 1}, {1, 2}, {2, 5}, {0, 18}};

}  // namespace

// The "default" and "value" attributes of all drive items are kept in document order, the
// VORMEX drives ("Z") first: a KIRN drive's value follows the VORMEX drives' entries.
QString KirnDriveValue(const DriveMappingDefinition& definition, int index)
{
    const qsizetype offset =
        definition.valueList.size() == definition.zList.size() + definition.tList.size() ? definition.zList.size() : 0;
    return definition.valueList.value(offset + index);
}

QString VormexDriveDefault(const DriveMappingDefinition& definition, int row)
{
    return definition.defaultList.value(row);
}

QStringList KirnDriveNames(const DriveMappingDefinition& definition) { return definition.tList; }

QString KirnValueOfName(const DriveMappingDefinition& definition, const QString& name)
{
    const qsizetype index = definition.tList.indexOf(name);
    return index < 0 ? QString() : KirnDriveValue(definition, int(index));
}

QString DriveMappingSet::selectedName(int row, const DriveMappingDefinition* definition) const
{
    if (!definition || row < 0 || row >= kDriveRows)
        return {};
    return definition->tList.value(selection[row]);
}

void FillDriveDefaults(const PrinterDefinition& printer, DriveMappingSet& set)
{
    if (!printer.driveMapping || printer.driveMapping->zList.isEmpty())
        return;
    const DriveMappingDefinition& definition = *printer.driveMapping;
    set.vormexNames = definition.zList.mid(0, kDriveRows);
    for (int row = 0; row < kDriveRows; ++row)
        set.selection[row] = int(definition.tList.indexOf(VormexDriveDefault(definition, row)));
}

DriveMappingSet DefaultDriveMapping(const PrinterDefinition& printer)
{
    DriveMappingSet set;
    FillDriveDefaults(printer, set);
    return set;
}

QString DriveString(const QString& row1, const QString& row2, const QString& row3, const QString& row4)
{
    return row4 + row2 + QStringLiteral("33") + row3 + QStringLiteral("333333333333") + row1 + QStringLiteral("33333330");
}

QString DriveMappingText(const DriveMappingSet& set, const PrinterDefinition& printer)
{
    const DriveMappingDefinition* definition = printer.driveMapping ? &*printer.driveMapping : nullptr;
    QString values[kDriveRows];
    for (int row = 0; row < kDriveRows; ++row)
        values[row] = definition ? KirnValueOfName(*definition, set.selectedName(row, definition)) : QString();
    return kHeaderLine + DriveString(values[0], values[1], values[2], values[3]) + QStringLiteral("\r\n");
}

bool ParseDriveMapping(const QString& text, const PrinterDefinition& printer, DriveMappingSet& set)
{
    const qsizetype at = text.indexOf(kHeaderLine);
    if (at < 0)
        return false;
    const QString rest = text.mid(at + kHeaderLine.size());
    for (const DrivePlace& place : kDrivePlaces) {
        int chosen = -1;
        if (printer.driveMapping) {
            const DriveMappingDefinition& definition = *printer.driveMapping;
            const QString value = place.character <= rest.size() ? QString(rest[place.character - 1]) : QString();
            for (int i = 0; i < definition.tList.size() && chosen < 0; ++i) {
                if (!value.isEmpty() && KirnDriveValue(definition, i) == value)
                    chosen = i;
            }
            if (chosen < 0 && !definition.tList.isEmpty())
                chosen = 0;
        }
        set.selection[place.row] = chosen;
    }
    return true;
}

std::optional<QString> CheckDriveMappingValues(const QString& text, const PrinterDefinition& printer, const StringTable& strings)
{
    const qsizetype at = text.indexOf(kHeaderLine);
    if (at < 0 || !printer.driveMapping)
        return std::nullopt;
    const DriveMappingDefinition& definition = *printer.driveMapping;
    const QString line = text.mid(at + kHeaderLine.size()).section(QStringLiteral("\r\n"), 0, 0);
    QStringList values;
    for (int i = 0; i < definition.tList.size(); ++i)
        values << KirnDriveValue(definition, i);
    for (const DrivePlace& place : kDrivePlaces) {
        const QString value = line.mid(place.character - 1, 1);
        if (!values.contains(value)) {
            const QString item = QStringLiteral("DRIVE Mapping %1").arg(definition.zList.value(place.row, QString::number(place.row + 1)));
            return strings.text(strings::kValueNotInList).arg(item, value);
        }
    }
    return std::nullopt;
}

}  // namespace vormex
