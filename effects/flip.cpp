#include "effects/flip.h"
#include "effects/pixel_kernels.h"
#include "effects/row_shares.h"
#include "effects/target_picture.h"
#include "platform/color.h"

namespace orv {

void FlipHorizontal(QImage& picture)
{
    if (picture.format() != kPixelFormat) picture.convertTo(kPixelFormat);
    const int w = picture.width();
    const PixelRows rows(picture);
    ForRowShares(0, picture.height(), w, [&](int from, int to) {
        for (int y = from; y < to; ++y) kernels::ReverseRow(rows[y], static_cast<size_t>(w));
    });
}

void FlipVertical(QImage& picture)
{
    if (picture.format() != kPixelFormat) picture.convertTo(kPixelFormat);
    const int w = picture.width(), h = picture.height();
    const PixelRows rows(picture);
    // Row y trades places with row h - 1 - y; the middle row of an odd height stays.
    ForRowShares(0, h / 2, 2 * int64_t{w}, [&](int from, int to) {
        for (int y = from; y < to; ++y)
            kernels::SwapRows(rows[y], rows[h - 1 - y], static_cast<size_t>(w));
    });
}

} // namespace orv
