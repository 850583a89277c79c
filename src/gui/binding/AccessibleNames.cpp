#include "gui/binding/AccessibleNames.h"

#include "definitions/PrinterDefinition.h"
#include "gui/binding/GuiStrings.h"

#include <QLabel>
#include <QRegularExpression>
#include <QWidget>

namespace vormex::gui {
namespace {

bool isLatin(QChar c) { return c.unicode() < 0x0250; }

// A line break between two Latin characters stands for a blank; between Japanese ones (or a
// Japanese and a Latin one) for nothing, as the caption reads on one line.
QString joinLines(const QString& caption)
{
    QString joined;
    QString unified = caption;
    unified.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList lines = unified.split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const QString part = line.trimmed();
        if (part.isEmpty())
            continue;
        if (!joined.isEmpty() && isLatin(joined.back()) && isLatin(part.front()))
            joined += QLatin1Char(' ');
        joined += part;
    }
    return joined;
}

// A value of the mask's form: `decimals` digits after the point.
QString decimalText(int value, int decimals)
{
    if (decimals <= 0)
        return QString::number(value);
    int scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    const qint64 magnitude = value < 0 ? -qint64(value) : qint64(value);
    return QStringLiteral("%1%2.%3")
        .arg(value < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / scale)
        .arg(magnitude % scale, decimals, 10, QLatin1Char('0'));
}

bool isInputMaskChar(QChar c) { return c == QLatin1Char('9') || c == QLatin1Char('+') || c == QLatin1Char('H'); }

}  // namespace

QString AccessibleNameOf(const QString& caption)
{
    static const QRegularExpression mnemonicInBrackets(QStringLiteral("[(（]&[^)）][)）]"));  // "(&S)"
    static const QRegularExpression mnemonic(QStringLiteral("&(.)"));                          // "&S", "&&"
    static const QRegularExpression colonAtEnd(QStringLiteral("[：:]\\s*$"));
    static const QRegularExpression ellipsisAtEnd(QStringLiteral("\\s*(\\.\\.\\.|…)\\s*$"));
    QString name = joinLines(caption);
    name.remove(mnemonicInBrackets);
    name.replace(mnemonic, QStringLiteral("\\1"));
    name.remove(ellipsisAtEnd);
    name.remove(colonAtEnd);
    // Captions that begin with ideographic spaces to line up beside an icon.
    return name.trimmed();
}

void NameAfterCaption(QLabel* label, QWidget* control)
{
    label->setBuddy(control);
    control->setAccessibleName(AccessibleNameOf(label->text()));
}

QString RangeDescription(const TextLookup& text, const QString& min, const QString& max, const QString& unit)
{
    if (unit.isEmpty())
        return text(text::kRangeDescription).arg(min, max);
    return text(text::kRangeWithUnitDescription).arg(min, max, unit);
}

QString RangeDescription(const TextLookup& text, int min, int max, const QString& unit)
{
    return RangeDescription(text, QString::number(min), QString::number(max), unit);
}

QString ItemDescription(const TextLookup& text, const ItemDefinition& item)
{
    const QString type = item.type;
    if (type == QLatin1String("SpinEdit"))
        return item.min < item.max ? RangeDescription(text, item.min, item.max) : QString();
    if (type != QLatin1String("MaskedEdit") || item.mask.isEmpty())
        return {};
    const qsizetype hexDigits = item.mask.count(QLatin1Char('H'));
    if (hexDigits > 0)
        return text(text::kHexDigitsDescription).arg(hexDigits);
    if (item.min >= item.max)
        return {};
    // The decimals are the input positions after the template's point; the unit is what the
    // template shows after the last input position (" mm").
    const QString& shown = item.templateText;
    const qsizetype point = shown.indexOf(QLatin1Char('.'));
    int decimals = 0;
    qsizetype lastInput = -1;
    for (qsizetype i = 0; i < item.mask.size(); ++i) {
        if (!isInputMaskChar(item.mask.at(i)))
            continue;
        lastInput = i;
        if (point >= 0 && i > point)
            ++decimals;
    }
    const QString unit = lastInput >= 0 ? shown.mid(lastInput + 1).trimmed() : QString();
    return RangeDescription(text, decimalText(item.min, decimals), decimalText(item.max, decimals), unit);
}

QString BrowseButtonName(const TextLookup& text, const QString& controlName)
{
    return text(text::kBrowseForName).arg(controlName);
}

}  // namespace vormex::gui
