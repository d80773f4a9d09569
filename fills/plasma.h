#pragma once
// Plasma: a cloud of colour filling the whole picture, made by random midpoint displacement
// (diamond-square) on the picture's own pixels. The cells are squares of side S, the largest
// power of two not above the picture's shorter side; the points at multiples of S take random
// colours. Then, for s = S, S/2, ... 2 with h = s/2: every cell centre takes the rounded mean
// of its four corners (the square step), then every edge midpoint that of its four neighbours
// h away (the diamond step), each plus a random displacement in -a .. a per channel,
// a = turbulence x 255 x s / (100 S) truncated, the result held to 0..255. A neighbour beyond
// the picture's edge counts as the one opposite it (see fills/plasma_kernels.h).
//
// The random numbers are a fixed integer hash of the seed, the point and the channel, so a
// seed gives the same picture on every machine and the points of a step can be computed in any
// order, on every core at once. Each step is a pass of its own: the progress moves and Cancel
// acts while the cloud is made.
#include "effects/column_passes.h"
#include "effects/effect_catalog.h"
#include "effects/working_copy.h"
#include <cstdint>
#include <vector>

namespace orv {

// The dialog's initial values.
struct PlasmaParams {
    int seed = 1;
    int turbulence = 50;
};

constexpr int kPlasmaSeedMax = 999999999;
constexpr int kPlasmaTurbulenceMax = 100;

// The passes, progress 0 to 100, that replace every pixel.
std::vector<ColumnPass> PlasmaPasses(WorkingCopy& work, const PlasmaParams& p);

// A seed or turbulence typed into the dialog: an integer 0 .. max; false otherwise.
bool PlasmaValueFromText(const QString& text, int max, int* value);

// The seed "New seed" puts in place of this one, the same on every machine.
int NextPlasmaSeed(int seed);

// orvane-batch: seed=0..999999999, turbulence=0..100.
bool ParsePlasmaParams(const EffectParams& params, PlasmaParams* out, QString* error);

} // namespace orv
