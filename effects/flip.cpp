#include "effects/flip.h"
#include "effects/pixel_kernels.h"
#include "effects/target_picture.h"
#include "platform/color.h"

namespace orv {

void FlipHorizontal(QImage& picture)
{
    if (picture.format() != kPixelFormat) picture.convertTo(kPixelFormat);
    const int w = picture.width();
    const PixelRows rows(picture);
    for (int y = 0; y < picture.height(); ++y) kernels::ReverseRow(rows[y], static_cast<size_t>(w));
}

void FlipVertical(QImage& picture)
{
    if (picture.format() != kPixelFormat) picture.convertTo(kPixelFormat);
    const int w = picture.width(), h = picture.height();
    const PixelRows rows(picture);
    // Row y trades places with row h - 1 - y; the middle row of an odd height stays.
    for (int y = 0; y < h / 2; ++y) kernels::SwapRows(rows[y], rows[h - 1 - y], static_cast<size_t>(w));
}

} // namespace orv
