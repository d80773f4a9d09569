#pragma once
// Tornado: the picture swirled about its centre (cx, cy) = ((W - 1) / 2, (H - 1) / 2). A pixel
// at distance d < radius from the centre takes the colour found by turning it about the centre
// by angle x (1 - d / radius)^2 degrees (x' = dx cos t - dy sin t, y' = dx sin t + dy cos t), read
// between the four nearest pixels (bilinear, weights in 256ths, sampled points held inside
// the picture); pixels at the radius or beyond stay. The row kernel of tornado_kernels.h
// computes it in single precision, the same on every instruction set.
#include "effects/column_passes.h"
#include "effects/effect_catalog.h"
#include "effects/working_copy.h"
#include <vector>

namespace orv {

// The dialog's initial values.
struct TornadoParams {
    double angle = 90;
    double radius = 100;
};

constexpr double kTornadoAngleMax = 3600;   // ten turns either way
constexpr double kTornadoRadiusMax = 32768;

// Texts typed into the dialog: an angle from -3600 to 3600 degrees, a radius above 0 and at
// most 32768 pixels; false otherwise.
bool TornadoAngleFromText(const QString& text, double* angle);
bool TornadoRadiusFromText(const QString& text, double* radius);

// One pass, progress 0 to 100, into a second picture.
std::vector<ColumnPass> TornadoPasses(WorkingCopy& work, const TornadoParams& p);

// orvane-batch: angle=TEXT, radius=TEXT.
bool ParseTornadoParams(const EffectParams& params, TornadoParams* out, QString* error);

} // namespace orv
