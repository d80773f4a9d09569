#pragma once
// Stained glass: a mosaic of cells CW x CH. Cell columns start at x = 0, CW, 2 CW, ... while
// x <= W - 1 and cell rows likewise; each cell takes the colour of its top-left pixel and
// covers the pixels x + i, y + j for i = 0 .. CW - 1, j = 0 .. CH - 1 (positions rounded halves
// to even, cut off at the picture's edge). Sizes below 1 cover nothing.
#include "effects/column_passes.h"
#include "effects/effect_catalog.h"
#include "effects/working_copy.h"
#include <vector>

namespace orv {

// The dialog's initial values (its text boxes hold "5" and "5").
struct StainedGlassParams {
    double width = 5;
    double height = 5;
};

// A cell size typed into the dialog: false for a text that is not a number of at least 1 (a
// size of 0 would never leave the first cell, and one between 0 and 1 covers no pixel).
bool CellSizeFromText(const QString& text, double* size);

// One pass, progress 0 to 100.
std::vector<ColumnPass> StainedGlassPasses(WorkingCopy& work, const StainedGlassParams& p);

// orvane-batch: width=TEXT, height=TEXT.
bool ParseStainedGlassParams(const EffectParams& params, StainedGlassParams* out, QString* error);

} // namespace orv
