// Compiled once per SIMD instruction set: foreach_target.h includes this file again for each.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "documents/zoom_pyramid.cpp"
#include <hwy/foreach_target.h>
#include <hwy/highway.h>

#include "documents/zoom_pyramid.h"
#include "platform/color.h"
#include <algorithm>
#include <cmath>
#include <cstring>

HWY_BEFORE_NAMESPACE();
namespace orv::zoom {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// One row of a half-size level: each pixel the rounded average of 2 x 2 pixels of rows a and b
// (width n of the level below; an odd last column pairs with itself). The channels are summed
// two at a time in the 16-bit halves of each word: four 8-bit values never carry out of one.
void HalveRow(const uint32_t* a, const uint32_t* b, uint32_t* out, size_t n)
{
    const hn::ScalableTag<uint32_t> d;
    const size_t N = hn::Lanes(d);
    const auto m = hn::Set(d, 0x00FF00FFu);
    const auto two = hn::Set(d, 0x00020002u);
    const size_t whole = n / 2;
    size_t i = 0;
#if HWY_TARGET != HWY_SCALAR
    for (; i + N <= whole; i += N) {
        const auto a0 = hn::LoadU(d, a + 2 * i), a1 = hn::LoadU(d, a + 2 * i + N);
        const auto b0 = hn::LoadU(d, b + 2 * i), b1 = hn::LoadU(d, b + 2 * i + N);
        const auto p = hn::ConcatEven(d, a1, a0), q = hn::ConcatOdd(d, a1, a0);
        const auto r = hn::ConcatEven(d, b1, b0), s = hn::ConcatOdd(d, b1, b0);
        const auto lo = hn::Add(hn::Add(hn::And(p, m), hn::And(q, m)), hn::Add(hn::And(r, m), hn::And(s, m)));
        const auto hi = hn::Add(hn::Add(hn::And(hn::ShiftRight<8>(p), m), hn::And(hn::ShiftRight<8>(q), m)),
                                hn::Add(hn::And(hn::ShiftRight<8>(r), m), hn::And(hn::ShiftRight<8>(s), m)));
        const auto low = hn::And(hn::ShiftRight<2>(hn::Add(lo, two)), m);
        const auto high = hn::ShiftLeft<8>(hn::And(hn::ShiftRight<2>(hn::Add(hi, two)), m));
        hn::StoreU(hn::Or(low, high), d, out + i);
    }
#else
    (void)N, (void)m, (void)two, (void)whole;
#endif
    for (; i < (n + 1) / 2; ++i) {
        const size_t x0 = 2 * i, x1 = std::min(2 * i + 1, n - 1);
        const uint32_t px[4] = {a[x0], a[x1], b[x0], b[x1]};
        uint32_t lo = 0, hi = 0;
        for (uint32_t v : px) {
            lo += v & 0x00FF00FFu;
            hi += (v >> 8) & 0x00FF00FFu;
        }
        out[i] = (((lo + 0x00020002u) >> 2) & 0x00FF00FFu) | ((((hi + 0x00020002u) >> 2) & 0x00FF00FFu) << 8);
    }
}

// out[i] = row[index[i]] for one row of a zoomed-in (or 1:1) view.
void GatherRow(const uint32_t* row, const int32_t* index, uint32_t* out, size_t n)
{
    const hn::ScalableTag<uint32_t> d;
    const hn::RebindToSigned<decltype(d)> di;
    const size_t N = hn::Lanes(d);
    size_t i = 0;
    for (; i + N <= n; i += N) hn::StoreU(hn::GatherIndex(d, row, hn::LoadU(di, index + i)), d, out + i);
    for (; i < n; ++i) out[i] = row[index[i]];
}

// The weighted mix (256 - w) a + w b of two rows, rounded, channel by channel.
void MixRows(const uint32_t* a, const uint32_t* b, uint32_t w, uint32_t* out, size_t n)
{
    const hn::ScalableTag<uint32_t> d;
    const size_t N = hn::Lanes(d);
    const auto m = hn::Set(d, 0x00FF00FFu);
    const auto half = hn::Set(d, 0x00800080u);
    const auto wb = hn::Set(d, w), wa = hn::Set(d, 256 - w);
    const auto mix = [&](auto p, auto q) {
        const auto lo = hn::Add(hn::Add(hn::Mul(hn::And(p, m), wa), hn::Mul(hn::And(q, m), wb)), half);
        const auto hi = hn::Add(hn::Add(hn::Mul(hn::And(hn::ShiftRight<8>(p), m), wa),
                                        hn::Mul(hn::And(hn::ShiftRight<8>(q), m), wb)), half);
        return hn::Or(hn::And(hn::ShiftRight<8>(lo), m), hn::AndNot(m, hi));
    };
    size_t i = 0;
    for (; i + N <= n; i += N) hn::StoreU(mix(hn::LoadU(d, a + i), hn::LoadU(d, b + i)), d, out + i);
    if (i < n) {
        HWY_ALIGN uint32_t ta[HWY_MAX_BYTES / 4] = {}, tb[HWY_MAX_BYTES / 4] = {};
        std::memcpy(ta, a + i, (n - i) * 4);
        std::memcpy(tb, b + i, (n - i) * 4);
        hn::Store(mix(hn::Load(d, ta), hn::Load(d, tb)), d, ta);
        std::memcpy(out + i, ta, (n - i) * 4);
    }
}

} // namespace HWY_NAMESPACE
} // namespace orv::zoom
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace orv::zoom {

HWY_EXPORT(HalveRow);
HWY_EXPORT(GatherRow);
HWY_EXPORT(MixRows);

void Halve(const uint32_t* a, const uint32_t* b, uint32_t* out, size_t n) { HWY_DYNAMIC_DISPATCH(HalveRow)(a, b, out, n); }
void Gather(const uint32_t* row, const int32_t* index, uint32_t* out, size_t n)
{
    HWY_DYNAMIC_DISPATCH(GatherRow)(row, index, out, n);
}
void Mix(const uint32_t* a, const uint32_t* b, uint32_t w, uint32_t* out, size_t n)
{
    HWY_DYNAMIC_DISPATCH(MixRows)(a, b, w, out, n);
}

} // namespace orv::zoom

