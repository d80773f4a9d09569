#include "effects/flip.h"
#include "effects/pixel_kernels.h"
#include "effects/row_shares.h"
#include "platform/color.h"

namespace orv {

namespace {

uint32_t* WordRow(uchar* bits, qsizetype stride, int y)
{
    return reinterpret_cast<uint32_t*>(bits + y * stride);
}

} // namespace

void FlipHorizontal(QImage& picture)
{
    if (picture.format() != kPixelFormat) picture.convertTo(kPixelFormat);
    const int w = picture.width();
    uchar* const bits = picture.bits();
    const qsizetype stride = picture.bytesPerLine();
    ForRowShares(0, picture.height(), w, [&](int from, int to) {
        for (int y = from; y < to; ++y) kernels::ReverseRow(WordRow(bits, stride, y), static_cast<size_t>(w));
    });
}

void FlipVertical(QImage& picture)
{
    if (picture.format() != kPixelFormat) picture.convertTo(kPixelFormat);
    const int w = picture.width(), h = picture.height();
    uchar* const bits = picture.bits();
    const qsizetype stride = picture.bytesPerLine();
    // Row y trades places with row h - 1 - y; the middle row of an odd height stays.
    ForRowShares(0, h / 2, 2 * int64_t{w}, [&](int from, int to) {
        for (int y = from; y < to; ++y)
            kernels::SwapRows(WordRow(bits, stride, y), WordRow(bits, stride, h - 1 - y), static_cast<size_t>(w));
    });
}

} // namespace orv
