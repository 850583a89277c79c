#include "fleet/JsonDuplicateKeys.h"

#include <QSet>

namespace vormex {
namespace {

constexpr int kMaxDepth = 1024;  // as deep as the JSON reader nests

// Walks a JSON text once, keeping the path to the value it is in.
class KeyScanner {
public:
    explicit KeyScanner(const QByteArray& json) : json_(json) {}

    std::optional<QString> firstDuplicate()
    {
        value(QString(), 0);
        return duplicate_;
    }

private:
    // False when the walk ends: a duplicate found, or text that is not JSON.
    bool value(const QString& path, int depth)
    {
        skipBlanks();
        if (at_ >= json_.size() || depth > kMaxDepth)
            return false;
        switch (json_[at_]) {
        case '{': return object(path, depth);
        case '[': return array(path, depth);
        case '"': return string().has_value();
        default: return scalar();
        }
    }

    bool object(const QString& path, int depth)
    {
        ++at_;
        QSet<QString> keys;
        skipBlanks();
        if (take('}'))
            return true;
        for (;;) {
            skipBlanks();
            const std::optional<QString> key = string();
            if (!key)
                return false;
            const QString keyPath = path.isEmpty() ? *key : path + QLatin1Char('.') + *key;
            if (keys.contains(*key)) {
                duplicate_ = keyPath;
                return false;
            }
            keys.insert(*key);
            skipBlanks();
            if (!take(':') || !value(keyPath, depth + 1))
                return false;
            skipBlanks();
            if (take('}'))
                return true;
            if (!take(','))
                return false;
        }
    }

    bool array(const QString& path, int depth)
    {
        ++at_;
        skipBlanks();
        if (take(']'))
            return true;
        for (int index = 0;; ++index) {
            if (!value(QStringLiteral("%1[%2]").arg(path).arg(index), depth + 1))
                return false;
            skipBlanks();
            if (take(']'))
                return true;
            if (!take(','))
                return false;
        }
    }

    // A string at the opening quote, its escapes decoded; nothing when it does not end.
    std::optional<QString> string()
    {
        if (!take('"'))
            return std::nullopt;
        QString text;
        for (;;) {
            const qsizetype runStart = at_;
            while (at_ < json_.size() && json_[at_] != '"' && json_[at_] != '\\')
                ++at_;
            text += QString::fromUtf8(json_.constData() + runStart, at_ - runStart);
            if (at_ >= json_.size())
                return std::nullopt;
            if (take('"'))
                return text;
            ++at_;  // the backslash
            if (at_ >= json_.size())
                return std::nullopt;
            const char escaped = json_[at_++];
            switch (escaped) {
            case 'b': text += QLatin1Char('\b'); break;
            case 'f': text += QLatin1Char('\f'); break;
            case 'n': text += QLatin1Char('\n'); break;
            case 'r': text += QLatin1Char('\r'); break;
            case 't': text += QLatin1Char('\t'); break;
            case 'u': {
                bool ok = false;
                const ushort unit = json_.mid(at_, 4).toUShort(&ok, 16);
                if (!ok || at_ + 4 > json_.size())
                    return std::nullopt;
                text += QChar(unit);  // a surrogate pair joins with the next escape
                at_ += 4;
                break;
            }
            default: text += QLatin1Char(escaped); break;
            }
        }
    }

    // A number, true, false or null.
    bool scalar()
    {
        const qsizetype start = at_;
        while (at_ < json_.size() && !QByteArrayView(",]} \t\r\n").contains(json_[at_]))
            ++at_;
        return at_ > start;
    }

    void skipBlanks()
    {
        while (at_ < json_.size() && QByteArrayView(" \t\r\n").contains(json_[at_]))
            ++at_;
    }

    bool take(char c)
    {
        if (at_ < json_.size() && json_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }

    const QByteArray& json_;
    qsizetype at_ = 0;
    std::optional<QString> duplicate_;
};

}  // namespace

std::optional<QString> FirstDuplicateJsonKey(const QByteArray& json) { return KeyScanner(json).firstDuplicate(); }

}  // namespace vormex
