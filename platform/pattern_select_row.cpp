#include "platform/pattern_select_row.h"
#include "platform/color.h"

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "platform/pattern_select_row.cpp"
#include <hwy/foreach_target.h>
#include <hwy/highway.h>

HWY_BEFORE_NAMESPACE();
namespace orv {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

void PatternSelectRowImpl(uint32_t* HWY_RESTRICT d, const uint32_t* HWY_RESTRICT s, int n, const uint32_t* keep)
{
    const hn::ScalableTag<uint32_t> du;
    const int lanes = static_cast<int>(hn::Lanes(du));
    // The pattern repeated far enough that a vector starting at any phase 0..7 reads it.
    constexpr int kRepeat = 8 + HWY_MAX_BYTES / 4;
    HWY_ALIGN uint32_t pattern[kRepeat];
    for (int k = 0; k < kRepeat; ++k) pattern[k] = keep[k & 7];
    const auto opaque = hn::Set(du, kPixelOpaque);
    int i = 0;
    for (; i + lanes <= n; i += lanes) {
        const auto p = hn::LoadU(du, pattern + (i & 7));
        const auto r = hn::Or(hn::Or(hn::And(p, hn::LoadU(du, d + i)), hn::AndNot(p, hn::LoadU(du, s + i))), opaque);
        hn::StoreU(r, du, d + i);
    }
    for (; i < n; ++i) d[i] = (keep[i & 7] & d[i]) | (~keep[i & 7] & s[i]) | kPixelOpaque;
}

} // namespace HWY_NAMESPACE
} // namespace orv
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace orv {

HWY_EXPORT(PatternSelectRowImpl);

void PatternSelectRow(uint32_t* d, const uint32_t* s, int n, const uint32_t keep[8])
{
    HWY_DYNAMIC_DISPATCH(PatternSelectRowImpl)(d, s, n, keep);
}

} // namespace orv
#endif
