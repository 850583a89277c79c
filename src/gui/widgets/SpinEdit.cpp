#include "gui/widgets/SpinEdit.h"

#include <QLineEdit>

#include <algorithm>
#include <climits>

namespace vormex::gui {
namespace {

// The largest number of `digits` digits that an int holds.
int largestOfDigits(int digits)
{
    long long value = 0;
    for (int i = 0; i < digits && value <= INT_MAX / 10; ++i)
        value = value * 10 + 9;
    return static_cast<int>(std::min<long long>(value, INT_MAX));
}

}  // namespace

SpinEdit::SpinEdit(QWidget* parent) : QSpinBox(parent)
{
    setAccelerated(true);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
}

void SpinEdit::setLimits(int min, int max, int length)
{
    stepMin_ = std::min(min, max);
    stepMax_ = std::max(min, max);
    int low = stepMin_;
    int high = stepMax_;
    if (length > 0) {
        high = std::max(high, largestOfDigits(length));
        low = stepMin_ < 0 ? std::min(low, -largestOfDigits(length - 1)) : std::min(low, 0);
        lineEdit()->setMaxLength(length);
    }
    setRange(low, high);
}

bool SpinEdit::readNumber(int& value) const
{
    bool ok = false;
    value = cleanText().trimmed().toInt(&ok);
    return ok;
}

void SpinEdit::stepBy(int steps)
{
    int current = 0;
    if (!readNumber(current))
        current = value();
    const long long next = std::clamp<long long>(static_cast<long long>(current) + steps, stepMin_, stepMax_);
    setValue(static_cast<int>(next));
    selectAll();
}

QAbstractSpinBox::StepEnabled SpinEdit::stepEnabled() const
{
    if (isReadOnly())
        return StepNone;
    StepEnabled enabled = StepNone;
    if (value() > stepMin_)
        enabled |= StepDownEnabled;
    if (value() < stepMax_)
        enabled |= StepUpEnabled;
    return enabled;
}

}  // namespace vormex::gui
