#pragma once
// Circlize: the picture is painted over with circle outlines one pixel wide, laid on a grid.
// Row centres are py = 0, DY, 2 DY, ... while py <= H - 1 and column centres px = 0, DX, ...
// while px <= W - 1 (accumulated in floating point); each circle has radius R and the colour
// of the unchanged picture at its centre, rounded to the nearest pixel. Circles are drawn row by
// row, left to right, with the canvas's circle primitive (centres kept to half pixels), so a
// later circle covers an earlier one where they cross; pixels no circle touches keep their own
// colour.
#include "effects/column_passes.h"
#include "effects/effect_catalog.h"
#include "effects/working_copy.h"
#include <vector>

namespace orv {

// The dialog's initial values (its text boxes hold "3.5", "2" and "20").
struct CirclizeParams {
    double ystep = 3.5;
    double xstep = 2;
    double radius = 20;
};

// A radius typed into the dialog: false for a text that is not a number of 0 or more.
bool RadiusFromText(const QString& text, double* radius);

// One pass, progress 0 to 100, into a second picture: every circle is read from the
// unchanged working copy.
std::vector<ColumnPass> CirclizePasses(WorkingCopy& work, const CirclizeParams& p);

// orvane-batch: ystep=TEXT, xstep=TEXT, radius=TEXT.
bool ParseCirclizeParams(const EffectParams& params, CirclizeParams* out, QString* error);

} // namespace orv
