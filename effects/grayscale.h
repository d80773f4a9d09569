#pragma once
// Grayscale: every pixel becomes the grey of its gray level
// round(green * 150 / 255 + red * 76 / 255 + blue * 28 / 255). The weights add up to 254, so
// white becomes (254, 254, 254).
#include "effects/column_passes.h"
#include "effects/working_copy.h"
#include <vector>

namespace orv {

// The gray level of a colour.
int GrayLevel(ColorRef c);

// One per-pixel pass, progress 0 to 100.
std::vector<ColumnPass> GrayscalePasses(WorkingCopy& work);

} // namespace orv
