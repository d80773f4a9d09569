// Compiled once per SIMD instruction set: foreach_target.h includes this file again for each.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "documents/recovery_prediction.cpp"
#include <hwy/foreach_target.h>
#include <hwy/highway.h>

#include "documents/recovery_prediction.h"

HWY_BEFORE_NAMESPACE();
namespace orv::kernels {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// The rounded mean of byte `k` of two pixels.
HWY_INLINE uint32_t Mean(uint32_t a, uint32_t b, int k)
{
    return (((a >> (8 * k)) & 0xFF) + ((b >> (8 * k)) & 0xFF) + 1) >> 1;
}

void ToDifferences(const uint8_t* row, const uint8_t* up, uint8_t* d, int w, size_t plane)
{
    const auto* in = reinterpret_cast<const uint32_t*>(row);
    const auto* above = reinterpret_cast<const uint32_t*>(up);
    uint8_t* const out[3] = {d, d + plane, d + 2 * plane};
    const auto pixel = [&](size_t x) {
        const uint32_t left = x ? in[x - 1] : above ? above[0] : 0;
        const uint32_t a = above ? above[x] : left;
        for (int k = 0; k < 3; ++k) out[k][x] = uint8_t((in[x] >> (8 * k)) - Mean(left, a, k));
    };
    const size_t n = size_t(w);
    pixel(0);
    // From the second pixel on, whole vectors of pixels, each byte of a pixel in its own
    // vector; without a row above the left neighbour stands in for the upper one.
    const hn::ScalableTag<uint8_t> d8;
    const size_t N = hn::Lanes(d8);
    const uint8_t* const upper = up ? up + 4 : row;   // the upper neighbour of pixel x at 4 (x - 1)
    size_t x = 1;
    for (; x + N <= n; x += N) {
        hn::Vec<decltype(d8)> p[4], left[4], a[4];
        hn::LoadInterleaved4(d8, row + 4 * x, p[0], p[1], p[2], p[3]);
        hn::LoadInterleaved4(d8, row + 4 * (x - 1), left[0], left[1], left[2], left[3]);
        hn::LoadInterleaved4(d8, upper + 4 * (x - 1), a[0], a[1], a[2], a[3]);
        for (int k = 0; k < 3; ++k) hn::StoreU(hn::Sub(p[k], hn::AverageRound(left[k], a[k])), d8, out[k] + x);
    }
    for (; x < n; ++x) pixel(x);
}

void FromDifferences(const uint8_t* d, const uint8_t* up, uint8_t* row, int w, size_t plane)
{
    const uint8_t* const in[3] = {d, d + plane, d + 2 * plane};
    auto* out = reinterpret_cast<uint32_t*>(row);
    const size_t n = size_t(w);
    // First the differences go into place as pixels, their fourth byte 0 ...
    const hn::ScalableTag<uint8_t> d8;
    const size_t N = hn::Lanes(d8);
    size_t x = 0;
    for (; x + N <= n; x += N)
        hn::StoreInterleaved4(hn::LoadU(d8, in[0] + x), hn::LoadU(d8, in[1] + x), hn::LoadU(d8, in[2] + x),
                              hn::Zero(d8), d8, row + 4 * x);
    for (; x < n; ++x) out[x] = uint32_t(in[0][x]) | uint32_t(in[1][x]) << 8 | uint32_t(in[2][x]) << 16;
    // ... then, pixel after pixel, each adds its prediction from the pixel restored before it,
    // all bytes at once; the fourth is made 0xFF as the pixel is stored.
#if HWY_TARGET == HWY_SCALAR
    const auto* above = reinterpret_cast<const uint32_t*>(up);
    uint32_t c = above ? above[0] : 0;
    for (x = 0; x < n; ++x) {
        const uint32_t a = above ? above[x] : c;
        uint32_t p = 0xFF000000u;
        for (int k = 0; k < 3; ++k) p |= uint32_t(uint8_t((out[x] >> (8 * k)) + Mean(c, a, k))) << (8 * k);
        out[x] = c = p;
    }
#else
    const hn::Full32<uint8_t> d4;
    const auto opaque = hn::BitCast(d4, hn::Set(hn::Full32<uint32_t>(), 0xFF000000u));
    auto c = up ? hn::LoadU(d4, up) : hn::Zero(d4);
    if (up) {
        for (x = 0; x < n; ++x) {
            c = hn::Add(hn::LoadU(d4, row + 4 * x), hn::AverageRound(c, hn::LoadU(d4, up + 4 * x)));
            hn::StoreU(hn::Or(c, opaque), d4, row + 4 * x);
        }
    } else {   // the mean of the left neighbour with itself
        for (x = 0; x < n; ++x) {
            c = hn::Add(hn::LoadU(d4, row + 4 * x), c);
            hn::StoreU(hn::Or(c, opaque), d4, row + 4 * x);
        }
    }
#endif
}

} // namespace HWY_NAMESPACE
} // namespace orv::kernels
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace orv::kernels {

HWY_EXPORT(ToDifferences);
HWY_EXPORT(FromDifferences);

void ToDifferences(const uint8_t* row, const uint8_t* up, uint8_t* d, int w, size_t plane)
{
    HWY_DYNAMIC_DISPATCH(ToDifferences)(row, up, d, w, plane);
}

void FromDifferences(const uint8_t* d, const uint8_t* up, uint8_t* row, int w, size_t plane)
{
    HWY_DYNAMIC_DISPATCH(FromDifferences)(d, up, row, w, plane);
}

} // namespace orv::kernels
#endif
