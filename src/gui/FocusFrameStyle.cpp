#include "FocusFrameStyle.h"

#include <QAbstractScrollArea>
#include <QPainter>
#include <QStyleOption>

namespace vormex::gui {
namespace {

constexpr int kFrameWidth = 2;

bool hasFocus(const QStyleOption* option) { return option && (option->state & QStyle::State_HasFocus); }

}  // namespace

FocusFrameStyle::FocusFrameStyle(QStyle* base, bool framesShowFocus)
    : QProxyStyle(base), framesShowFocus_(framesShowFocus)
{
}

void FocusFrameStyle::drawFocusFrame(const QStyleOption& option, QPainter* painter)
{
    const QRect r = option.rect;
    if (r.width() <= 2 * kFrameWidth || r.height() <= 2 * kFrameWidth)
        return;
    const QColor colour = option.palette.color(QPalette::Active, QPalette::Highlight);
    painter->save();
    painter->fillRect(QRect(r.left(), r.top(), r.width(), kFrameWidth), colour);
    painter->fillRect(QRect(r.left(), r.bottom() - kFrameWidth + 1, r.width(), kFrameWidth), colour);
    painter->fillRect(QRect(r.left(), r.top(), kFrameWidth, r.height()), colour);
    painter->fillRect(QRect(r.right() - kFrameWidth + 1, r.top(), kFrameWidth, r.height()), colour);
    painter->restore();
}

void FocusFrameStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                    const QWidget* widget) const
{
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    // A line edit with a frame of its own (the edits inside number edits and lists have none).
    if (element == PE_PanelLineEdit && !framesShowFocus_ && hasFocus(option)) {
        const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
        if (frame && frame->lineWidth > 0)
            drawFocusFrame(*option, painter);
    }
}

void FocusFrameStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                  const QWidget* widget) const
{
    QProxyStyle::drawControl(element, option, painter, widget);
    // The frame of a text or item view (the log, the lists of the options sheet); not the popup
    // of a drop-down list, which shows its chosen entry.
    if (element == CE_ShapedFrame && hasFocus(option) && qobject_cast<const QAbstractScrollArea*>(widget) &&
        widget->window()->windowType() != Qt::Popup) {
        const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
        if (frame && frame->frameShape != QFrame::NoFrame)
            drawFocusFrame(*option, painter);
    }
}

void FocusFrameStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                         QPainter* painter, const QWidget* widget) const
{
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    if (framesShowFocus_ || !hasFocus(option))
        return;
    if (control == CC_SpinBox) {
        const auto* spin = qstyleoption_cast<const QStyleOptionSpinBox*>(option);
        if (spin && spin->frame)
            drawFocusFrame(*option, painter);
    } else if (control == CC_ComboBox) {
        // A list that takes typing; the others show their focus on the chosen entry.
        const auto* list = qstyleoption_cast<const QStyleOptionComboBox*>(option);
        if (list && list->editable && list->frame)
            drawFocusFrame(*option, painter);
    }
}

}  // namespace vormex::gui
