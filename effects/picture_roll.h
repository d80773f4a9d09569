#pragma once
// Picture roll: the picture shifted x pixels to the right and y pixels down, what leaves one
// edge coming back at the other: pixel (px, py) takes the colour of ((px - x) mod W,
// (py - y) mod H). Negative amounts shift left and up.
#include "effects/column_passes.h"
#include "effects/effect_catalog.h"
#include "effects/working_copy.h"
#include <vector>

namespace orv {

// The dialog's initial values (both scroll bars at 0).
struct RollParams {
    int x = 0;
    int y = 0;
};

constexpr int kRollMax = 32768;   // the longest side a picture can have

// One pass, progress 0 to 100, into a second picture.
std::vector<ColumnPass> RollPasses(WorkingCopy& work, const RollParams& p);

// orvane-batch: x=-32768..32768, y=-32768..32768.
bool ParseRollParams(const EffectParams& params, RollParams* out, QString* error);

} // namespace orv
