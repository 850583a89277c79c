#include "definitions/DefinitionReader.h"

#include "definitions/DefinitionReaderContext.h"
#include "definitions/Lookups.h"
#include "definitions/ParameterLine.h"

#include <QBuffer>
#include <QFile>

#include <algorithm>
#include <array>

namespace vormex {
namespace reader {
namespace {

// Item types whose initial value is a text; every other type has a number.
bool hasTextInitialValue(const QString& type)
{
    static const std::array<QString, 5> textTypes = {
        QStringLiteral("ComboBox-dropdownlist"), QStringLiteral("MaskedEdit"), QStringLiteral("Edit"),
        QStringLiteral("ComboBox-dropdown"), QStringLiteral("CheckBox")};
    return std::find(textTypes.begin(), textTypes.end(), type) != textTypes.end();
}

// "min" and "max" widen the control to the characters of their own text, at most 20.
constexpr int kMaxLengthFromLimit = 20;

void applyItemAttributes(const QXmlStreamAttributes& attributes, ItemDefinition& item)
{
    for (const QXmlStreamAttribute& attribute : attributes) {
        const QStringView name = attribute.qualifiedName();
        const QString value = attribute.value().toString();
        if (name == u"name") {
            item.name = value;
        } else if (name == u"type") {
            item.type = value;
        } else if (name == u"min" || name == u"max") {
            (name == u"min" ? item.min : item.max) = CDecimal(value);
            item.length = std::max(item.length, int(std::min<qsizetype>(value.size(), kMaxLengthFromLimit)));
        } else if (name == u"limit" || name == u"length") {
            item.length = CDecimal(value);
        } else if (name == u"mask") {
            item.mask = value;
        } else if (name == u"template") {
            item.templateText = value;
        } else if (name == u"validchars") {
            item.validChars = value;
        }
    }
}

bool readListEntry(Context& context, ItemDefinition& item)
{
    ListEntry entry;
    for (const QXmlStreamAttribute& attribute : context.xml.attributes()) {
        if (attribute.qualifiedName() == u"value")
            entry.value = attribute.value().toString();
        else if (attribute.qualifiedName() == u"type")
            entry.type = attribute.value().toString();
    }
    if (!context.readUntilEnd(QLatin1StringView("list"), [](QStringView) { return true; },
                              [&entry](const QString& text) { entry.text = text; }))
        return false;
    item.list.append(entry);
    return true;
}

// "standard" appends its items; any other printer replaces the inherited item of the same name
// or appends a new one.
void storeItem(Context& context, QList<ItemDefinition>& items, const ItemDefinition& item)
{
    if (!context.readingStandard()) {
        for (ItemDefinition& inherited : items) {
            if (inherited.name == item.name) {
                inherited = item;
                return;
            }
        }
    }
    items.append(item);
}

bool readParameterGroup(Context& context)
{
    if (!context.requireAttributes())
        return false;
    return context.readUntilEnd(QLatin1StringView("Parameter"), [&context](QStringView name) {
        return name != u"item" || readItem(context, &context.entry().initialItems);
    });
}

bool readSystemParameters(Context& context)
{
    return context.readUntilEnd(QLatin1StringView("SystemParameter"), [&context](QStringView name) {
        return name != u"item" || readItem(context, &context.entry().systemItems);
    });
}

bool readInitialValues(Context& context)
{
    return context.readUntilEnd(QLatin1StringView("InitialValues"), [&context](QStringView name) {
        return name != u"Parameter" || readParameterGroup(context);
    });
}

bool readPrinterChild(Context& context, QStringView name)
{
    if (name == u"SystemParameter")
        return readSystemParameters(context);
    if (name == u"InitialValues")
        return readInitialValues(context);
    if (name == u"FontConvert")
        return readFontConvert(context);
    if (name == u"DriveMapping")
        return readDriveMapping(context);
    if (name == u"Allocate")
        return readAllocate(context);
    if (name == u"StatusResponse")
        return readStatusResponse(context);
    if (name == u"Layout")
        return readLayout(context);
    if (name == u"LABELSHIFT")
        return readLabelShift(context);
    if (name == u"FarmDownload")
        return readFarmDownload(context);
    if (name == u"CommandControlCode")
        return readCommandControlCode(context);
    // Any other element is transparent: its content is read as if it stood in "printer".
    return true;
}

bool readPrinter(Context& context)
{
    if (!context.requireAttributes())
        return false;
    const QXmlStreamAttributes attributes = context.xml.attributes();
    context.definitions.emplace_back();
    context.entryIndex = context.definitions.size() - 1;
    for (const QXmlStreamAttribute& attribute : attributes) {
        if (attribute.qualifiedName() != u"name")
            continue;
        context.entry().name = attribute.value().toString();
        context.currentPrinterName = context.entry().name;
        if (!context.readingStandard())
            CopyFromStandard(context.definitions, context.entry());
    }
    return context.readUntilEnd(QLatin1StringView("printer"),
                                [&context](QStringView name) { return readPrinterChild(context, name); });
}

bool readRoot(Context& context)
{
    return context.readUntilEnd(QLatin1StringView("VORMEX_Parameter"), [&context](QStringView name) {
        if (name == u"header")
            return context.skipToEnd(QLatin1StringView("header"));
        if (name == u"printer")
            return readPrinter(context);
        return true;
    });
}

int readDocument(Context& context)
{
    bool rootRead = false;
    for (;;) {
        switch (context.xml.next()) {
        case DefinitionXml::Node::Start:
            if (context.xml.name() == u"VORMEX_Parameter") {
                if (!readRoot(context))
                    return 0;
                rootRead = true;
            }
            break;
        case DefinitionXml::Node::EndOfDocument:
            return 1;
        case DefinitionXml::Node::Error:
            // Damage after the root's end tag does not matter any more.
            if (rootRead)
                return 1;
            context.fail(context.xml.errorMessage());
            return 0;
        default:
            break;
        }
    }
}

}  // namespace

bool Context::fail(const QString& message)
{
    if (error.message.isEmpty()) {
        error.message = message;
        error.line = xml.lineNumber();
    }
    return false;
}

bool Context::requireAttributes()
{
    if (!xml.attributes().isEmpty())
        return true;
    return fail(QStringLiteral("the element \"%1\" has no attributes").arg(xml.name()));
}

bool readItem(Context& context, QList<ItemDefinition>* items)
{
    if (!context.requireAttributes())
        return false;
    ItemDefinition item;
    applyItemAttributes(context.xml.attributes(), item);
    QString text;
    const bool read = context.readUntilEnd(
        QLatin1StringView("item"), [&](QStringView name) { return name != u"list" || readListEntry(context, item); },
        [&text](const QString& value) { text = value; });
    if (!read)
        return false;
    if (hasTextInitialValue(item.type))
        item.initialText = text;
    else
        item.initialNumber = CDecimal(text);
    if (items)
        storeItem(context, *items, item);
    return true;
}

}  // namespace reader

int LoadDefinitionsFromDevice(QIODevice& device, PrinterDefinitions& definitions, DefinitionLoadError* error)
{
    reader::Context context(&device, definitions);
    const int result = reader::readDocument(context);
    if (error)
        *error = result ? DefinitionLoadError{} : context.error;
    return result;
}

int LoadDefinitionsFromData(const QByteArray& xml, PrinterDefinitions& definitions, DefinitionLoadError* error)
{
    QBuffer buffer;
    buffer.setData(xml);
    buffer.open(QIODevice::ReadOnly);
    return LoadDefinitionsFromDevice(buffer, definitions, error);
}

int LoadDefinitions(const QString& path, PrinterDefinitions& definitions, DefinitionLoadError* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = DefinitionLoadError{QStringLiteral("cannot open the file: %1").arg(file.errorString()), 0};
        return 0;
    }
    return LoadDefinitionsFromDevice(file, definitions, error);
}

int CopyFromStandard(const PrinterDefinitions& definitions, PrinterDefinition& entry)
{
    const PrinterDefinition* standard = FindPrinter(definitions, reader::kStandardPrinter);
    if (!standard || standard == &entry)
        return 0;
    QString name = entry.name;
    entry = *standard;
    entry.name = std::move(name);
    return 1;
}

}  // namespace vormex
