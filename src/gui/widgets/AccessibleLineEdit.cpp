#include "gui/widgets/AccessibleLineEdit.h"

#include "gui/widgets/MaskedEdit.h"

#include <QAbstractSpinBox>
#include <QFontMetrics>
#include <QLineEdit>

#include <algorithm>

namespace vormex::gui {
namespace {

QAccessibleInterface* lineEditInterface(const QString& className, QObject* object)
{
    if (className == QLatin1String("QLineEdit") && object && object->isWidgetType())
        return new AccessibleLineEdit(static_cast<QWidget*>(object));
    return nullptr;
}

}  // namespace

bool TypeOverRange(QLineEdit& edit, int start, int end, const QString& text)
{
    if (edit.isReadOnly() || !edit.isEnabled())
        return false;
    const int length = static_cast<int>(edit.text().size());
    start = std::clamp(start, 0, length);
    end = std::clamp(end, start, length);
    if (auto* masked = qobject_cast<MaskedEdit*>(&edit); masked && masked->value().hasMask())
        return masked->replaceRange(start, end, text);
    const QString before = edit.text();
    if (end > start)
        edit.setSelection(start, end - start);
    else
        edit.setCursorPosition(start);
    if (text.isEmpty())
        edit.del();
    else
        edit.insert(text);
    // A spin box takes its edit's number when the edit ends; with the focus elsewhere it ends now.
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(edit.parentWidget()); spin && !spin->hasFocus())
        spin->interpretText();
    return edit.text() != before;
}

AccessibleLineEdit::AccessibleLineEdit(QWidget* widget) : QAccessibleWidget(widget, QAccessible::EditableText) {}

void AccessibleLineEdit::Install()
{
    QAccessible::removeFactory(&lineEditInterface);
    QAccessible::installFactory(&lineEditInterface);
}

QLineEdit* AccessibleLineEdit::lineEdit() const { return static_cast<QLineEdit*>(object()); }

// Hidden characters (a password) are not read out.
bool AccessibleLineEdit::shown() const { return lineEdit()->echoMode() == QLineEdit::Normal; }

void* AccessibleLineEdit::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString AccessibleLineEdit::text(QAccessible::Text t) const
{
    QString text;
    if (t == QAccessible::Value) {
        if (shown())
            text = lineEdit()->text();
        else if (lineEdit()->echoMode() != QLineEdit::NoEcho)
            text = QString(lineEdit()->text().size(), QLatin1Char('*'));
    }
    if (text.isEmpty())
        text = QAccessibleWidget::text(t);
    if (text.isEmpty() && t == QAccessible::Description)
        text = lineEdit()->placeholderText();
    return text;
}

void AccessibleLineEdit::setText(QAccessible::Text t, const QString& text)
{
    if (t != QAccessible::Value) {
        QAccessibleWidget::setText(t, text);
        return;
    }
    TypeOverRange(*lineEdit(), 0, characterCount(), text);
}

QAccessible::State AccessibleLineEdit::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = !lineEdit()->isReadOnly();
    state.readOnly = lineEdit()->isReadOnly();
    state.passwordEdit = !shown();
    state.selectableText = true;
    return state;
}

void AccessibleLineEdit::selection(int selectionIndex, int* startOffset, int* endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || !lineEdit()->hasSelectedText())
        return;
    *startOffset = lineEdit()->selectionStart();
    *endOffset = lineEdit()->selectionEnd();
}

int AccessibleLineEdit::selectionCount() const { return lineEdit()->hasSelectedText() ? 1 : 0; }

void AccessibleLineEdit::addSelection(int startOffset, int endOffset) { setSelection(0, startOffset, endOffset); }

void AccessibleLineEdit::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        lineEdit()->deselect();
}

void AccessibleLineEdit::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0)
        lineEdit()->setSelection(startOffset, endOffset - startOffset);
}

int AccessibleLineEdit::cursorPosition() const { return lineEdit()->cursorPosition(); }

void AccessibleLineEdit::setCursorPosition(int position) { lineEdit()->setCursorPosition(position); }

QString AccessibleLineEdit::text(int startOffset, int endOffset) const
{
    if (startOffset > endOffset || !shown())
        return QString();
    return lineEdit()->text().mid(startOffset, endOffset - startOffset);
}

QString AccessibleLineEdit::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                             int* endOffset) const
{
    if (!shown()) {
        *startOffset = *endOffset = -1;
        return QString();
    }
    if (offset == -2)
        offset = cursorPosition();
    return QAccessibleTextInterface::textBeforeOffset(offset, boundaryType, startOffset, endOffset);
}

QString AccessibleLineEdit::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                            int* endOffset) const
{
    if (!shown()) {
        *startOffset = *endOffset = -1;
        return QString();
    }
    if (offset == -2)
        offset = cursorPosition();
    return QAccessibleTextInterface::textAfterOffset(offset, boundaryType, startOffset, endOffset);
}

QString AccessibleLineEdit::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                         int* endOffset) const
{
    if (!shown()) {
        *startOffset = *endOffset = -1;
        return QString();
    }
    if (offset == -2)
        offset = cursorPosition();
    return QAccessibleTextInterface::textAtOffset(offset, boundaryType, startOffset, endOffset);
}

int AccessibleLineEdit::characterCount() const { return static_cast<int>(lineEdit()->text().size()); }

// Measured from the text cursor, the one place of the text whose position the edit gives.
QRect AccessibleLineEdit::characterRect(int offset) const
{
    const QString all = lineEdit()->text();
    if (!shown() || offset < 0 || offset >= all.size())
        return QRect();
    const QFontMetrics metrics(lineEdit()->font());
    const int cursor = lineEdit()->cursorPosition();
    const QRect cursorRect = lineEdit()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const int x = offset >= cursor ? cursorRect.x() + metrics.horizontalAdvance(all.mid(cursor, offset - cursor))
                                   : cursorRect.x() - metrics.horizontalAdvance(all.mid(offset, cursor - offset));
    const int width = metrics.horizontalAdvance(all.at(offset));
    if (width == 0)
        return QRect();
    QRect rect(x, cursorRect.y(), width, metrics.height());
    rect.moveTo(lineEdit()->mapToGlobal(rect.topLeft()));
    return rect;
}

int AccessibleLineEdit::offsetAtPoint(const QPoint& point) const
{
    return lineEdit()->cursorPositionAt(lineEdit()->mapFromGlobal(point));
}

void AccessibleLineEdit::scrollToSubstring(int startIndex, int endIndex)
{
    lineEdit()->setCursorPosition(endIndex);
    lineEdit()->setCursorPosition(startIndex);
}

QString AccessibleLineEdit::attributes(int offset, int* startOffset, int* endOffset) const
{
    *startOffset = *endOffset = offset;
    return QString();
}

void AccessibleLineEdit::deleteText(int startOffset, int endOffset)
{
    TypeOverRange(*lineEdit(), startOffset, endOffset, QString());
}

void AccessibleLineEdit::insertText(int offset, const QString& text)
{
    TypeOverRange(*lineEdit(), offset, offset, text);
}

void AccessibleLineEdit::replaceText(int startOffset, int endOffset, const QString& text)
{
    TypeOverRange(*lineEdit(), startOffset, endOffset, text);
}

}  // namespace vormex::gui
