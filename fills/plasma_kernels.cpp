// Compiled once per SIMD instruction set: foreach_target.h includes this file again for each.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "fills/plasma_kernels.cpp"
#include <hwy/foreach_target.h>
#include <hwy/highway.h>

#include "fills/plasma_kernels.h"

HWY_BEFORE_NAMESPACE();
namespace orv::kernels {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// A 32-bit mix of xor-shifts and multiplications by odd constants: every input bit reaches
// every output bit.
template <class V>
HWY_INLINE V Mix(V z)
{
    const hn::DFromV<V> d;
    z = hn::Mul(hn::Xor(z, hn::ShiftRight<16>(z)), hn::Set(d, 0x7FEB352Du));
    z = hn::Mul(hn::Xor(z, hn::ShiftRight<15>(z)), hn::Set(d, 0x846CA68Bu));
    return hn::Xor(z, hn::ShiftRight<16>(z));
}

// Points k .. k + Lanes(du) - 1 of the row.
template <class DU>
HWY_INLINE void PlasmaPoints(DU du, uint32_t* grid, size_t stride, int w, int h, int y, int first, int step,
                             const PlasmaStep& s, uint32_t key, int k)
{
    using VI = hn::Vec<hn::RebindToSigned<DU>>;
    const hn::RebindToSigned<DU> di;
    const VI x = hn::Add(hn::Mul(hn::Iota(di, k), hn::Set(di, step)), hn::Set(di, first));
    const auto at = [&](int row, VI column) { return hn::Add(hn::Set(di, row * static_cast<int32_t>(stride)), column); };
    auto meanR = hn::Zero(du), meanG = hn::Zero(du), meanB = hn::Zero(du);
    if (s.neighbours != PlasmaNeighbours::None) {
        const int r = s.reach;
        const VI near = hn::Sub(x, hn::Set(di, r)), far = hn::Add(x, hn::Set(di, r));
        const VI right = hn::IfThenElse(hn::Lt(far, hn::Set(di, w)), far, near);
        const int below = y + r < h ? y + r : y - r;
        VI index[4];
        if (s.neighbours == PlasmaNeighbours::Diagonal) {   // x - r and y - r always lie inside
            index[0] = at(y - r, near), index[1] = at(y - r, right), index[2] = at(below, near), index[3] = at(below, right);
        } else {
            const VI left = hn::IfThenElse(hn::Lt(near, hn::Zero(di)), far, near);
            index[0] = at(y >= r ? y - r : y + r, x), index[1] = at(below, x), index[2] = at(y, left), index[3] = at(y, right);
        }
        // Red and blue share a word: each sum is at most 4 x 255.
        auto rb = hn::Zero(du), g = hn::Zero(du);
        for (const VI& i : index) {
            const auto p = hn::GatherIndex(du, grid, i);
            rb = hn::Add(rb, hn::And(p, hn::Set(du, 0x00FF00FFu)));
            g = hn::Add(g, hn::And(hn::ShiftRight<8>(p), hn::Set(du, 0xFFu)));
        }
        const auto two = hn::Set(du, 2u);
        meanR = hn::ShiftRight<2>(hn::Add(hn::And(rb, hn::Set(du, 0xFFFFu)), two));
        meanG = hn::ShiftRight<2>(hn::Add(g, two));
        meanB = hn::ShiftRight<2>(hn::Add(hn::ShiftRight<16>(rb), two));
    }
    const auto point = hn::Or(hn::Set(du, static_cast<uint32_t>(y) << 17), hn::ShiftLeft<2>(hn::BitCast(du, x)));
    const auto channel = [&](auto mean, uint32_t c) {
        const auto random = Mix(hn::Xor(Mix(hn::Or(point, hn::Set(du, c))), hn::Set(du, key)));
        const auto displaced = hn::Add(mean, hn::ShiftRight<16>(hn::Mul(hn::ShiftRight<16>(random), hn::Set(du, uint32_t(s.spread)))));
        const VI v = hn::Sub(hn::BitCast(di, displaced), hn::Set(di, s.offset));
        return hn::BitCast(du, hn::Min(hn::Max(v, hn::Zero(di)), hn::Set(di, 255)));
    };
    const auto pixel = hn::Or(hn::Or(channel(meanR, 0), hn::ShiftLeft<8>(channel(meanG, 1))),
                              hn::Or(hn::ShiftLeft<16>(channel(meanB, 2)), hn::Set(du, 0xFF000000u)));
    hn::ScatterIndex(pixel, du, grid, at(y, x));
}

void PlasmaRow(uint32_t* grid, size_t stride, int w, int h, int y, int first, int step, const PlasmaStep& s,
               uint32_t key)
{
    if (first >= w) return;
    const int count = (w - 1 - first) / step + 1;
    const hn::ScalableTag<uint32_t> du;
    const int n = static_cast<int>(hn::Lanes(du));
    int k = 0;
    for (; k + n <= count; k += n) PlasmaPoints(du, grid, stride, w, h, y, first, step, s, key, k);
    const hn::CappedTag<uint32_t, 1> one;   // the rest, one point at a time by the same code
    for (; k < count; ++k) PlasmaPoints(one, grid, stride, w, h, y, first, step, s, key, k);
}

} // namespace HWY_NAMESPACE
} // namespace orv::kernels
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace orv::kernels {

HWY_EXPORT(PlasmaRow);

void PlasmaRow(uint32_t* grid, size_t stride, int w, int h, int y, int first, int step, const PlasmaStep& s,
               uint32_t key)
{
    HWY_DYNAMIC_DISPATCH(PlasmaRow)(grid, stride, w, h, y, first, step, s, key);
}

} // namespace orv::kernels
#endif
