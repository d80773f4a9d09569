// Compiled once per SIMD instruction set: foreach_target.h includes this file again for each.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "effects/tornado_kernels.cpp"
#include <hwy/foreach_target.h>
#include <hwy/highway.h>

#include "effects/tornado_kernels.h"

HWY_BEFORE_NAMESPACE();
namespace orv::kernels {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// The turn is reduced in fixed point, 2^20 steps a whole turn, to a quarter turn q and an
// angle a within an eighth of a turn either side of it.
constexpr int kTurnBits = 20;

// sin a and cos a for |a| <= pi / 4 from their Taylor series (errors below 4e-7).
template <class DF, class V>
HWY_INLINE void SinCos(DF df, V a, V* sine, V* cosine)
{
    const V a2 = hn::Mul(a, a);
    V s = hn::Set(df, -1.0f / 5040);
    s = hn::Add(hn::Mul(s, a2), hn::Set(df, 1.0f / 120));
    s = hn::Add(hn::Mul(s, a2), hn::Set(df, -1.0f / 6));
    *sine = hn::Add(a, hn::Mul(hn::Mul(a, a2), s));
    V c = hn::Set(df, 1.0f / 40320);
    c = hn::Add(hn::Mul(c, a2), hn::Set(df, -1.0f / 720));
    c = hn::Add(hn::Mul(c, a2), hn::Set(df, 1.0f / 24));
    c = hn::Add(hn::Mul(c, a2), hn::Set(df, -0.5f));
    *cosine = hn::Add(hn::Set(df, 1.0f), hn::Mul(a2, c));
}

// Where a source coordinate falls: the lower pixel and the weight of the upper one in 256ths.
template <class DF, class V>
HWY_INLINE void Split(DF df, V at, int n, hn::Vec<hn::RebindToSigned<DF>>* low, hn::Vec<hn::RebindToSigned<DF>>* weight)
{
    const hn::RebindToSigned<DF> di;
    at = hn::Min(hn::Max(at, hn::Zero(df)), hn::Set(df, static_cast<float>(n - 1)));
    *low = hn::ConvertTo(di, at);
    const V fraction = hn::Sub(at, hn::ConvertTo(df, *low));
    *weight = hn::ConvertTo(di, hn::Add(hn::Mul(fraction, hn::Set(df, 256.0f)), hn::Set(df, 0.5f)));
}

// Pixels x .. x + Lanes(df) - 1 of a row dy from the centre.
template <class DF>
HWY_INLINE void SwirlPixels(DF df, const uint32_t* src, size_t stride, int w, int h, float dy, int x,
                            const Swirl& swirl, uint32_t* out)
{
    using V = hn::Vec<DF>;
    const hn::RebindToSigned<DF> di;
    const hn::RebindToUnsigned<DF> du;
    const V dx = hn::Sub(hn::ConvertTo(df, hn::Iota(di, x)), hn::Set(df, swirl.cx));
    const V dyv = hn::Set(df, dy);
    const V d = hn::Sqrt(hn::Add(hn::Mul(dx, dx), hn::Mul(dyv, dyv)));
    const V f = hn::Sub(hn::Set(df, 1.0f), hn::Mul(d, hn::Set(df, swirl.inverseRadius)));
    const V turns = hn::Mul(hn::Mul(hn::Set(df, swirl.turns), f), f);

    const auto steps = hn::ConvertTo(di, hn::Mul(turns, hn::Set(df, float(1 << kTurnBits))));
    const auto centred = hn::And(hn::Add(steps, hn::Set(di, 1 << (kTurnBits - 3))), hn::Set(di, (1 << kTurnBits) - 1));
    const auto quarter = hn::ShiftRight<kTurnBits - 2>(centred);
    const auto rest = hn::Sub(hn::And(centred, hn::Set(di, (1 << (kTurnBits - 2)) - 1)), hn::Set(di, 1 << (kTurnBits - 3)));
    const V a = hn::Mul(hn::ConvertTo(df, rest), hn::Set(df, 6.28318530717958647692f / float(1 << kTurnBits)));
    V sa, ca;
    SinCos(df, a, &sa, &ca);
    // Turned on by q quarters: (cos, sin) becomes (-sin, cos), (-cos, -sin) or (sin, -cos).
    const auto one = hn::Set(di, 1), two = hn::Set(di, 2);
    const auto odd = hn::RebindMask(df, hn::Eq(hn::And(quarter, one), one));
    const auto negCos = hn::RebindMask(df, hn::Eq(hn::And(hn::Add(quarter, one), two), two));
    const auto negSin = hn::RebindMask(df, hn::Eq(hn::And(quarter, two), two));
    V c = hn::IfThenElse(odd, sa, ca), s = hn::IfThenElse(odd, ca, sa);
    c = hn::IfThenElse(negCos, hn::Neg(c), c);
    s = hn::IfThenElse(negSin, hn::Neg(s), s);

    const V sx = hn::Add(hn::Set(df, swirl.cx), hn::Sub(hn::Mul(dx, c), hn::Mul(dyv, s)));
    const V sy = hn::Add(hn::Set(df, swirl.cy), hn::Add(hn::Mul(dx, s), hn::Mul(dyv, c)));
    hn::Vec<decltype(di)> x0, wx, y0, wy;
    Split(df, sx, w, &x0, &wx);
    Split(df, sy, h, &y0, &wy);

    const auto zero = hn::Zero(di);
    const auto right = hn::IfThenElse(hn::Lt(x0, hn::Set(di, w - 1)), one, zero);
    const auto down = hn::IfThenElse(hn::Lt(y0, hn::Set(di, h - 1)), hn::Set(di, static_cast<int32_t>(stride)), zero);
    const auto at = hn::Add(hn::Mul(y0, hn::Set(di, static_cast<int32_t>(stride))), x0);
    const auto p00 = hn::GatherIndex(du, src, at), p10 = hn::GatherIndex(du, src, hn::Add(at, right));
    const auto p01 = hn::GatherIndex(du, src, hn::Add(at, down));
    const auto p11 = hn::GatherIndex(du, src, hn::Add(hn::Add(at, down), right));

    // Across first, red and blue sharing a word (each at most 255 x 256), then down.
    const auto rb = hn::Set(du, 0x00FF00FFu), low = hn::Set(du, 0xFFu), lowHalf = hn::Set(du, 0xFFFFu);
    const auto wxu = hn::BitCast(du, wx), wyu = hn::BitCast(du, wy);
    const auto ixu = hn::Sub(hn::Set(du, 256u), wxu), iyu = hn::Sub(hn::Set(du, 256u), wyu);
    const auto across = [&](auto left, auto rightPixel, auto mask, auto shift) {
        return hn::Add(hn::Mul(ixu, hn::And(shift(left), mask)), hn::Mul(wxu, hn::And(shift(rightPixel), mask)));
    };
    const auto same = [](auto v) { return v; };
    const auto green = [](auto v) { return hn::ShiftRight<8>(v); };
    const auto topRB = across(p00, p10, rb, same), bottomRB = across(p01, p11, rb, same);
    const auto topG = across(p00, p10, low, green), bottomG = across(p01, p11, low, green);
    const auto half = hn::Set(du, 32768u);
    const auto downward = [&](auto top, auto bottom) {
        return hn::ShiftRight<16>(hn::Add(hn::Add(hn::Mul(iyu, top), hn::Mul(wyu, bottom)), half));
    };
    const auto r = downward(hn::And(topRB, lowHalf), hn::And(bottomRB, lowHalf));
    const auto b = downward(hn::ShiftRight<16>(topRB), hn::ShiftRight<16>(bottomRB));
    const auto g = downward(topG, bottomG);
    const auto pixel = hn::Or(hn::Or(r, hn::ShiftLeft<8>(g)), hn::Or(hn::ShiftLeft<16>(b), hn::Set(du, 0xFF000000u)));
    hn::StoreU(pixel, du, out + x);
}

void SwirlRow(const uint32_t* src, size_t stride, int w, int h, int y, int first, int last, const Swirl& swirl,
              uint32_t* out)
{
    const hn::ScalableTag<float> df;
    const int n = static_cast<int>(hn::Lanes(df));
    const float dy = static_cast<float>(y) - swirl.cy;
    int x = first;
    for (; x + n <= last; x += n) SwirlPixels(df, src, stride, w, h, dy, x, swirl, out);
    const hn::CappedTag<float, 1> one;   // the rest, one pixel at a time by the same code
    for (; x < last; ++x) SwirlPixels(one, src, stride, w, h, dy, x, swirl, out);
}

} // namespace HWY_NAMESPACE
} // namespace orv::kernels
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace orv::kernels {

HWY_EXPORT(SwirlRow);

void SwirlRow(const uint32_t* src, size_t stride, int w, int h, int y, int first, int last, const Swirl& swirl,
              uint32_t* out)
{
    HWY_DYNAMIC_DISPATCH(SwirlRow)(src, stride, w, h, y, first, last, swirl, out);
}

} // namespace orv::kernels
#endif
