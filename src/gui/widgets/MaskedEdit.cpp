#include "gui/widgets/MaskedEdit.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QValidator>

#include <algorithm>
#include <vector>

namespace vormex::gui {
namespace {

bool isDigitPosition(const MaskedText& model, int position) { return model.maskCharAt(position) == QLatin1Char('9'); }
bool isSignPosition(const MaskedText& model, int position) { return model.maskCharAt(position) == QLatin1Char('+'); }
bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Full-width digits, letters and signs (typed with a Japanese input method) as their ASCII forms.
QChar narrow(QChar c)
{
    const QString folded = QString(c).normalized(QString::NormalizationForm_KC);
    return folded.size() == 1 ? folded[0] : c;
}

// Refuses every change that QLineEdit makes on its own (word deletion, drops, input methods)
// unless the text still fits the template: the fixed characters in place, every input position
// holding a character it accepts or the placeholder.
class TemplateValidator : public QValidator {
public:
    TemplateValidator(const MaskedText& model, QObject* parent) : QValidator(parent), model_(model) {}

    State validate(QString& input, int&) const override
    {
        if (!model_.hasMask())
            return Acceptable;
        const QString shown = model_.displayText();
        if (input.size() != shown.size())
            return Invalid;
        for (int i = 0; i < input.size(); ++i) {
            if (!model_.isInputPosition(i)) {
                if (input[i] != shown[i])
                    return Invalid;
            } else if (input[i] != model_.placeholder() && !model_.accepts(model_.maskCharAt(i), input[i])) {
                return Invalid;
            }
        }
        return Acceptable;
    }

private:
    const MaskedText& model_;
};

}  // namespace

MaskedEdit::MaskedEdit(QWidget* parent) : QLineEdit(parent)
{
    setValidator(new TemplateValidator(model_, this));
    setDragEnabled(false);
    setAcceptDrops(false);
    connect(this, &QLineEdit::textChanged, this, &MaskedEdit::refuseForeignText);
}

// Text set past the mask (QLineEdit::setText) is not taken: the field goes on showing its value.
void MaskedEdit::refuseForeignText()
{
    if (model_.hasMask() && text() != model_.displayText())
        setText(model_.displayText());
}

void MaskedEdit::setModel(const MaskedText& model)
{
    model_ = model;
    setText(model_.displayText());
}

void MaskedEdit::setValueText(const QString& text)
{
    model_.setText(text);
    setText(model_.displayText());
}

int MaskedEdit::firstInputAtOrAfter(int position) const
{
    for (int i = std::max(position, 0); i < model_.length(); ++i) {
        if (model_.isInputPosition(i))
            return i;
    }
    return -1;
}

int MaskedEdit::lastInputBefore(int position) const
{
    for (int i = std::min(position, model_.length()) - 1; i >= 0; --i) {
        if (model_.isInputPosition(i))
            return i;
    }
    return -1;
}

// The cursor stands before an input position or right after the last one.
int MaskedEdit::endStop() const
{
    const int last = lastInputBefore(model_.length());
    return last < 0 ? 0 : last + 1;
}

int MaskedEdit::nextStop(int position) const
{
    const int next = firstInputAtOrAfter(position + 1);
    return next < 0 ? endStop() : next;
}

int MaskedEdit::previousStop(int position) const
{
    const int previous = lastInputBefore(position);
    return previous < 0 ? snappedStop(0) : previous;
}

int MaskedEdit::snappedStop(int position) const
{
    const int next = firstInputAtOrAfter(position);
    return next < 0 ? endStop() : next;
}

void MaskedEdit::show(int cursor)
{
    const QString shown = model_.displayText();
    const bool changed = shown != text();
    if (changed)
        setText(shown);
    setCursorPosition(cursor);
    if (changed)
        emit edited();
}

void MaskedEdit::typeText(const QString& typed)
{
    if (!model_.hasMask()) {
        insert(typed);
        return;
    }
    int cursor = cursorPosition();
    clearSelectionPositions(cursor);
    for (QChar c : typed)
        typeChar(narrow(c), cursor);
    show(cursor);
}

bool MaskedEdit::typeChar(QChar c, int& cursor)
{
    const int target = firstInputAtOrAfter(cursor);
    if (target >= 0 && model_.setCharAt(target, c)) {
        cursor = nextStop(target);
        return true;
    }
    // A digit at a sign position: the sign stays (blank when none was typed), the digit goes on.
    if (target >= 0 && isSignPosition(model_, target) && isDigit(c)) {
        if (model_.charAt(target).isNull())
            model_.setCharAt(target, QLatin1Char(' '));
        int next = nextStop(target);
        if (next == target || !typeChar(c, next))
            return false;
        cursor = next;
        return true;
    }
    if ((c == QLatin1Char('-') || c == QLatin1Char('+')) && setSign(cursor, c))
        return true;
    // A fixed character of the template: the cursor jumps past it.
    const QString shown = model_.displayText();
    for (int f = std::max(cursor, 0); f < model_.length(); ++f) {
        if (!model_.isInputPosition(f)) {
            if (shown[f] != c)
                return false;
            alignBeforeFixed(cursor, f);
            cursor = nextStop(f);
            return true;
        }
    }
    return false;
}

// Digits typed right before the cursor move against the fixed character at `fixedPosition`
// when the positions in between are still empty: "60" then "." in "___._" gives " 60._".
bool MaskedEdit::alignBeforeFixed(int cursor, int fixedPosition)
{
    const int gap = fixedPosition - cursor;
    if (gap <= 0)
        return false;
    for (int p = cursor; p < fixedPosition; ++p) {
        const QChar c = model_.charAt(p);
        if (!isDigitPosition(model_, p) || !(c.isNull() || c == QLatin1Char(' ')))
            return false;
    }
    int start = cursor;
    while (start > 0 && isDigitPosition(model_, start - 1))
        --start;
    if (start == cursor)
        return false;
    for (int p = cursor - 1; p >= start; --p) {
        const QChar c = model_.charAt(p);
        if (c.isNull())
            model_.clearAt(p + gap);
        else
            model_.setCharAt(p + gap, c);
    }
    for (int p = start; p < start + gap; ++p)
        model_.setCharAt(p, QLatin1Char(' '));
    return true;
}

// "+" or "-" typed away from the sign position sets the field's sign.
bool MaskedEdit::setSign(int cursor, QChar sign)
{
    int position = -1;
    for (int i = 0; i < model_.length(); ++i) {
        if (isSignPosition(model_, i) && (position < 0 || i < cursor))
            position = i;
    }
    return position >= 0 && model_.setCharAt(position, sign);
}

bool MaskedEdit::clearSelectionPositions(int& cursor)
{
    if (!hasSelectedText())
        return false;
    const int start = selectionStart();
    const int end = start + static_cast<int>(selectedText().size());
    for (int p = start; p < end; ++p)
        model_.clearAt(p);
    cursor = snappedStop(start);
    return true;
}

void MaskedEdit::eraseBackward()
{
    int cursor = cursorPosition();
    if (!clearSelectionPositions(cursor)) {
        const int previous = lastInputBefore(cursor);
        if (previous < 0)
            return;
        model_.clearAt(previous);
        cursor = previous;
    }
    show(cursor);
}

void MaskedEdit::eraseForward()
{
    int cursor = cursorPosition();
    if (!clearSelectionPositions(cursor)) {
        const int next = firstInputAtOrAfter(cursor);
        if (next < 0)
            return;
        model_.clearAt(next);
        cursor = nextStop(next);
    }
    show(cursor);
}

void MaskedEdit::cutSelection()
{
    if (!hasSelectedText())
        return;
    copy();
    eraseForward();
}

bool MaskedEdit::takeWholeDisplayText(const QString& text)
{
    if (!model_.hasMask() || text.size() != model_.length())
        return false;
    MaskedText whole = model_;
    whole.setText(text);
    if (whole.displayText() != text)
        return false;
    model_ = whole;
    show(endStop());
    return true;
}

void MaskedEdit::pasteText(const QString& pasted)
{
    const QString text = pasted.trimmed().isEmpty() ? pasted : pasted.trimmed();
    if (!takeWholeDisplayText(text))
        typeText(text);
}

bool MaskedEdit::replaceRange(int start, int end, const QString& typed)
{
    const QString before = text();
    if (start <= 0 && end >= model_.length() && takeWholeDisplayText(typed)) {
        if (!hasFocus())
            finishEditing();
        return text() != before;
    }
    const MaskedText kept = model_;
    for (int p = start; p < end; ++p)
        model_.clearAt(p);
    int cursor = snappedStop(start);
    bool taken = typed.isEmpty();
    for (QChar c : typed)
        taken = typeChar(narrow(c), cursor) || taken;
    if (!taken) {
        model_ = kept;
        return false;
    }
    show(cursor);
    if (!hasFocus())
        finishEditing();
    return text() != before;
}

bool MaskedEdit::finishEditing()
{
    if (!model_.hasMask())
        return false;
    const QString before = model_.displayText();
    // The digit groups, left to right; the first one holding a digit is the integer part.
    std::vector<std::pair<int, int>> groups;  // [start, end)
    for (int p = 0; p < model_.length();) {
        if (!isDigitPosition(model_, p)) {
            ++p;
            continue;
        }
        const int start = p;
        while (p < model_.length() && isDigitPosition(model_, p))
            ++p;
        groups.emplace_back(start, p);
    }
    const auto holdsDigit = [this](std::pair<int, int> group) {
        for (int p = group.first; p < group.second; ++p) {
            if (isDigit(model_.charAt(p)))
                return true;
        }
        return false;
    };
    const auto integerPart = std::find_if(groups.begin(), groups.end(), holdsDigit);
    if (integerPart == groups.end())
        return false;  // nothing typed: the field stays empty
    const auto fill = [this](std::pair<int, int> group, QChar c) {
        for (int p = group.first; p < group.second; ++p) {
            if (model_.charAt(p).isNull())
                model_.setCharAt(p, c);
        }
    };
    for (auto group = groups.begin(); group != integerPart; ++group)
        fill(*group, QLatin1Char(' '));
    const auto [start, end] = *integerPart;
    int lastFilled = end - 1;
    while (model_.charAt(lastFilled).isNull())
        --lastFilled;
    if (lastFilled < end - 1 && end < model_.length())
        alignBeforeFixed(lastFilled + 1, end);
    for (int p = start; p < end && !isDigit(model_.charAt(p)); ++p) {
        if (model_.charAt(p).isNull())
            model_.setCharAt(p, QLatin1Char(' '));
    }
    for (auto group = integerPart + 1; group != groups.end(); ++group)
        fill(*group, QLatin1Char('0'));  // decimals: empty places are zeros
    if (model_.displayText() == before)
        return false;
    show(std::min(cursorPosition(), endStop()));
    return true;
}

void MaskedEdit::moveCursorTo(int target, bool mark)
{
    const int steps = target - cursorPosition();
    if (steps > 0)
        cursorForward(mark, steps);
    else if (steps < 0)
        cursorBackward(mark, -steps);
    else if (!mark)
        deselect();
}

void MaskedEdit::keyPressEvent(QKeyEvent* event)
{
    if (!model_.hasMask()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        pasteText(QGuiApplication::clipboard()->text());
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        cutSelection();
        return;
    }
    if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo))
        return;
    const bool mark = event->modifiers() & Qt::ShiftModifier;
    switch (event->key()) {
    case Qt::Key_Backspace:
        eraseBackward();
        return;
    case Qt::Key_Delete:
        eraseForward();
        return;
    case Qt::Key_Left:
        moveCursorTo(previousStop(cursorPosition()), mark);
        return;
    case Qt::Key_Right:
        moveCursorTo(nextStop(cursorPosition()), mark);
        return;
    case Qt::Key_Home:
        moveCursorTo(snappedStop(0), mark);
        return;
    case Qt::Key_End:
        moveCursorTo(endStop(), mark);
        return;
    default:
        break;
    }
    const QString typed = event->text();
    const bool command = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (!command && !typed.isEmpty() && typed.at(0).isPrint()) {
        typeText(typed);
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void MaskedEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (!model_.hasMask()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    if (!event->commitString().isEmpty())
        typeText(event->commitString());
    event->accept();
}

void MaskedEdit::mouseReleaseEvent(QMouseEvent* event)
{
    QLineEdit::mouseReleaseEvent(event);
    if (model_.hasMask() && !hasSelectedText())
        setCursorPosition(snappedStop(cursorPosition()));
}

void MaskedEdit::focusOutEvent(QFocusEvent* event)
{
    finishEditing();
    QLineEdit::focusOutEvent(event);
}

void MaskedEdit::contextMenuEvent(QContextMenuEvent* event)
{
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    if (model_.hasMask()) {
        // The menu's own editing would bypass the mask: undo and redo go, cut, paste and delete
        // work as the keys do.
        for (QAction* action : menu->actions()) {
            const QString name = action->objectName();
            if (name == QLatin1String("edit-undo") || name == QLatin1String("edit-redo")) {
                menu->removeAction(action);
                continue;
            }
            std::function<void()> replacement;
            if (name == QLatin1String("edit-cut"))
                replacement = [this] { cutSelection(); };
            else if (name == QLatin1String("edit-paste"))
                replacement = [this] { pasteText(QGuiApplication::clipboard()->text()); };
            else if (name == QLatin1String("edit-delete"))
                replacement = [this] { eraseForward(); };
            if (replacement) {
                action->disconnect();
                connect(action, &QAction::triggered, this, replacement);
            }
        }
        // A leading separator is left where undo and redo stood.
        if (!menu->actions().isEmpty() && menu->actions().first()->isSeparator())
            menu->removeAction(menu->actions().first());
    }
    menu->exec(event->globalPos());
}

}  // namespace vormex::gui
