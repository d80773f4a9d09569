#pragma once
// Flip horizontal and vertical: one mirrored stretch-copy of the picture onto itself, without a
// working copy, progress or cancel.
#include <QImage>

namespace orv {

void FlipHorizontal(QImage& picture);   // left to right
void FlipVertical(QImage& picture);     // top to bottom

} // namespace orv
