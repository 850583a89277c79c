#pragma once

#include <QSpinBox>

namespace vormex::gui {

// A number edit with an up-down control, as the parameter pages use it: the edit takes any
// number of at most `length` characters (a sign only when `min` is negative), while the arrows
// step within `min` to `max`. A number outside the limits therefore stays visible until the
// page's own check names the limits, instead of being changed silently.
class SpinEdit : public QSpinBox {
    Q_OBJECT
public:
    explicit SpinEdit(QWidget* parent = nullptr);

    // `length` 0: the edit holds any number between the limits.
    void setLimits(int min, int max, int length);
    int stepMinimum() const { return stepMin_; }
    int stepMaximum() const { return stepMax_; }

    // The number the edit holds; false when its text is not an integer (empty, a lone sign).
    bool readNumber(int& value) const;

    void stepBy(int steps) override;

protected:
    StepEnabled stepEnabled() const override;

private:
    int stepMin_ = 0;
    int stepMax_ = 0;
};

}  // namespace vormex::gui
