#pragma once

#include <QProxyStyle>

namespace vormex::gui {

// The widget style of a look with a focus frame wherever the look's own style draws none: a
// frame in the highlight colour around the edit, number edit, editable list, text or item view
// that has the keyboard focus. The classic look draws its sunken edits the same with and
// without the focus (only the text cursor tells), and no look marks a read-only text view.
// `framesShowFocus`: the base style marks focused edits itself (the edits are then left to it).
class FocusFrameStyle : public QProxyStyle {
    Q_OBJECT
public:
    FocusFrameStyle(QStyle* base, bool framesShowFocus);

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget = nullptr) const override;

private:
    static void drawFocusFrame(const QStyleOption& option, QPainter* painter);

    bool framesShowFocus_;
};

}  // namespace vormex::gui
