// Compiled once per SIMD instruction set: foreach_target.h includes this file again for each.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "effects/geometry_row_kernels.cpp"
#include <hwy/foreach_target.h>
#include <hwy/highway.h>

#include "effects/geometry_row_kernels.h"
#include <algorithm>

HWY_BEFORE_NAMESPACE();
namespace orv::kernels {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

using D32 = hn::ScalableTag<int32_t>;
using V32 = hn::Vec<D32>;
using DU32 = hn::RebindToUnsigned<D32>;

// Adds a weighted pixel to the red, green and blue sums.
HWY_INLINE void AddWeighted(V32 pixel, V32 weight, V32& r, V32& g, V32& b)
{
    const V32 low = hn::Set(D32(), 0xFF);
    r = hn::Add(r, hn::Mul(hn::And(pixel, low), weight));
    g = hn::Add(g, hn::Mul(hn::And(hn::ShiftRight<8>(pixel), low), weight));
    b = hn::Add(b, hn::Mul(hn::And(hn::ShiftRight<16>(pixel), low), weight));
}

// The pixel of sums in `bits` fixed point that started at half the unit: each channel held to
// 0..255, top byte 0xFF.
HWY_INLINE hn::Vec<DU32> PixelOf(V32 r, V32 g, V32 b, int bits)
{
    const D32 d;
    const V32 low = hn::Set(d, 0xFF), zero = hn::Zero(d);
    const auto channel = [&](V32 acc) { return hn::Min(hn::Max(hn::ShiftRightSame(acc, bits), zero), low); };
    const V32 p = hn::Or(hn::Or(channel(r), hn::ShiftLeft<8>(channel(g))), hn::ShiftLeft<16>(channel(b)));
    return hn::Or(hn::BitCast(DU32(), p), hn::Set(DU32(), 0xFF000000u));
}

// The same for one pixel, for the pixels after the last whole vector: tap(k) is the pixel
// weight[k * weightStep] weighs.
template <class Tap>
uint32_t OnePixel(Tap tap, const int32_t* weight, size_t taps, size_t weightStep, int bits)
{
    int32_t acc[3] = {1 << (bits - 1), 1 << (bits - 1), 1 << (bits - 1)};
    for (size_t k = 0; k < taps; ++k)
        for (int c = 0; c < 3; ++c) acc[c] += static_cast<int32_t>((tap(k) >> (8 * c)) & 0xFF) * weight[k * weightStep];
    uint32_t p = 0xFF000000u;
    for (int c = 0; c < 3; ++c) p |= static_cast<uint32_t>(std::clamp(acc[c] >> bits, 0, 255)) << (8 * c);
    return p;
}

void FilterDownRow(const uint32_t* const* rows, const int32_t* weight, size_t taps, int bits, uint32_t* out,
                   size_t n)
{
    const D32 d;
    const size_t N = hn::Lanes(d);
    size_t i = 0;
    for (; i + N <= n; i += N) {
        V32 r = hn::Set(d, 1 << (bits - 1)), g = r, b = r;
        for (size_t k = 0; k < taps; ++k)
            AddWeighted(hn::BitCast(d, hn::LoadU(DU32(), rows[k] + i)), hn::Set(d, weight[k]), r, g, b);
        hn::StoreU(PixelOf(r, g, b, bits), DU32(), out + i);
    }
    for (; i < n; ++i)   // less than one vector
        out[i] = OnePixel([&](size_t k) { return rows[k][i]; }, weight, taps, 1, bits);
}

void FilterAlongRow(const uint32_t* in, size_t width, const int32_t* start, const int32_t* weight, size_t taps,
                    int bits, uint32_t* out, size_t n)
{
    const D32 d;
    const size_t N = hn::Lanes(d);
    const V32 last = hn::Set(d, static_cast<int32_t>(width) - 1);
    size_t i = 0;
    for (; i + N <= n; i += N) {
        const V32 first = hn::LoadU(d, start + i);
        V32 r = hn::Set(d, 1 << (bits - 1)), g = r, b = r;
        for (size_t k = 0; k < taps; ++k) {
            const V32 at = hn::Min(hn::Add(first, hn::Set(d, static_cast<int32_t>(k))), last);
            AddWeighted(hn::BitCast(d, hn::GatherIndex(DU32(), in, at)), hn::LoadU(d, weight + k * n + i), r, g, b);
        }
        hn::StoreU(PixelOf(r, g, b, bits), DU32(), out + i);
    }
    for (; i < n; ++i)   // less than one vector
        out[i] = OnePixel([&](size_t k) { return in[std::min(size_t(start[i]) + k, width - 1)]; }, weight + i, taps, n,
                          bits);
}

} // namespace HWY_NAMESPACE
} // namespace orv::kernels
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace orv::kernels {

HWY_EXPORT(FilterDownRow);
HWY_EXPORT(FilterAlongRow);

void FilterDownRow(const uint32_t* const* rows, const int32_t* weight, size_t taps, int bits, uint32_t* out,
                   size_t n)
{
    HWY_DYNAMIC_DISPATCH(FilterDownRow)(rows, weight, taps, bits, out, n);
}

void FilterAlongRow(const uint32_t* in, size_t width, const int32_t* start, const int32_t* weight, size_t taps,
                    int bits, uint32_t* out, size_t n)
{
    HWY_DYNAMIC_DISPATCH(FilterAlongRow)(in, width, start, weight, taps, bits, out, n);
}

} // namespace orv::kernels
#endif
