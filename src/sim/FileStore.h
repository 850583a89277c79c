#pragma once

#include "SimLog.h"

#include <QByteArray>
#include <QMap>
#include <QString>

namespace vormex::sim {

// The printer's storage: files by their name, holding their text (a program: its image and
// body). With a dump folder, the folder mirrors what is kept: every stored file is written there.
class FileStore {
public:
    FileStore(QMap<QString, QByteArray> files, QString dumpFolder, const SimLog& log);

    bool contains(const QString& name) const { return files_.contains(name); }
    QByteArray text(const QString& name) const { return files_.value(name); }

    void store(const QString& name, const QByteArray& text);
    void remove(const QString& name);

private:
    // The dump file of `name`, kept inside the dump folder; empty when there is none.
    QString dumpPath(const QString& name) const;

    QMap<QString, QByteArray> files_;
    QString dumpFolder_;
    const SimLog& log_;
};

}  // namespace vormex::sim
