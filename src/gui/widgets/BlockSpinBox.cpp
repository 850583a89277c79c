#include "gui/widgets/BlockSpinBox.h"

#include <QLineEdit>

#include <algorithm>

namespace vormex::gui {
namespace {

int largestOfDigits(int digits)
{
    int value = 1;
    for (int i = 0; i < digits; ++i)
        value *= 10;
    return value - 1;
}

}  // namespace

BlockSpinBox::BlockSpinBox(int digits, QWidget* parent) : QSpinBox(parent)
{
    setRange(0, largestOfDigits(digits));
    lineEdit()->setMaxLength(digits);
    setAlignment(Qt::AlignRight);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
}

void BlockSpinBox::SetStepRange(int min, int max)
{
    min_ = min;
    max_ = std::max(min, max);
    if (min_ < minimum())
        setMinimum(min_);
    update();
}

void BlockSpinBox::stepBy(int steps)
{
    setValue(std::clamp(value() + steps, min_, max_));
    selectAll();
}

QAbstractSpinBox::StepEnabled BlockSpinBox::stepEnabled() const
{
    if (isReadOnly())
        return StepNone;
    StepEnabled enabled = StepNone;
    if (value() < max_)
        enabled |= StepUpEnabled;
    if (value() > min_)
        enabled |= StepDownEnabled;
    return enabled;
}

}  // namespace vormex::gui
