#include "definitions/DefinitionXml.h"

namespace vormex {

DefinitionXml::DefinitionXml(QIODevice* device) : reader_(device)
{
    // No namespace processing: element names are taken as written.
    reader_.setNamespaceProcessing(false);
}

DefinitionXml::Node DefinitionXml::next()
{
    for (;;) {
        const QXmlStreamReader::TokenType token = reader_.readNext();
        const qint64 previousStart = startOffset_;
        startOffset_ = -1;
        switch (token) {
        case QXmlStreamReader::StartElement:
            startOffset_ = reader_.characterOffset();
            return Node::Start;
        case QXmlStreamReader::EndElement:
            // The end of an empty element is reported without consuming any input.
            if (previousStart >= 0 && previousStart == reader_.characterOffset())
                continue;
            return Node::End;
        case QXmlStreamReader::Characters:
            if (reader_.isWhitespace() || reader_.isCDATA())
                continue;
            return Node::Text;
        case QXmlStreamReader::DTD:
            errorMessage_ = QStringLiteral("a document type declaration is not allowed");
            return Node::Error;
        case QXmlStreamReader::EndDocument:
            return Node::EndOfDocument;
        case QXmlStreamReader::Invalid:
            if (reader_.error() == QXmlStreamReader::PrematureEndOfDocumentError && reader_.atEnd()) {
                errorMessage_ = QStringLiteral("the document ends too early");
                return Node::Error;
            }
            errorMessage_ = reader_.errorString();
            return Node::Error;
        default:  // StartDocument, Comment, ProcessingInstruction, EntityReference
            continue;
        }
    }
}

}  // namespace vormex
