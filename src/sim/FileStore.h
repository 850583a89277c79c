#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

namespace vormex::sim {

// The printer's storage: files by their 12-byte name, holding their text.
class FileStore {
public:
    explicit FileStore(QMap<QString, QByteArray> files, QString dumpFolder);

    bool contains(const QString& name) const { return files_.contains(name); }
    QByteArray text(const QString& name) const { return files_.value(name); }

    // Stores the file of a data area: 12-byte name, 2-byte big-endian length, F0 02, text.
    // False (nothing stored) when the area is not laid out that way.
    bool storeArea(const QByteArray& area, QString& name);
    void store(const QString& name, const QByteArray& text);

private:
    QMap<QString, QByteArray> files_;
    QString dumpFolder_;
};

}  // namespace vormex::sim
