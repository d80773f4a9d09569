// Compiled once per SIMD instruction set: foreach_target.h includes this file again for each.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "effects/rotate_row_kernels.cpp"
#include <hwy/foreach_target.h>
#include <hwy/highway.h>

#include "effects/rotate_row_kernels.h"
#include <cstring>

HWY_BEFORE_NAMESPACE();
namespace orv::kernels {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

using D32 = hn::ScalableTag<uint32_t>;
using V32 = hn::Vec<D32>;

// Room for one vector of the widest instruction set.
constexpr size_t kMaxWords = HWY_MAX_BYTES / sizeof(uint32_t);

// The positions of one vector's lanes are 64-bit fixed point split into the whole part (hi)
// and the fraction (lo). The first vector's are start + k step for lane k ...
HWY_INLINE void FirstPositions(int64_t start, int64_t step, V32& hi, V32& lo)
{
    const D32 d;
    HWY_ALIGN uint32_t his[kMaxWords], los[kMaxWords];
    for (size_t k = 0; k < hn::Lanes(d); ++k) {
        const auto p = static_cast<uint64_t>(start + static_cast<int64_t>(k) * step);
        his[k] = static_cast<uint32_t>(p >> 32);
        los[k] = static_cast<uint32_t>(p);
    }
    hi = hn::Load(d, his);
    lo = hn::Load(d, los);
}

// ... and each next vector's add the same step to every lane, carrying from lo into hi.
HWY_INLINE void Advance(V32& hi, V32& lo, V32 stepHi, V32 stepLo)
{
    lo = hn::Add(lo, stepLo);
    hi = hn::Add(hn::Add(hi, stepHi), hn::IfThenElseZero(hn::Lt(lo, stepLo), hn::Set(D32(), 1u)));
}

// (a (256 - f) + b f + 128) >> 8 per channel, red with blue and green alone in 16-bit slots.
HWY_INLINE V32 Mix(V32 a, V32 b, V32 f)
{
    const D32 d;
    const V32 pairs = hn::Set(d, 0x00FF00FFu), half = hn::Set(d, 0x00800080u), g = hn::Sub(hn::Set(d, 256u), f);
    const auto slots = [&](V32 va, V32 vb) {
        return hn::And(hn::ShiftRight<8>(hn::Add(hn::Add(hn::Mul(va, g), hn::Mul(vb, f)), half)), pairs);
    };
    const V32 rb = slots(hn::And(a, pairs), hn::And(b, pairs));
    const V32 gg = slots(hn::And(hn::ShiftRight<8>(a), pairs), hn::And(hn::ShiftRight<8>(b), pairs));
    return hn::Or(rb, hn::ShiftLeft<8>(gg));
}

void RotateSampleRow(const uint32_t* picture, size_t stride, int w, int h, int64_t x, int64_t y, int64_t stepX,
                     int64_t stepY, uint32_t back, uint32_t* out, size_t n)
{
    const D32 d;
    const hn::RebindToSigned<D32> di;
    const size_t N = hn::Lanes(d);
    const auto split = [](int64_t v, bool high) {
        const auto u = static_cast<uint64_t>(v);
        return static_cast<uint32_t>(high ? u >> 32 : u);
    };
    const int64_t vectorX = stepX * static_cast<int64_t>(N), vectorY = stepY * static_cast<int64_t>(N);
    const V32 stepXHi = hn::Set(d, split(vectorX, true)), stepXLo = hn::Set(d, split(vectorX, false));
    const V32 stepYHi = hn::Set(d, split(vectorY, true)), stepYLo = hn::Set(d, split(vectorY, false));
    const V32 width = hn::Set(d, static_cast<uint32_t>(w)), height = hn::Set(d, static_cast<uint32_t>(h));
    const V32 one = hn::Set(d, 1u), rowStep = hn::Set(d, static_cast<uint32_t>(stride));
    const V32 backV = hn::Set(d, back), opaque = hn::Set(d, 0xFF000000u);
    V32 xHi, xLo, yHi, yLo;
    FirstPositions(x, stepX, xHi, xLo);
    FirstPositions(y, stepY, yHi, yLo);
    // One vector of results; a tap outside the picture reads pixel 0 and is replaced by back.
    const auto sample = [&]() {
        // Negative whole parts wrap to large unsigned values, outside like those past the end.
        const auto x0 = hn::Lt(xHi, width), x1 = hn::Lt(hn::Add(xHi, one), width);
        const auto y0 = hn::Lt(yHi, height), y1 = hn::Lt(hn::Add(yHi, one), height);
        const V32 at = hn::Add(hn::Mul(yHi, rowStep), xHi);
        const auto tap = [&](auto inside, V32 index) {
            const V32 p = hn::GatherIndex(d, picture, hn::BitCast(di, hn::IfThenElseZero(inside, index)));
            return hn::IfThenElse(inside, p, backV);
        };
        const V32 fx = hn::ShiftRight<24>(xLo), fy = hn::ShiftRight<24>(yLo);
        const V32 top = Mix(tap(hn::And(x0, y0), at), tap(hn::And(x1, y0), hn::Add(at, one)), fx);
        const V32 below = hn::Add(at, rowStep);
        const V32 bottom = Mix(tap(hn::And(x0, y1), below), tap(hn::And(x1, y1), hn::Add(below, one)), fx);
        return hn::Or(Mix(top, bottom, fy), opaque);
    };
    size_t i = 0;
    for (; i + N <= n; i += N) {
        hn::StoreU(sample(), d, out + i);
        Advance(xHi, xLo, stepXHi, stepXLo);
        Advance(yHi, yLo, stepYHi, stepYLo);
    }
    if (i == n) return;
    HWY_ALIGN uint32_t tail[kMaxWords];
    hn::Store(sample(), d, tail);
    std::memcpy(out + i, tail, (n - i) * sizeof(uint32_t));
}

} // namespace HWY_NAMESPACE
} // namespace orv::kernels
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace orv::kernels {

HWY_EXPORT(RotateSampleRow);

void RotateSampleRow(const uint32_t* picture, size_t stride, int w, int h, int64_t x, int64_t y, int64_t stepX,
                     int64_t stepY, uint32_t back, uint32_t* out, size_t n)
{
    HWY_DYNAMIC_DISPATCH(RotateSampleRow)(picture, stride, w, h, x, y, stepX, stepY, back, out, n);
}

} // namespace orv::kernels
#endif
