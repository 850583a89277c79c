#pragma once

// Internal to the definition reader: the state of one reading, shared by the printer and item
// readers (DefinitionReader.cpp) and the section readers (SectionReaders.cpp).

#include "definitions/DefinitionReader.h"
#include "definitions/DefinitionXml.h"

#include <QLatin1StringView>

namespace vormex::reader {

inline const QString kStandardPrinter = QStringLiteral("standard");

class Context {
public:
    Context(QIODevice* device, PrinterDefinitions& definitions) : xml(device), definitions(definitions) {}

    DefinitionXml xml;
    PrinterDefinitions& definitions;
    std::size_t entryIndex = 0;   // the printer entry being read
    QString currentPrinterName;   // the name of the last printer element that had one
    DefinitionLoadError error;

    PrinterDefinition& entry() { return definitions[entryIndex]; }
    bool readingStandard() const { return currentPrinterName == kStandardPrinter; }

    // Records why the reading stops; gives false for `return fail(...)`.
    bool fail(const QString& message);
    // The current element must carry at least one attribute.
    bool requireAttributes();

    // Reads nodes up to the end tag `endName`: start elements go to `onStart` (which reads what
    // it needs and gives false to stop the reading), texts to `onText`; other end tags are
    // passed over. The end of the document or a reader error before the end tag fails.
    template <typename OnStart, typename OnText>
    bool readUntilEnd(QLatin1StringView endName, OnStart onStart, OnText onText);
    template <typename OnStart>
    bool readUntilEnd(QLatin1StringView endName, OnStart onStart)
    {
        return readUntilEnd(endName, onStart, [](const QString&) {});
    }
    bool skipToEnd(QLatin1StringView endName)
    {
        return readUntilEnd(endName, [](QStringView) { return true; });
    }
};

template <typename OnStart, typename OnText>
bool Context::readUntilEnd(QLatin1StringView endName, OnStart onStart, OnText onText)
{
    for (;;) {
        switch (xml.next()) {
        case DefinitionXml::Node::Start:
            if (!onStart(xml.name()))
                return false;
            break;
        case DefinitionXml::Node::Text:
            onText(xml.text());
            break;
        case DefinitionXml::Node::End:
            if (xml.name() == endName)
                return true;
            break;
        case DefinitionXml::Node::EndOfDocument:
            return fail(QStringLiteral("the document ends before the end tag \"%1\"").arg(endName));
        case DefinitionXml::Node::Error:
            return fail(xml.errorMessage());
        }
    }
}

// Readers of one element each; the element's start tag is the current node.
bool readItem(Context& context, QList<ItemDefinition>* items);
bool readFontConvert(Context& context);
bool readDriveMapping(Context& context);
bool readAllocate(Context& context);
bool readStatusResponse(Context& context);
bool readLayout(Context& context);
bool readLabelShift(Context& context);
bool readFarmDownload(Context& context);
bool readCommandControlCode(Context& context);

}  // namespace vormex::reader
