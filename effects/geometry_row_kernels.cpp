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

void FilterDownRow(const uint32_t* const* rows, const int32_t* weight, size_t taps, int bits, uint32_t* out,
                   size_t n)
{
    const hn::ScalableTag<int32_t> d;
    const hn::RebindToUnsigned<decltype(d)> du;
    const size_t N = hn::Lanes(d);
    const auto low = hn::Set(d, 0xFF), half = hn::Set(d, 1 << (bits - 1)), zero = hn::Zero(d);
    size_t i = 0;
    for (; i + N <= n; i += N) {
        auto r = half, g = half, b = half;
        for (size_t k = 0; k < taps; ++k) {
            const auto v = hn::BitCast(d, hn::LoadU(du, rows[k] + i));
            const auto w = hn::Set(d, weight[k]);
            r = hn::Add(r, hn::Mul(hn::And(v, low), w));
            g = hn::Add(g, hn::Mul(hn::And(hn::ShiftRight<8>(v), low), w));
            b = hn::Add(b, hn::Mul(hn::And(hn::ShiftRight<16>(v), low), w));
        }
        const auto channel = [&](decltype(r) acc) { return hn::Min(hn::Max(hn::ShiftRightSame(acc, bits), zero), low); };
        const auto p = hn::Or(hn::Or(channel(r), hn::ShiftLeft<8>(channel(g))), hn::ShiftLeft<16>(channel(b)));
        hn::StoreU(hn::Or(hn::BitCast(du, p), hn::Set(du, 0xFF000000u)), du, out + i);
    }
    for (; i < n; ++i) {   // less than one vector
        int32_t acc[3] = {1 << (bits - 1), 1 << (bits - 1), 1 << (bits - 1)};
        for (size_t k = 0; k < taps; ++k)
            for (int c = 0; c < 3; ++c) acc[c] += static_cast<int32_t>((rows[k][i] >> (8 * c)) & 0xFF) * weight[k];
        uint32_t p = 0xFF000000u;
        for (int c = 0; c < 3; ++c) p |= static_cast<uint32_t>(std::clamp(acc[c] >> bits, 0, 255)) << (8 * c);
        out[i] = p;
    }
}

} // namespace HWY_NAMESPACE
} // namespace orv::kernels
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace orv::kernels {

HWY_EXPORT(FilterDownRow);

void FilterDownRow(const uint32_t* const* rows, const int32_t* weight, size_t taps, int bits, uint32_t* out,
                   size_t n)
{
    HWY_DYNAMIC_DISPATCH(FilterDownRow)(rows, weight, taps, bits, out, n);
}

} // namespace orv::kernels
#endif
