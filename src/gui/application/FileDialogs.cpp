#include "gui/application/FileDialogs.h"

#include <QFileDialog>
#include <QRegularExpression>

namespace vormex::gui {

QString QtFileFilter(const QString& pairs)
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
            for (const QString& variant : {pattern, pattern.toLower(), pattern.toUpper()}) {
                if (!patterns.contains(variant))
                    patterns << variant;
            }
        }
        filters << QStringLiteral("%1 (%2)").arg(description, patterns.join(QLatin1Char(' ')));
    }
    return filters.join(QStringLiteral(";;"));
}

namespace {

// The extension of a filter such as "Files (*.xml *.XML)"; empty for "all files".
QString extensionOf(const QString& filter)
{
    static const QRegularExpression pattern(QStringLiteral("\\(\\*\\.([A-Za-z0-9]+)"));
    const QRegularExpressionMatch match = pattern.match(filter);
    return match.hasMatch() ? match.captured(1) : QString();
}

}  // namespace

QString ShowFileDialog(QWidget* parent, const FileDialogRequest& request)
{
    QFileDialog dialog(parent, request.title, request.startPath, QtFileFilter(request.filter));
    if (!request.startPath.isEmpty())
        dialog.selectFile(request.startPath);
    if (request.save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(request.defaultSuffix);
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, &request](const QString& filter) {
            const QString extension = extensionOf(filter);
            if (!extension.isEmpty() && extension.compare(request.defaultSuffix, Qt::CaseInsensitive) != 0)
                dialog.setDefaultSuffix(extension);
            else
                dialog.setDefaultSuffix(request.defaultSuffix);
        });
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

}  // namespace vormex::gui
