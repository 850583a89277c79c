#include "gui/widgets/FocusFrameFollower.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPainter>

namespace vormex::gui {
namespace {

constexpr int kFrameWidth = 2;

}  // namespace

FocusFrameFollower::FocusFrameFollower(QObject* parent) : QObject(parent)
{
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { follow(now); });
}

void FocusFrameFollower::setEditsShowFocus(bool shown)
{
    editsShowFocus_ = shown;
    follow(QApplication::focusWidget());
}

QWidget* FocusFrameFollower::controlToFrame(QWidget* focused) const
{
    if (!focused)
        return nullptr;
    // The edit inside a number edit or a list answers for its outer control.
    QWidget* parent = focused->parentWidget();
    if (qobject_cast<QAbstractSpinBox*>(parent) || qobject_cast<QComboBox*>(parent))
        focused = parent;
    if (auto* view = qobject_cast<QAbstractScrollArea*>(focused)) {
        // Not the popup of a drop-down list, which shows its chosen entry.
        const bool popup = view->window()->windowType() == Qt::Popup;
        return view->frameShape() != QFrame::NoFrame && !popup ? view : nullptr;
    }
    if (editsShowFocus_)
        return nullptr;
    if (auto* edit = qobject_cast<QLineEdit*>(focused))
        return edit->hasFrame() ? edit : nullptr;
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(focused))
        return spin->hasFrame() ? spin : nullptr;
    if (auto* list = qobject_cast<QComboBox*>(focused))
        return list->isEditable() && list->hasFrame() ? list : nullptr;
    return nullptr;
}

void FocusFrameFollower::follow(QWidget* focused)
{
    QWidget* next = controlToFrame(focused);
    if (next == framed_)
        return;
    if (framed_) {
        framed_->removeEventFilter(this);
        framed_->update();
    }
    framed_ = next;
    if (framed_) {
        framed_->installEventFilter(this);
        framed_->update();
    }
}

bool FocusFrameFollower::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != framed_ || event->type() != QEvent::Paint)
        return QObject::eventFilter(watched, event);
    // The control paints itself first (without this filter), then the frame goes over its border.
    QWidget* control = framed_;
    control->removeEventFilter(this);
    QCoreApplication::sendEvent(control, event);
    control->installEventFilter(this);
    paintFrame();
    return true;
}

void FocusFrameFollower::paintFrame()
{
    const QRect r = framed_->rect();
    if (r.width() <= 2 * kFrameWidth || r.height() <= 2 * kFrameWidth)
        return;
    const QColor colour = framed_->palette().color(QPalette::Active, QPalette::Highlight);
    QPainter painter(framed_);
    painter.fillRect(QRect(r.left(), r.top(), r.width(), kFrameWidth), colour);
    painter.fillRect(QRect(r.left(), r.bottom() - kFrameWidth + 1, r.width(), kFrameWidth), colour);
    painter.fillRect(QRect(r.left(), r.top(), kFrameWidth, r.height()), colour);
    painter.fillRect(QRect(r.right() - kFrameWidth + 1, r.top(), kFrameWidth, r.height()), colour);
}

}  // namespace vormex::gui
