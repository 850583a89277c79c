#include "base/StringTable.h"

#include <QFile>
#include <QList>

namespace vormex {
namespace {

QString unescape(QStringView text)
{
    if (!text.contains(QLatin1Char('\\')))
        return text.toString();  // most texts: read at every start, so kept quick
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\\') || i + 1 == text.size()) {
            out.append(c);
            continue;
        }
        const QChar next = text[++i];
        switch (next.unicode()) {
        case 'n': out.append(QLatin1Char('\n')); break;
        case 'r': out.append(QLatin1Char('\r')); break;
        case 't': out.append(QLatin1Char('\t')); break;
        case '\\': out.append(QLatin1Char('\\')); break;
        default:
            out.append(c);
            out.append(next);
        }
    }
    return out;
}

}  // namespace

std::shared_ptr<const StringTable::Map> StringTable::parse(const QByteArray& utf8, QString* error)
{
    auto map = std::make_shared<Map>();
    const QString content = QString::fromUtf8(utf8);
    const QStringList lines = content.split(QLatin1Char('\n'));
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QStringView line(lines[n]);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        bool ok = false;
        const int id = tab > 0 ? line.first(tab).toInt(&ok) : 0;
        if (!ok) {
            if (error)
                *error = QStringLiteral("line %1: expected a number, a tab and the text").arg(n + 1);
            return nullptr;
        }
        (*map)[id] = unescape(line.sliced(tab + 1));
    }
    return map;
}

StringTable StringTable::builtIn()
{
    static const std::shared_ptr<const Map> table = [] {
        QFile file(QStringLiteral(":/vormex/builtin-jpn.tsv"));
        if (!file.open(QIODevice::ReadOnly))
            return std::make_shared<const Map>();
        auto parsed = parse(file.readAll());
        return parsed ? parsed : std::make_shared<const Map>();
    }();
    return StringTable(table);
}

bool StringTable::loadOverlay(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    auto parsed = parse(file.readAll(), error);
    if (!parsed)
        return false;
    overlay_ = std::move(parsed);
    return true;
}

QString StringTable::text(int id) const
{
    if (overlay_) {
        const auto found = overlay_->find(id);
        if (found != overlay_->end())
            return found->second;
    }
    const auto found = builtIn_->find(id);
    return found != builtIn_->end() ? found->second : QString();
}

bool StringTable::contains(int id) const
{
    return (overlay_ && overlay_->count(id)) || builtIn_->count(id);
}

QStringList StringTable::list(int firstId) const
{
    QStringList out;
    for (int id = firstId; contains(id); ++id) {
        QString entry = text(id);
        if (entry == kEndOfList)
            break;
        out.append(std::move(entry));
    }
    return out;
}

}  // namespace vormex
