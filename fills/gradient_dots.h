#pragma once
// The "Special" gradient: 26 x 26 round dots over the picture in a 255 x 255 grid of units,
// at x, y = 1, 11, ..., 251 units, coloured RGB(x, y, 255 - x) and drawn column after column
// (x outer, y inner), so a later dot covers an earlier one where they overlap. The dot
// diameter is floor(15 x max(W, H) / 255) pixels, at least 1.
#include <QImage>

namespace orv {

int SpecialGradientPenWidth(int width, int height);

void DrawSpecialGradient(QImage& target);

} // namespace orv
