#pragma once
// Invert and colour separation: inverts the picture, or keeps only the chosen colour channels.
#include "effects/column_passes.h"
#include "effects/effect_catalog.h"
#include "effects/working_copy.h"
#include <vector>

namespace orv {

enum class InvertMode { Invert, ColorSeparation };

// The dialog's initial values.
struct InvertParams {
    InvertMode mode = InvertMode::Invert;
    bool red = true;
    bool green = true;
    bool blue = true;
};

// With all three channels chosen (either mode): one inversion of the whole picture, without
// progress or cancel. Otherwise one per-pixel pass, progress 0 to 100: colour separation keeps
// the chosen channels and sets the others to 0; invert writes 255 - v for each chosen channel
// and 0 for the others.
std::vector<ColumnPass> InvertPasses(WorkingCopy& work, const InvertParams& p);

// orvane-batch: mode=invert|separate, red=0|1, green=0|1, blue=0|1.
bool ParseInvertParams(const EffectParams& params, InvertParams* out, QString* error);

} // namespace orv
