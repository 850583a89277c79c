#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <unordered_map>

namespace vormex {

// Every text the user sees, addressed by its number. The built-in table is the Japanese one,
// compiled into the program; the English resources, when loaded, lie over it: a number that the
// English table lacks is taken from the built-in one.
//
// Tables are UTF-8 text, one string a line: the number, a tab, the text. In the text "\n",
// "\r", "\t" and "\\" stand for a line feed, a carriage return, a tab and a backslash. Empty
// lines and lines that begin with "#" are ignored.
class StringTable {
public:
    using Map = std::unordered_map<int, QString>;

    // Lists of consecutive strings end before the first string with this text.
    static inline const QString kEndOfList = QStringLiteral("EEEEEEEEEE");

    // The built-in Japanese table (loaded once, shared).
    static StringTable builtIn();

    // Parses a table; on failure gives no table and says which line was bad.
    static std::shared_ptr<const Map> parse(const QByteArray& utf8, QString* error = nullptr);

    // Lays the table in `path` over the built-in one. False (and nothing changes) when the file
    // cannot be read or parsed.
    bool loadOverlay(const QString& path, QString* error = nullptr);
    bool hasOverlay() const { return overlay_ != nullptr; }

    // The text of a number; empty when no table has it.
    QString text(int id) const;
    bool contains(int id) const;

    // The consecutive strings from `firstId` on, up to (without) the first "EEEEEEEEEE" or the
    // first missing number.
    QStringList list(int firstId) const;

private:
    explicit StringTable(std::shared_ptr<const Map> builtIn) : builtIn_(std::move(builtIn)) {}

    std::shared_ptr<const Map> builtIn_;
    std::shared_ptr<const Map> overlay_;
};

}  // namespace vormex
