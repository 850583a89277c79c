#include "WidgetDump.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDockWidget>
#include <QGroupBox>
#include <QHeaderView>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTabBar>
#include <QTableView>
#include <QTextEdit>
#include <QTreeView>

#include <optional>

namespace vormex::gui {
namespace {

// The text a user reads on a widget; nothing for widgets that show none.
std::optional<QString> shownText(const QWidget& widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(&widget))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(&widget))
        return button->text();
    if (const auto* combo = qobject_cast<const QComboBox*>(&widget))
        return combo->currentText();
    if (const auto* spin = qobject_cast<const QAbstractSpinBox*>(&widget))
        return spin->text();
    if (const auto* edit = qobject_cast<const QLineEdit*>(&widget))
        return edit->displayText();
    if (const auto* bar = qobject_cast<const QProgressBar*>(&widget))
        return QString::number(bar->value());
    if (const auto* text = qobject_cast<const QPlainTextEdit*>(&widget))
        return text->toPlainText();
    if (const auto* text = qobject_cast<const QTextEdit*>(&widget))
        return text->toPlainText();
    if (const auto* group = qobject_cast<const QGroupBox*>(&widget))
        return group->title();
    if (const auto* dock = qobject_cast<const QDockWidget*>(&widget))
        return dock->windowTitle();
    if (const auto* tabs = qobject_cast<const QTabBar*>(&widget))
        return tabs->currentIndex() >= 0 ? tabs->tabText(tabs->currentIndex()) : QString();
    return std::nullopt;
}

void addItemView(const QAbstractItemView& view, QJsonObject& entry)
{
    const QAbstractItemModel* model = view.model();
    if (!model)
        return;
    // Only tables and trees have column headers; a list's model would number its one column.
    QJsonArray columns;
    if (qobject_cast<const QTableView*>(&view) || qobject_cast<const QTreeView*>(&view)) {
        for (int c = 0; c < model->columnCount(); ++c)
            columns.append(model->headerData(c, Qt::Horizontal).toString());
    }
    QJsonArray rows;
    for (int r = 0; r < model->rowCount(); ++r) {
        QJsonArray cells;
        for (int c = 0; c < model->columnCount(); ++c)
            cells.append(model->index(r, c).data().toString());
        rows.append(cells);
    }
    entry.insert(QStringLiteral("columns"), columns);
    entry.insert(QStringLiteral("rows"), rows);
}

void addWidget(const QWidget& widget, const QWidget& window, QJsonArray& out)
{
    if (!widget.isVisible())
        return;
    QJsonObject entry;
    entry.insert(QStringLiteral("class"), QString::fromLatin1(widget.metaObject()->className()));
    entry.insert(QStringLiteral("name"), widget.objectName());
    if (const std::optional<QString> text = shownText(widget))
        entry.insert(QStringLiteral("text"), *text);
    if (const auto* button = qobject_cast<const QAbstractButton*>(&widget); button && button->isCheckable())
        entry.insert(QStringLiteral("checked"), button->isChecked());
    entry.insert(QStringLiteral("enabled"), widget.isEnabled());
    const QPoint topLeft = widget.mapTo(&window, QPoint(0, 0));
    entry.insert(QStringLiteral("x"), topLeft.x());
    entry.insert(QStringLiteral("y"), topLeft.y());
    entry.insert(QStringLiteral("w"), widget.width());
    entry.insert(QStringLiteral("h"), widget.height());
    const auto* view = qobject_cast<const QAbstractItemView*>(&widget);
    if (view && !qobject_cast<const QHeaderView*>(&widget))
        addItemView(*view, entry);
    out.append(entry);
    for (const QObject* child : widget.children()) {
        if (const auto* childWidget = qobject_cast<const QWidget*>(child); childWidget && !childWidget->isWindow())
            addWidget(*childWidget, window, out);
    }
}

}  // namespace

QJsonObject DumpWidgets(const QWidget& window)
{
    QJsonArray widgets;
    for (const QObject* child : window.children()) {
        if (const auto* widget = qobject_cast<const QWidget*>(child); widget && !widget->isWindow())
            addWidget(*widget, window, widgets);
    }
    QJsonObject dump;
    dump.insert(QStringLiteral("title"), window.windowTitle());
    dump.insert(QStringLiteral("widgets"), widgets);
    return dump;
}

}  // namespace vormex::gui
