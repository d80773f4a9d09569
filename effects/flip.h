#pragma once
// Flip horizontal and vertical: the picture mirrored in place, each row reversed or rows
// exchanged top for bottom, without a working copy, progress or cancel.
#include <QImage>

namespace orv {

void FlipHorizontal(QImage& picture);   // left to right
void FlipVertical(QImage& picture);     // top to bottom

} // namespace orv
