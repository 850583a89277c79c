#pragma once

#include <QString>
#include <QStringView>
#include <QXmlStreamReader>

class QIODevice;

namespace vormex {

// The nodes of a definition file as the reader consumes them. Comments, processing
// instructions, white-space text and CDATA sections are skipped. An element written in the
// empty-element form gives its start only: the reader never sees an end tag for it, so a reader
// waiting for that end tag goes on into the following siblings. A document type declaration is
// an error: the reading stops on it before any entity could be expanded.
class DefinitionXml {
public:
    enum class Node { Start, End, Text, EndOfDocument, Error };

    explicit DefinitionXml(QIODevice* device);

    Node next();

    // Of the current node.
    QStringView name() const { return reader_.name(); }
    QXmlStreamAttributes attributes() const { return reader_.attributes(); }
    QString text() const { return reader_.text().toString(); }
    qint64 lineNumber() const { return reader_.lineNumber(); }

    // Why the last Node::Error was given.
    const QString& errorMessage() const { return errorMessage_; }

private:
    QXmlStreamReader reader_;
    QString errorMessage_;
    qint64 startOffset_ = -1;  // offset right after the last start tag, -1 after any other node
};

}  // namespace vormex