namespace orv {

namespace {

const uint32_t* Row(const QImage& img, int y) { return reinterpret_cast<const uint32_t*>(img.constScanLine(y)); }
uint32_t* Row(QImage& img, int y) { return reinterpret_cast<uint32_t*>(img.scanLine(y)); }

// The source pixel of screen coordinate v at `scale` screen pixels per source pixel: the one
// whose square holds the screen pixel's left (top) edge, as the pointer's mapping does.
int NearestSource(int v, double scale, int extent)
{
    return std::clamp(int(std::floor(v / scale + 1e-9)), 0, extent - 1);
}

void RenderNearest(const QImage& src, double scale, int x0, int y0, QImage& out)
{
    std::vector<int32_t> columns(size_t(out.width()));
    for (int i = 0; i < out.width(); ++i) columns[size_t(i)] = NearestSource(x0 + i, scale, src.width());
    int lastSource = -1;
    for (int j = 0; j < out.height(); ++j) {
        const int sy = NearestSource(y0 + j, scale, src.height());
        if (sy == lastSource) {   // the same picture row again: a copy of the row above
            std::memcpy(Row(out, j), Row(out, j - 1), size_t(out.width()) * 4);
            continue;
        }
        zoom::Gather(Row(src, sy), columns.data(), Row(out, j), size_t(out.width()));
        lastSource = sy;
    }
}

// Both neighbours and the weight (of 256) of the second for screen coordinate v at a scale
// between 1/2 and 1: the sample at the centre of the screen pixel's footprint.
struct Tap {
    int first, second;
    uint32_t weight;
};

// (256 - w) a + w b, rounded, channel by channel (two channels per 16-bit half at a time).
uint32_t Mix(uint32_t a, uint32_t b, uint32_t w)
{
    constexpr uint32_t m = 0x00FF00FFu;
    const uint32_t lo = (a & m) * (256 - w) + (b & m) * w + 0x00800080u;
    const uint32_t hi = ((a >> 8) & m) * (256 - w) + ((b >> 8) & m) * w + 0x00800080u;
    return ((lo >> 8) & m) | (hi & ~m);
}

Tap SampleAt(int v, double scale, int extent)
{
    const double u = (v + 0.5) / scale - 0.5;
    const double f = std::floor(u);
    const int i = int(f);
    return {std::clamp(i, 0, extent - 1), std::clamp(i + 1, 0, extent - 1), uint32_t(std::lround((u - f) * 256))};
}

void RenderBetween(const QImage& src, double scale, int x0, int y0, QImage& out)
{
    std::vector<Tap> columns(size_t(out.width()));
    for (int i = 0; i < out.width(); ++i) columns[size_t(i)] = SampleAt(x0 + i, scale, src.width());
    const int from = columns.front().first, to = columns.back().second + 1;
    std::vector<uint32_t> mixed(size_t(to - from));
    for (int j = 0; j < out.height(); ++j) {
        const Tap t = SampleAt(y0 + j, scale, src.height());
        zoom::Mix(Row(src, t.first) + from, Row(src, t.second) + from, t.weight, mixed.data(),
                                      mixed.size());
        uint32_t* o = Row(out, j);
        for (int i = 0; i < out.width(); ++i) {
            const Tap& c = columns[size_t(i)];
            o[i] = Mix(mixed[size_t(c.first - from)], mixed[size_t(c.second - from)], c.weight);
        }
    }
}

} // namespace

void ZoomPyramid::invalidate(const QRect& picture)
{
    for (Level& l : levels_) l.dirty |= picture;
}

const QImage& ZoomPyramid::level(const QImage& picture, int level)
{
    const int reached = build(picture, level);
    return reached ? levels_[size_t(reached - 1)].image : picture;
}

int ZoomPyramid::build(const QImage& picture, int level)
{
    if (level == 0) return 0;
    // A buffer replaced by one of another size (without a resize notice) starts afresh.
    if (!levels_.empty() && levels_.front().image.size() != QSize((picture.width() + 1) / 2, (picture.height() + 1) / 2))
        levels_.clear();
    while (int(levels_.size()) < level) {
        const QImage& below = levels_.empty() ? picture : levels_.back().image;
        Level next;
        next.image = QImage((below.width() + 1) / 2, (below.height() + 1) / 2, kPixelFormat);
        if (next.image.isNull()) break;   // out of memory: the levels made so far serve
        next.dirty = picture.rect();
        levels_.push_back(next);
    }
    level = std::min(level, int(levels_.size()));
    for (int k = 1; k <= level; ++k) {
        Level& l = levels_[size_t(k - 1)];
        const QRect dirty = l.dirty & picture.rect();
        l.dirty = QRect();
        if (dirty.isEmpty()) continue;
        const QImage& below = k == 1 ? picture : levels_[size_t(k - 2)].image;
        // The level's pixels that hold a changed picture pixel, from the whole rows and
        // columns of the level below.
        const int left = dirty.left() >> k, right = dirty.right() >> k;
        const int top = dirty.top() >> k, bottom = dirty.bottom() >> k;
        for (int y = top; y <= bottom; ++y) {
            const int y1 = std::min(2 * y + 1, below.height() - 1);
            const int x1 = std::min(2 * right + 1, below.width() - 1);
            zoom::Halve(Row(below, 2 * y) + 2 * left, Row(below, y1) + 2 * left,
                                           Row(l.image, y) + left, size_t(x1 - 2 * left + 1));
        }
    }
    return level;
}

void ZoomPyramid::render(const QImage& picture, double scale, int x0, int y0, QImage& out)
{
    if (out.isNull() || picture.isNull()) return;
    if (scale >= 1.0) {
        RenderNearest(picture, scale, x0, y0, out);
        return;
    }
    // The level at which the scale lies in (1/2, 1]: every halving is an exact 2 x 2 average.
    int k = 0;
    while (scale <= 0.5 + 1e-12) {
        scale *= 2;
        ++k;
    }
    // Where memory gave out for the smaller levels, a larger one is sampled more sparsely.
    const int reached = build(picture, k);
    scale /= double(1 << (k - reached));
    const QImage& src = reached ? levels_[size_t(reached - 1)].image : picture;
    if (std::abs(scale - 1.0) < 1e-9)
        RenderNearest(src, 1.0, x0, y0, out);
    else
        RenderBetween(src, scale, x0, y0, out);
}

} // namespace orv
#endif
