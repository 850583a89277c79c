#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace vormex::gui {

// Draws a frame in the highlight colour around the control with the keyboard focus where the
// look's style shows none: text and item views (the logs, the lists) in every look, and in a
// look whose edits show no focus (`setEditsShowFocus(false)`, the classic look) the edits,
// number edits and editable lists. The frame is painted over the control's own picture, on its
// border, so nothing moves and no widget is added. It follows the focus in every window of the
// application.
class FocusFrameFollower : public QObject {
    Q_OBJECT
public:
    explicit FocusFrameFollower(QObject* parent = nullptr);

    void setEditsShowFocus(bool shown);
    // The control that carries the frame now; nullptr when none does.
    QWidget* framed() const { return framed_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow(QWidget* focused);
    QWidget* controlToFrame(QWidget* focused) const;
    void paintFrame();

    QPointer<QWidget> framed_;
    bool editsShowFocus_ = true;
};

}  // namespace vormex::gui
