// Compiled once per SIMD instruction set: foreach_target.h includes this file again for each.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "effects/quarter_turn_kernels.cpp"
#include <hwy/foreach_target.h>
#include <hwy/highway.h>

#include "effects/quarter_turn_kernels.h"

HWY_BEFORE_NAMESPACE();
namespace orv::kernels {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

void TransposePixels(const uint32_t* const* rows, size_t n, size_t x, uint32_t* const* out, size_t m)
{
    size_t i = 0;
#if HWY_TARGET != HWY_SCALAR
    // Blocks of 4 x 4 pixels: four rows' pixels pair up, then the pairs.
    const hn::Full128<uint32_t> d;
    const hn::Full128<uint64_t> d64;
    for (; i + 4 <= n; i += 4) {
        size_t c = 0;
        for (; c + 4 <= m; c += 4) {
            const auto a = hn::LoadU(d, rows[i] + x + c), b = hn::LoadU(d, rows[i + 1] + x + c);
            const auto e = hn::LoadU(d, rows[i + 2] + x + c), f = hn::LoadU(d, rows[i + 3] + x + c);
            const auto ab0 = hn::BitCast(d64, hn::InterleaveLower(d, a, b)), ab1 = hn::BitCast(d64, hn::InterleaveUpper(d, a, b));
            const auto ef0 = hn::BitCast(d64, hn::InterleaveLower(d, e, f)), ef1 = hn::BitCast(d64, hn::InterleaveUpper(d, e, f));
            hn::StoreU(hn::BitCast(d, hn::InterleaveLower(d64, ab0, ef0)), d, out[c] + i);
            hn::StoreU(hn::BitCast(d, hn::InterleaveUpper(d64, ab0, ef0)), d, out[c + 1] + i);
            hn::StoreU(hn::BitCast(d, hn::InterleaveLower(d64, ab1, ef1)), d, out[c + 2] + i);
            hn::StoreU(hn::BitCast(d, hn::InterleaveUpper(d64, ab1, ef1)), d, out[c + 3] + i);
        }
        for (; c < m; ++c)   // the last columns
            for (size_t k = i; k < i + 4; ++k) out[c][k] = rows[k][x + c];
    }
#endif
    for (; i < n; ++i)   // the last rows
        for (size_t c = 0; c < m; ++c) out[c][i] = rows[i][x + c];
}

} // namespace HWY_NAMESPACE
} // namespace orv::kernels
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace orv::kernels {

HWY_EXPORT(TransposePixels);

void TransposePixels(const uint32_t* const* rows, size_t n, size_t x, uint32_t* const* out, size_t m)
{
    HWY_DYNAMIC_DISPATCH(TransposePixels)(rows, n, x, out, m);
}

} // namespace orv::kernels
#endif
