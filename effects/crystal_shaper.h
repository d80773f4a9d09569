#pragma once
// Crystal shaper: rows 0 .. W of the picture (as far as it reaches) are mirrored left to right
// and squeezed into a centred span that widens by two pixels a row from the vertical centre
// line, then narrows back, and so on; pixels outside a row's span keep their values.
//
// With the margin m (single precision) starting at W / 2 and a falling flag starting false,
// row y does: m = m + 1 (m - 1 when falling); the whole row is drawn mirrored into the columns
// round(m) + round(W - 2m) .. round(m) - 1, cut off at the edges, destination column
// round(m) - 1 - i showing source column floor((2i + 1) W / (2 |round(W - 2m)|)); m = W sets the
// flag, m = W / 2 clears it. On an odd width m never reaches W, so the span keeps widening.
#include <QImage>

namespace orv {

// Works in place on a kPixelFormat picture; no progress, no cancel.
void CrystalShape(QImage& image);

} // namespace orv
