#pragma once
// Rotate 90°: a clockwise quarter turn. A W x H picture becomes H x W; the source pixel (x, y)
// lands at (H - 1 - y, x), so the top-left corner goes to the top-right and four turns give the
// picture back. A quarter turn the other way puts it at (y, W - 1 - x).
#include "effects/column_passes.h"
#include "effects/working_copy.h"
#include <vector>

namespace orv {

// One pass over the source columns (progress 0 to 100) into a second picture of the turned
// size, which becomes the result after the last column.
std::vector<ColumnPass> Rotate90Passes(WorkingCopy& work);
std::vector<ColumnPass> Rotate270Passes(WorkingCopy& work);

} // namespace orv
