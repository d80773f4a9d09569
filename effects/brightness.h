#pragma once
// Brightness: adds one value to every colour channel, each result held to 0..255.
#include "effects/column_passes.h"
#include "effects/effect_catalog.h"
#include "effects/working_copy.h"
#include <vector>

namespace orv {

// The dialog's initial value; the scroll bar runs from -100 to 100.
struct BrightnessParams {
    int value = 0;
};

// One per-pixel pass, progress 0 to 100.
std::vector<ColumnPass> BrightnessPasses(WorkingCopy& work, const BrightnessParams& p);

// orvane-batch: value=-100..100.
bool ParseBrightnessParams(const EffectParams& params, BrightnessParams* out, QString* error);

} // namespace orv
