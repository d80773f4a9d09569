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
#include <system_error>
#include <thread>

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

// The weighted mix (256 - wb) p + wb q of pixel words, rounded, channel by channel (two
// channels per 16-bit half at a time).
template <class D, class V>
V MixWords(D d, V p, V q, V wb)
{
    const auto m = hn::Set(d, 0x00FF00FFu);
    const auto half = hn::Set(d, 0x00800080u);
    const auto wa = hn::Sub(hn::Set(d, 256u), wb);
    const auto lo = hn::Add(hn::Add(hn::Mul(hn::And(p, m), wa), hn::Mul(hn::And(q, m), wb)), half);
    const auto hi = hn::Add(hn::Add(hn::Mul(hn::And(hn::ShiftRight<8>(p), m), wa),
                                    hn::Mul(hn::And(hn::ShiftRight<8>(q), m), wb)), half);
    return hn::Or(hn::And(hn::ShiftRight<8>(lo), m), hn::AndNot(m, hi));
}

// The weighted mix (256 - w) a + w b of two rows.
void MixRows(const uint32_t* a, const uint32_t* b, uint32_t w, uint32_t* out, size_t n)
{
    const hn::ScalableTag<uint32_t> d;
    const size_t N = hn::Lanes(d);
    const auto wb = hn::Set(d, w);
    size_t i = 0;
    for (; i + N <= n; i += N) hn::StoreU(MixWords(d, hn::LoadU(d, a + i), hn::LoadU(d, b + i), wb), d, out + i);
    if (i < n) {
        HWY_ALIGN uint32_t ta[HWY_MAX_BYTES / 4] = {}, tb[HWY_MAX_BYTES / 4] = {};
        std::memcpy(ta, a + i, (n - i) * 4);
        std::memcpy(tb, b + i, (n - i) * 4);
        hn::Store(MixWords(d, hn::Load(d, ta), hn::Load(d, tb), wb), d, ta);
        std::memcpy(out + i, ta, (n - i) * 4);
    }
}

// out[i] = the mix of row[first[i]] and row[second[i]] with weight[i] (of 256) of the second:
// one row of a view between two halvings, across.
void MixColumns(const uint32_t* row, const int32_t* first, const int32_t* second, const uint32_t* weight,
                uint32_t* out, size_t n)
{
    const hn::ScalableTag<uint32_t> d;
    const hn::RebindToSigned<decltype(d)> di;
    const size_t N = hn::Lanes(d);
    size_t i = 0;
    for (; i + N <= n; i += N) {
        const auto p = hn::GatherIndex(d, row, hn::LoadU(di, first + i));
        const auto q = hn::GatherIndex(d, row, hn::LoadU(di, second + i));
        hn::StoreU(MixWords(d, p, q, hn::LoadU(d, weight + i)), d, out + i);
    }
    for (; i < n; ++i) {
        HWY_ALIGN uint32_t t[HWY_MAX_BYTES / 4] = {row[first[i]]}, u[HWY_MAX_BYTES / 4] = {row[second[i]]},
                           w[HWY_MAX_BYTES / 4] = {weight[i]};
        hn::Store(MixWords(d, hn::Load(d, t), hn::Load(d, u), hn::Load(d, w)), d, t);
        out[i] = t[0];
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
HWY_EXPORT(MixColumns);

void Halve(const uint32_t* a, const uint32_t* b, uint32_t* out, size_t n) { HWY_DYNAMIC_DISPATCH(HalveRow)(a, b, out, n); }
void Gather(const uint32_t* row, const int32_t* index, uint32_t* out, size_t n)
{
    HWY_DYNAMIC_DISPATCH(GatherRow)(row, index, out, n);
}
void Mix(const uint32_t* a, const uint32_t* b, uint32_t w, uint32_t* out, size_t n)
{
    HWY_DYNAMIC_DISPATCH(MixRows)(a, b, w, out, n);
}
void MixAcross(const uint32_t* row, const int32_t* first, const int32_t* second, const uint32_t* weight,
               uint32_t* out, size_t n)
{
    HWY_DYNAMIC_DISPATCH(MixColumns)(row, first, second, weight, out, n);
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

Tap SampleAt(int v, double scale, int extent)
{
    const double u = (v + 0.5) / scale - 0.5;
    const double f = std::floor(u);
    const int i = int(f);
    return {std::clamp(i, 0, extent - 1), std::clamp(i + 1, 0, extent - 1), uint32_t(std::lround((u - f) * 256))};
}

void RenderBetween(const QImage& src, double scale, int x0, int y0, QImage& out)
{
    const size_t n = size_t(out.width());
    std::vector<int32_t> first(n), second(n);
    std::vector<uint32_t> weight(n);
    for (size_t i = 0; i < n; ++i) {
        const Tap t = SampleAt(x0 + int(i), scale, src.width());
        first[i] = t.first, second[i] = t.second, weight[i] = t.weight;
    }
    // The columns are read from a row mixed down from the picture's two rows, [from, to).
    const int from = first.front(), to = second.back() + 1;
    for (size_t i = 0; i < n; ++i) first[i] -= from, second[i] -= from;
    uchar* const bits = out.bits();   // detaches once, before a second thread starts
    const qsizetype stride = out.bytesPerLine();
    const auto rows = [&](int j0, int j1) {
        std::vector<uint32_t> mixed(size_t(to - from));
        for (int j = j0; j < j1; ++j) {
            const Tap t = SampleAt(y0 + j, scale, src.height());
            zoom::Mix(Row(src, t.first) + from, Row(src, t.second) + from, t.weight, mixed.data(), mixed.size());
            zoom::MixAcross(mixed.data(), first.data(), second.data(), weight.data(),
                            reinterpret_cast<uint32_t*>(bits + j * stride), n);
        }
    };
    // A large view is shared with a second thread, which takes its lower half.
    const int h = out.height(), split = n * size_t(h) >= (1u << 18) ? h / 2 : h;
    std::thread lower;
    if (split < h) {
        try {
            lower = std::thread(rows, split, h);
        } catch (const std::system_error&) {
            rows(split, h);   // no thread to be had: this one does all of it
        }
    }
    rows(0, split);
    if (lower.joinable()) lower.join();
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
