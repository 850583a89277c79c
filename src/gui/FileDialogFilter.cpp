#include "FileDialogFilter.h"

#include <QRegularExpression>
#include <QStringList>

namespace vormex::gui {

QString QtFileDialogFilter(const QString& pairs)
{
    const QStringList parts = pairs.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        QString description = parts[i];
        description.remove(QRegularExpression(QStringLiteral("\\s*\\([^)]*\\)\\s*$")));
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            if (pattern == QLatin1String("*.*")) {
                patterns << QStringLiteral("*");
                continue;
            }
            patterns << pattern;
            if (pattern.toLower() != pattern)
                patterns << pattern.toLower();
            else if (pattern.toUpper() != pattern)
                patterns << pattern.toUpper();
        }
        filters << QStringLiteral("%1 (%2)").arg(description, patterns.join(QLatin1Char(' ')));
    }
    return filters.join(QStringLiteral(";;"));
}

}  // namespace vormex::gui
