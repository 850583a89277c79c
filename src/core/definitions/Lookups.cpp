#include "definitions/Lookups.h"

namespace vormex {
namespace {

const ItemDefinition* findByName(const QList<ItemDefinition>& items, const QString& name)
{
    for (const ItemDefinition& item : items) {
        if (item.name == name)
            return &item;
    }
    return nullptr;
}

template <typename Key>
int indexOf(const ItemDefinition& item, const QString& wanted, Key key)
{
    for (qsizetype i = 0; i < item.list.size(); ++i) {
        if (key(item.list[i]) == wanted)
            return int(i);
    }
    return -1;
}

const QString& textOf(const ListEntry& entry) { return entry.text; }
const QString& valueOf(const ListEntry& entry) { return entry.value; }

}  // namespace

const PrinterDefinition* FindPrinter(const PrinterDefinitions& definitions, const QString& name)
{
    for (const PrinterDefinition& printer : definitions) {
        if (printer.name == name)
            return &printer;
    }
    return nullptr;
}

bool IsPrinterModel(const PrinterDefinition& printer) { return printer.name != QLatin1String("standard"); }

const PrinterDefinition* FindPrinterModel(const PrinterDefinitions& definitions, const QString& name)
{
    const PrinterDefinition* printer = FindPrinter(definitions, name);
    return printer && IsPrinterModel(*printer) ? printer : nullptr;
}

const ItemDefinition* FindSystemItem(const PrinterDefinition& printer, const QString& name)
{
    return findByName(printer.systemItems, name);
}

const ItemDefinition* FindInitialItem(const PrinterDefinition& printer, const QString& name)
{
    return findByName(printer.initialItems, name);
}

const ItemDefinition* FindFontItem(const PrinterDefinition& printer, const QString& name)
{
    return printer.fontConvert ? findByName(printer.fontConvert->items, name) : nullptr;
}

const DriveMappingDefinition* FindDriveMapping(const PrinterDefinitions& definitions, const QString& printerName)
{
    const PrinterDefinition* printer = FindPrinter(definitions, printerName);
    return printer && printer->driveMapping ? &*printer->driveMapping : nullptr;
}

int IndexOfText(const ItemDefinition& item, const QString& text) { return indexOf(item, text, textOf); }

int IndexOfValue(const ItemDefinition& item, const QString& value) { return indexOf(item, value, valueOf); }

QString ValueOfText(const ItemDefinition& item, const QString& text)
{
    const int index = IndexOfText(item, text);
    return index < 0 ? QString() : item.list[index].value;
}

QString TextOfValue(const ItemDefinition& item, const QString& value)
{
    const int index = IndexOfValue(item, value);
    return index < 0 ? QString() : item.list[index].text;
}

}  // namespace vormex
