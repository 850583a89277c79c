#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace vormex::sim {

// What a store-file command's data area carries, as the printer files it. Two layouts exist:
//  - a text file: 12-byte name, 2-byte big-endian text length, F0 02, the text, 0xFF filling;
//  - a BASIC program: the program image (name NUL-terminated in bytes 0..12, 00 00, the kind
//    byte 0x00 main or 0x01 system-mode, the body length at 0x10) followed by the body and
//    0xFF filling up to whole blocks.
struct DataArea {
    enum class Kind { TextFile, MainProgram, SystemModeProgram };

    Kind kind = Kind::TextFile;
    QString name;
    QByteArray content;  // a text file's text; a program's image and body, without the filling

    bool isProgram() const { return kind != Kind::TextFile; }
    QString describe() const;

    // The area's file; nullopt with `problem` set when the area holds neither layout or its
    // content runs past the end of the area.
    static std::optional<DataArea> read(const QByteArray& area, QString& problem);
};

}  // namespace vormex::sim
