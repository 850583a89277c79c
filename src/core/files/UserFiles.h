#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

class QXmlStreamReader;
class QXmlStreamWriter;

// The user's parameter files on disk: the extension rule, atomic saving, whole-file reading and
// the XML reading and writing conventions shared by both kinds of parameter file.
namespace vormex {

// A file is handled as XML when its extension (after the last dot of its name) is "XML" in
// any letter case; anything else, no extension included, is a text file.
bool IsXmlFileName(const QString& path);

// Replaces the file with `bytes` atomically: a failed save leaves the previous file as it was.
// Every write, the flush of what is buffered and the final rename are checked. A path that names
// a device or a pipe (/dev/stdout, a FIFO) cannot be replaced: it is written directly, with the
// same checks. Gives the platform's error message, or nothing on success.
std::optional<QString> SaveFileAtomically(const QString& path, const QByteArray& bytes);

// Puts the folder `replacement` in the place of `folder` in one step: `folder` then holds the new
// contents whole, and the old folder (when there was one) is left at `replacement`'s path for
// the caller to remove. Gives the platform's error message, or nothing on success.
std::optional<QString> SwapInFolder(const QString& replacement, const QString& folder);

// Why no file can be saved at `path`, checked before the work that makes it begins: the path
// names a folder, its folder is missing or may not be written into (a device or a pipe there
// must be writable itself). Nothing when a save can be tried.
std::optional<QString> CheckFileDestination(const QString& path);

// Writes `bytes` to standard output and flushes it, checked as a file is. Gives the platform's
// error message, or nothing on success.
std::optional<QString> WriteStandardOutput(const QByteArray& bytes);

// The whole file, or the platform's error message.
struct FileBytes {
    QByteArray bytes;
    QString error;  // empty when read
    bool ok() const { return error.isEmpty(); }
};
FileBytes ReadWholeFile(const QString& path);

// Writes an XML document (UTF-8, indented, with a declaration) through `writeBody`, atomically.
// `writeBody` gives false to abandon the save. Gives an error message, or nothing on success.
std::optional<QString> SaveXmlDocument(const QString& path, const std::function<bool(QXmlStreamWriter&)>& writeBody);

// Reads the next token of a user's XML file and refuses a document type declaration: gives
// false at a DTD (the reader is stopped with an error there) or when the reader has failed.
bool ReadNextXmlToken(QXmlStreamReader& reader);

// The local date and time as the files' headers carry it.
QString HeaderDateText();

}  // namespace vormex
