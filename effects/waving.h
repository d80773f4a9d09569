#pragma once
// Waving: a ripple spreading from the picture's centre. Each pixel takes the colour of a
// pixel in its own row, w columns to its left (right for a negative w), where w follows a sine
// of the pixel's distance from the centre. A source column beyond an edge is reflected at that
// edge: -sx at the left, 2 (W - 1) - sx at the right.
#include "effects/column_passes.h"
#include "effects/effect_catalog.h"
#include "effects/working_copy.h"
#include <cstdint>
#include <vector>

namespace orv {

// The dialog's initial values: the phase and frequency scroll bars (the frequency used is
// freq / 10).
struct WavingParams {
    int phase = 0;
    int freq = 4;
};

constexpr int kWavingFreqMax = 10;
constexpr int kWavingPhaseCap = 32767;   // the phase scroll bar's values are 16-bit

// The ripple of a picture of pw x ph pixels: the centre (cx, cy) = (1 + pw \ 2, 1 + ph \ 2),
// maxR = round(sqrt(cx^2 + cy^2) + 2) and the wave S(k) = round(sin((k - phase) x freq / 10) x 15)
// for k = 0 .. maxR (the product in single precision, rounding halves to even).
struct RippleTables {
    int cx = 0;
    int cy = 0;
    int maxR = 0;
    std::vector<int16_t> wave;   // S(0 .. maxR)
};
RippleTables MakeRippleTables(int pw, int ph, const WavingParams& p);

// D(dx, dy) = round(sqrt(dx^2 + dy^2)), the distance table of the ripple.
int RippleDistance(int dx, int dy);

// The maximum of the phase scroll bar for a picture of pw x ph pixels: the ripple's maxR
// worked out in units of 0.01 mm (pixels x 2540 / 96), at most kWavingPhaseCap.
int WavingPhaseMaximum(int pw, int ph);

// One pass, progress 0 to 100.
std::vector<ColumnPass> WavingPasses(WorkingCopy& work, const WavingParams& p);

// orvane-batch: phase=0..32767, freq=0..10.
bool ParseWavingParams(const EffectParams& params, WavingParams* out, QString* error);

} // namespace orv
