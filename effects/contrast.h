#pragma once
// Contrast: stretches or compresses the channel values linearly. A measuring pass finds M, the
// greatest (r + g + b) \ 3 of the picture; the writing pass sends each channel u to
// u * k / M + (256 - k) / 2 with k = value + 200, held to 0..255 and rounded halves to even,
// so 0 goes to (256 - k) / 2 and M to that plus k: a span of k values centred on 128.
#include "effects/column_passes.h"
#include "effects/effect_catalog.h"
#include "effects/pixel_kernels.h"
#include "effects/working_copy.h"
#include <vector>

namespace orv {

// The dialog's initial value; the scroll bar runs from -200 to 200.
struct ContrastParams {
    int value = 1;
};

// Two passes: measuring (progress 0 to 50) and writing (50 to 100). A picture that is black
// everywhere (M = 0) has no scale and is left as it is.
std::vector<ColumnPass> ContrastPasses(WorkingCopy& work, const ContrastParams& p);

// The writing pass's map of each channel for the brightest average m and the scroll-bar value.
kernels::LineTable ContrastChannels(int m, int value);

// orvane-batch: value=-200..200.
bool ParseContrastParams(const EffectParams& params, ContrastParams* out, QString* error);

} // namespace orv
