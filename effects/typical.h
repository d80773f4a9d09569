#pragma once
// The typical filters: Emboss, Diffuse, Sharpen and Smooth. Each output pixel is computed from
// the unfiltered picture; pixels a filter does not visit keep their values.
//  - Emboss, x = 0 .. W-2, y = 0 .. H-2: per channel |P(x, y) - P(x+1, y+1) + 128|, at most 255;
//    the last column and the last row become (128, 128, 128).
//  - Diffuse, x = 2 .. W-3, y = 2 .. H-3: the pixel of a random source within two pixels.
//  - Sharpen, x = 1 .. W-2, y = 1 .. H-2: per channel P + (P - P(x-1, y-1)) / 2, rounded
//    halves to even and held to 0..255.
//  - Smooth, x = 1 .. W-2, y = 1 .. H-2: the 3 x 3 average per channel, rounded.
#include "effects/column_passes.h"
#include "effects/effect_catalog.h"
#include "effects/working_copy.h"
#include <vector>

namespace orv {

enum class TypicalFilter { Emboss, Diffuse, Sharpen, Smooth };

// The list's items in order: "Emboss", "Diffuse", "Sharpen", "Smooth".
const QStringList& TypicalFilterNames();

// The stored default choice.
struct TypicalParams {
    TypicalFilter filter = TypicalFilter::Emboss;
};

// One pass, progress 0 to 100, into a second picture (the untouched working copy is the
// source). Diffuse takes two values of the shared generator per visited pixel, in the order
// rows outside, columns inside: u1 moves the source row and u2 the source column by
// round(u * 4 - 2) pixels (single precision, halves to even on the position).
std::vector<ColumnPass> TypicalPasses(WorkingCopy& work, const TypicalParams& p);

// orvane-batch: filter=Emboss|Diffuse|Sharpen|Smooth.
bool ParseTypicalParams(const EffectParams& params, TypicalParams* out, QString* error);

} // namespace orv
