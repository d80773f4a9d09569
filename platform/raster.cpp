#include "platform/raster.h"
#include "platform/pattern_select_row.h"
#include <algorithm>
#include <cstring>
#include <cwchar>
#include <type_traits>
#include <vector>

namespace orv {

bool ClipAxis(int64_t d, int64_t s, int64_t n, int64_t dLimit, int64_t sLimit,
              int& outD, int& outS, int& outN)
{
    const int64_t shift = std::max<int64_t>({0, -d, -s});
    d += shift;
    s += shift;
    n = std::min({n - shift, dLimit - d, sLimit - s});
    if (n <= 0) return false;
    outD = static_cast<int>(d);
    outS = static_cast<int>(s);
    outN = static_cast<int>(n);
    return true;
}

namespace {

// Raw 32-bit rows of one pixel buffer.
template <class Word>
struct Rows {
    std::conditional_t<std::is_const_v<Word>, const uchar*, uchar*> bits = nullptr;
    qsizetype stride = 0;
    Word* operator[](int y) const { return reinterpret_cast<Word*>(bits + y * stride); }
};

// Makes img a pixel-format buffer (converting another format in place) and returns its
// writable rows; null bits for a null image. Taking the rows detaches a shared image.
Rows<uint32_t> WritableRows(QImage& img)
{
    if (img.isNull()) return {};
    if (img.format() != kPixelFormat) img.convertTo(kPixelFormat);
    return {img.bits(), img.bytesPerLine()};
}

// The rows of src in the pixel format: src itself, or a converted copy kept in `converted`.
// Call after WritableRows(dst), so that comparing bits tells whether src and dst are the
// same buffer.
Rows<const uint32_t> ReadableRows(const QImage& src, QImage& converted)
{
    if (src.isNull()) return {};
    const QImage* s = &src;
    if (src.format() != kPixelFormat) {
        converted = src.convertToFormat(kPixelFormat);
        s = &converted;
    }
    return {s->constBits(), s->bytesPerLine()};
}

struct Block {
    int dx = 0, dy = 0, sx = 0, sy = 0, w = 0, h = 0;
};

bool ClipBlock(const QImage& dst, int x, int y, int w, int h,
               const QImage& src, int sx, int sy, Block& b)
{
    return ClipAxis(x, sx, w, dst.width(), src.width(), b.dx, b.sx, b.w)
           && ClipAxis(y, sy, h, dst.height(), src.height(), b.dy, b.sy, b.h);
}

bool Overlap(const Block& b)
{
    return b.dx < b.sx + b.w && b.sx < b.dx + b.w && b.dy < b.sy + b.h && b.sy < b.dy + b.h;
}

// d[i] = f(i, d[i]) for i < n, in groups of eight: a loop shape the compiler turns into vector
// code at the build's optimisation level. No other pointer that f reads may overlap d's n pixels.
template <class F>
inline void EachPixel(uint32_t* __restrict d, int n, F f)
{
    int i = 0;
    for (; i + 8 <= n; i += 8)
        for (int k = 0; k < 8; ++k) d[i + k] = f(i + k, d[i + k]);
    for (; i < n; ++i) d[i] = f(i, d[i]);
}

// d = rop(s, d) over n pixels: the colour bits are combined, the top byte stays opaque.
// Only SrcCopy (a memmove, which keeps the opaque top byte of a valid buffer) may overlap.
void CombineRow(uint32_t* d, const uint32_t* s, int n, Rop rop)
{
    switch (rop) {
    case Rop::SrcCopy:
        std::memmove(d, s, static_cast<size_t>(n) * sizeof(uint32_t));
        break;
    case Rop::SrcAnd:
        EachPixel(d, n, [s](int i, uint32_t v) { return (s[i] & v) | kPixelOpaque; });
        break;
    case Rop::SrcInvert:
        EachPixel(d, n, [s](int i, uint32_t v) { return (s[i] ^ v) | kPixelOpaque; });
        break;
    case Rop::NotSrcCopy:
        EachPixel(d, n, [s](int i, uint32_t) { return ~s[i] | kPixelOpaque; });
        break;
    case Rop::DstInvert:
        EachPixel(d, n, [](int, uint32_t v) { return ~v | kPixelOpaque; });
        break;
    }
}

// DSTINVERT reads no source, so only the destination clips it. The block is given by two
// corners as 64-bit values so that x + w cannot overflow.
void InvertBlock(QImage& dst, int64_t x0, int64_t y0, int64_t x1, int64_t y1)
{
    const Rows<uint32_t> d = WritableRows(dst);
    if (!d.bits) return;
    x0 = std::max<int64_t>(x0, 0);
    y0 = std::max<int64_t>(y0, 0);
    x1 = std::min<int64_t>(x1, dst.width());
    y1 = std::min<int64_t>(y1, dst.height());
    if (x0 >= x1) return;
    for (int64_t y = y0; y < y1; ++y) {
        uint32_t* row = d[static_cast<int>(y)] + x0;
        CombineRow(row, nullptr, static_cast<int>(x1 - x0), Rop::DstInvert);
    }
}

// The source coordinates of one axis of a stretched copy, for the destination coordinates
// [first, first + map.size()) that are inside the destination image; -1 where the source
// coordinate falls outside the source image. Destination offset i (counted from the block's
// start, leftwards or upwards when mirrored) takes source offset floor((i + 0.5) * |sn| / |n|).
struct AxisMap {
    int first = 0;
    std::vector<int> src;
    bool unitStep = false;   // |sn| == |n|: consecutive destinations take consecutive sources
};

AxisMap MapAxis(int d, int n, int s, int sn, int dLimit, int sLimit)
{
    AxisMap m;
    if (n == 0 || sn == 0) return m;
    const int64_t an = n > 0 ? int64_t{n} : -int64_t{n};
    const int64_t asn = sn > 0 ? int64_t{sn} : -int64_t{sn};
    const int64_t lo = std::max<int64_t>(n > 0 ? d : int64_t{d} + n, 0);
    const int64_t hi = std::min<int64_t>(n > 0 ? int64_t{d} + n : d, dLimit);
    if (lo >= hi) return m;
    m.first = static_cast<int>(lo);
    m.unitStep = an == asn;
    m.src.resize(static_cast<size_t>(hi - lo));
    for (int64_t X = lo; X < hi; ++X) {
        const int64_t i = n > 0 ? X - d : int64_t{d} - 1 - X;
        const int64_t j = m.unitStep ? i : (2 * i + 1) * asn / (2 * an);
        const int64_t sc = sn > 0 ? s + j : int64_t{s} - 1 - j;
        m.src[static_cast<size_t>(X - lo)] = sc >= 0 && sc < sLimit ? static_cast<int>(sc) : -1;
    }
    // The map is monotonic, so the usable destinations form one run: drop the ends.
    const auto firstIn = std::find_if(m.src.begin(), m.src.end(), [](int v) { return v >= 0; });
    const auto lastIn = std::find_if(m.src.rbegin(), m.src.rend(), [](int v) { return v >= 0; }).base();
    if (firstIn >= lastIn) return {};
    m.first += static_cast<int>(firstIn - m.src.begin());
    m.src = std::vector<int>(firstIn, lastIn);
    return m;
}

// Reads the source pixels of one destination row through the column map into out.
void GatherRow(uint32_t* out, const uint32_t* srow, const AxisMap& cols)
{
    const int n = static_cast<int>(cols.src.size());
    const int* map = cols.src.data();
    const uint32_t* s = srow + map[0];
    if (cols.unitStep && n > 1 && map[1] < map[0])
        EachPixel(out, n, [s](int i, uint32_t) { return s[-i] | kPixelOpaque; });
    else if (cols.unitStep)
        EachPixel(out, n, [s](int i, uint32_t) { return s[i] | kPixelOpaque; });
    else
        EachPixel(out, n, [srow, map](int i, uint32_t) { return srow[map[i]] | kPixelOpaque; });
}

// When source and destination are one picture and the blocks overlap, the source block is
// read from a copy (kept in `block`), so no source pixel is overwritten before it is read.
void ReadOverlapFromCopy(const QImage& src, const Rows<uint32_t>& d, Rows<const uint32_t>& s, Block& b,
                         QImage& block)
{
    if (s.bits != d.bits || !Overlap(b)) return;
    block = src.copy(b.sx, b.sy, b.w, b.h);
    s = {block.constBits(), block.bytesPerLine()};
    b.sx = b.sy = 0;
}

} // namespace

void BitBlt(QImage& dst, int x, int y, int w, int h, const QImage& src, int sx, int sy, Rop rop)
{
    if (rop == Rop::DstInvert) {
        InvertBlock(dst, x, y, int64_t{x} + w, int64_t{y} + h);
        return;
    }
    const Rows<uint32_t> d = WritableRows(dst);
    QImage converted;
    Rows<const uint32_t> s = ReadableRows(src, converted);
    Block b;
    if (!d.bits || !s.bits || !ClipBlock(dst, x, y, w, h, src, sx, sy, b)) return;

    // SRCCOPY moves rows with memmove; the other operations combine element by element.
    QImage block;
    if (rop != Rop::SrcCopy) ReadOverlapFromCopy(src, d, s, b, block);
    // memmove takes care of overlap inside a row; rows go bottom-up when the block moves down.
    const bool upwards = s.bits == d.bits && b.dy > b.sy;
    for (int k = 0; k < b.h; ++k) {
        const int r = upwards ? b.h - 1 - k : k;
        CombineRow(d[b.dy + r] + b.dx, s[b.sy + r] + b.sx, b.w, rop);
    }
}

void StretchBlt(QImage& dst, int x, int y, int w, int h,
                const QImage& src, int sx, int sy, int sw, int sh, Rop rop)
{
    if (w == 0 || h == 0 || sw == 0 || sh == 0) return;
    if (rop == Rop::DstInvert) {
        InvertBlock(dst, w > 0 ? x : int64_t{x} + w, h > 0 ? y : int64_t{y} + h,
                    w > 0 ? int64_t{x} + w : x, h > 0 ? int64_t{y} + h : y);
        return;
    }
    if (w > 0 && h > 0 && w == sw && h == sh) {
        BitBlt(dst, x, y, w, h, src, sx, sy, rop);
        return;
    }
    const Rows<uint32_t> d = WritableRows(dst);
    QImage converted;
    Rows<const uint32_t> s = ReadableRows(src, converted);
    if (!d.bits || !s.bits) return;
    AxisMap cols = MapAxis(x, w, sx, sw, dst.width(), src.width());
    AxisMap rows = MapAxis(y, h, sy, sh, dst.height(), src.height());
    if (cols.src.empty() || rows.src.empty()) return;

    // On the same buffer no destination row may be written before the rows that read it.
    // Two layouts need no copy of the source: every row reads itself (a left-right mirror),
    // or the rows read each other in mirrored pairs (an upside-down mirror); the pair is read
    // into two row buffers before either is written. Otherwise the source block is copied.
    const size_t nRows = rows.src.size();
    bool ownRows = true, mirroredRows = true;
    for (size_t k = 0; k < nRows; ++k) {
        const size_t reads = static_cast<size_t>(rows.src[k] - rows.first);
        ownRows = ownRows && reads == k;
        mirroredRows = mirroredRows && reads == nRows - 1 - k;
    }
    const bool same = s.bits == d.bits;
    const bool pairs = same && mirroredRows && !ownRows;
    QImage block;
    if (same && !ownRows && !mirroredRows) {
        const int c0 = std::min(cols.src.front(), cols.src.back());
        const int c1 = std::max(cols.src.front(), cols.src.back());
        const int r0 = std::min(rows.src.front(), rows.src.back());
        const int r1 = std::max(rows.src.front(), rows.src.back());
        block = src.copy(c0, r0, c1 - c0 + 1, r1 - r0 + 1);
        s = {block.constBits(), block.bytesPerLine()};
        for (int& c : cols.src) c -= c0;
        for (int& r : rows.src) r -= r0;
    }
    const int n = static_cast<int>(cols.src.size());
    auto drow = [&](size_t k) { return d[rows.first + static_cast<int>(k)] + cols.first; };
    if (rop == Rop::SrcCopy && s.bits != d.bits) {
        for (size_t k = 0; k < nRows; ++k) GatherRow(drow(k), s[rows.src[k]], cols);
        return;
    }
    std::vector<uint32_t> lines(2 * static_cast<size_t>(n));
    uint32_t* line = lines.data();
    uint32_t* partnerLine = line + n;
    for (size_t k = 0; k < (pairs ? (nRows + 1) / 2 : nRows); ++k) {
        const size_t partner = pairs ? nRows - 1 - k : k;
        GatherRow(line, s[rows.src[k]], cols);
        if (partner != k) GatherRow(partnerLine, s[rows.src[partner]], cols);
        CombineRow(drow(k), line, n, rop);
        if (partner != k) CombineRow(drow(partner), partnerLine, n, rop);
    }
}

QRect FloodFillSurface(QImage& img, int x, int y, ColorRef fill,
                       const std::function<void(const QRect&)>& beforeWrite)
{
    if (img.isNull() || x < 0 || y < 0 || x >= img.width() || y >= img.height()) return {};
    const Rows<uint32_t> rows = WritableRows(img);
    const int w = img.width();
    const int h = img.height();
    const uint32_t old = rows[y][x] & kColorMask;
    const uint32_t paint = ToPixel(fill);
    if ((paint & kColorMask) == old) return {};
    auto matches = [old](const uint32_t* row, int i) { return (row[i] & kColorMask) == old; };

    // A span x1..x2 of row y that has been filled; the row y + dy beside it is still to scan.
    struct Span {
        int y, x1, x2, dy;
    };
    std::vector<Span> stack;
    auto push = [&](int sy, int x1, int x2, int dy) {
        if (sy + dy >= 0 && sy + dy < h) stack.push_back({sy, x1, x2, dy});
    };
    int minX = x, maxX = x, minY = y, maxY = y;
    // The seed is treated as a one-pixel span filled in the row below (scanning upwards) and
    // the row above (scanning downwards), so its own row is scanned first.
    push(y, x, x, 1);
    push(y + 1, x, x, -1);
    while (!stack.empty()) {
        const Span sp = stack.back();
        stack.pop_back();
        const int cy = sp.y + sp.dy;
        uint32_t* row = rows[cy];
        for (int cx = sp.x1; cx <= sp.x2;) {
            if (!matches(row, cx)) {
                ++cx;
                continue;
            }
            // A run of the region's colour: only the one starting at x1 can reach further left.
            int l = cx;
            if (cx == sp.x1)
                while (l > 0 && matches(row, l - 1)) --l;
            int r = cx;
            while (r + 1 < w && matches(row, r + 1)) ++r;
            if (beforeWrite) beforeWrite(QRect(l, cy, r - l + 1, 1));
            std::fill(row + l, row + r + 1, paint);
            minX = std::min(minX, l);
            maxX = std::max(maxX, r);
            minY = std::min(minY, cy);
            maxY = std::max(maxY, cy);
            push(cy, l, r, sp.dy);
            // Where the run sticks out past the span it came from, the row it came from has
            // not been scanned there yet.
            if (l < sp.x1) push(cy, l, sp.x1 - 1, -sp.dy);
            if (r > sp.x2) push(cy, sp.x2 + 1, r, -sp.dy);
            cx = r + 2;
        }
    }
    return QRect(QPoint(minX, minY), QPoint(maxX, maxY));
}

void FillRectSolid(QImage& dst, const QRect& r, ColorRef color)
{
    const Rows<uint32_t> d = WritableRows(dst);
    const QRect c = r.intersected(dst.rect());
    if (!d.bits || c.isEmpty()) return;
    const uint32_t p = ToPixel(color);
    for (int y = c.top(); y <= c.bottom(); ++y) std::fill(d[y] + c.left(), d[y] + c.right() + 1, p);
}

void BlitPatternSelect(QImage& dst, int x, int y, int w, int h,
                       const QImage& src, int sx, int sy, const Pattern8x8& pattern)
{
    const Rows<uint32_t> d = WritableRows(dst);
    QImage converted;
    Rows<const uint32_t> s = ReadableRows(src, converted);
    Block b;
    if (!d.bits || !s.bits || !ClipBlock(dst, x, y, w, h, src, sx, sy, b)) return;
    QImage block;
    ReadOverlapFromCopy(src, d, s, b, block);
    for (int k = 0; k < b.h; ++k) {
        const int Y = b.dy + k;
        // The pattern word of each column phase from the block's first column: all colour bits
        // set for white, none for black.
        uint32_t keep[8];
        for (int c = 0; c < 8; ++c) keep[c] = pattern.white(b.dx + c, Y) ? kColorMask : 0u;
        PatternSelectRow(d[Y] + b.dx, s[b.sy + k] + b.sx, b.w, keep);
    }
}

QImage MakeKeyMask(const QImage& src, const QRect& r, ColorRef key)
{
    if (r.isEmpty()) return {};
    QImage mask = NewPixelBuffer(r.width(), r.height(), 0);
    QImage converted;
    const Rows<const uint32_t> s = ReadableRows(src, converted);
    const QRect c = r.intersected(src.rect());
    if (mask.isNull() || !s.bits || c.isEmpty()) return mask;
    const Rows<uint32_t> m = WritableRows(mask);
    const uint32_t want = static_cast<uint32_t>(key) & kColorMask;
    const uint32_t white = ToPixel(0xFFFFFF);
    const uint32_t black = ToPixel(0);
    for (int y = c.top(); y <= c.bottom(); ++y) {
        const uint32_t* srow = s[y];
        uint32_t* mrow = m[y - r.top()];
        for (int X = c.left(); X <= c.right(); ++X)
            mrow[X - r.left()] = (srow[X] & kColorMask) == want ? white : black;
    }
    return mask;
}

void FillPixels(uint32_t* p, size_t n, uint32_t v)
{
    // A wide character is a 32-bit unit here, and the wide-character fill is vectorised where
    // a plain loop over 32-bit words is not.
    static_assert(sizeof(wchar_t) == sizeof(uint32_t));
    std::wmemset(reinterpret_cast<wchar_t*>(p), static_cast<wchar_t>(v), n);
}

} // namespace orv
