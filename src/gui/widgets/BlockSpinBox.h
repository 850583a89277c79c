#pragma once

#include <QSpinBox>

namespace vormex::gui {

// A number edit with its spin: the arrows step within the value's range, while the edit takes
// any number of its digits, so that a value typed outside the range reaches the page's range
// check and its message instead of being dropped silently.
class BlockSpinBox : public QSpinBox {
    Q_OBJECT
public:
    BlockSpinBox(int digits, QWidget* parent = nullptr);

    // The range the arrows keep to.
    void SetStepRange(int min, int max);
    int stepMinimum() const { return min_; }
    int stepMaximum() const { return max_; }
    // The edit that takes the typed number.
    QLineEdit* edit() const { return lineEdit(); }

    void stepBy(int steps) override;

protected:
    StepEnabled stepEnabled() const override;

private:
    int min_ = 0;
    int max_ = 0;
};

}  // namespace vormex::gui
