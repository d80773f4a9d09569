#pragma once
// Steps typed into effect dialogs that repeat something along an axis (circlize's rows and
// columns, video feedback's copies). A step of 0 or below never advances; a step far below a
// hundredth of a pixel only repeats the same copy ever more times. Both are refused.
#include "platform/dialog_text.h"

namespace orv {

constexpr double kSmallestStep = 0.01;

// False for a text that is not a number of at least kSmallestStep.
inline bool StepFromText(const QString& text, double* step)
{
    return DialogNumberAtLeast(text, kSmallestStep, step);
}

} // namespace orv
