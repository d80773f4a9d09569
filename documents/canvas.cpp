#include "documents/canvas.h"
#include "documents/picture_snapshot.h"
#include "documents/shape_spans.h"
#include "platform/numbers.h"
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

namespace orv {

namespace {

// Pixel coordinates and sizes are held within this range so the rasterisers' 64-bit
// arithmetic cannot overflow; anything that far out lies beyond every surface anyway.
constexpr double kCoordLimit = 268435456.0;   // 2^28

double HoldInRange(double v) { return std::clamp(v, -kCoordLimit, kCoordLimit); }

// A coordinate in the canvas's drawing unit as a whole pixel (halves to even); false for NaN.
bool PixelCoord(const Canvas& c, double v, int64_t& out)
{
    const double p = c.toPixels(v);
    if (std::isnan(p)) return false;
    out = static_cast<int64_t>(RoundHalfEven(HoldInRange(p)));
    return true;
}

// The pen combined with an old pixel under a binary raster mode 1..16: bit (2 * pen bit +
// old bit) of mode - 1 is the new bit (13 copies the pen, 10 gives NOT(pen XOR old)).
uint32_t Combine(int table, uint32_t pen, uint32_t old)
{
    uint32_t r = 0;
    if (table & 8) r |= pen & old;
    if (table & 4) r |= pen & ~old;
    if (table & 2) r |= ~pen & old;
    if (table & 1) r |= ~pen & ~old;
    return (r & kColorMask) | kPixelOpaque;
}

// Bounding box of the pixels an operation actually changed.
class ChangedBox {
public:
    void add(int x0, int x1, int y)
    {
        left_ = std::min(left_, x0);
        right_ = std::max(right_, x1);
        top_ = std::min(top_, y);
        bottom_ = std::max(bottom_, y);
    }
    QRect rect() const { return right_ < 0 ? QRect() : QRect(QPoint(left_, top_), QPoint(right_, bottom_)); }

private:
    int left_ = INT_MAX, right_ = -1, top_ = INT_MAX, bottom_ = -1;
};

void Combine(QImage& img, SpanSet& set, ColorRef color, int16_t mode, ChangedBox& changed)
{
    const uint32_t pen = ToPixel(color);
    const int table = (mode >= 1 && mode <= 16) ? mode - 1 : kDrawModeCopyPen - 1;
    for (const PixelSpan& s : set.spans()) {
        auto* row = reinterpret_cast<uint32_t*>(img.scanLine(s.y));
        int first = -1, last = -1;
        for (int x = s.x0; x <= s.x1; ++x) {
            const uint32_t v = Combine(table, pen, row[x]);
            if (v == row[x]) continue;
            row[x] = v;
            if (first < 0) first = x;
            last = x;
        }
        if (first >= 0) changed.add(first, last, s.y);
    }
}

// Combines a shape's pen pixels (and, when given, its interior in FillColor) with the image
// under the canvas's DrawMode and reports what changed.
void Paint(Canvas& c, SpanSet& penPixels, ColorRef color, SpanSet* interior = nullptr)
{
    ChangedBox reach;
    for (SpanSet* set : {&penPixels, interior})
        if (set)
            for (const PixelSpan& s : set->spans()) reach.add(s.x0, s.x1, s.y);
    QImage& image = c.reportedBuffer();
    c.aboutToChange(reach.rect());
    ChangedBox changed;
    Combine(image, penPixels, color, c.DrawMode(), changed);
    if (interior) Combine(image, *interior, c.FillColor(), c.DrawMode(), changed);
    c.markDirty(changed.rect());
}

// Copies src onto the w x h block at (x, y) (pixels), nearest source pixel per destination
// pixel; a negative w or h mirrors the block, which then covers x+w .. x-1 (y+h .. y-1).
void StretchOnto(Canvas& c, const QImage& src, int64_t x, int64_t y, int64_t w, int64_t h)
{
    if (src.isNull() || w == 0 || h == 0) return;
    QImage& dst = c.reportedBuffer();
    const int64_t aw = std::llabs(w), ah = std::llabs(h);
    const int64_t left = w > 0 ? x : x + w, top = h > 0 ? y : y + h;
    const int64_t x0 = std::max<int64_t>(left, 0), x1 = std::min<int64_t>(left + aw, dst.width()) - 1;
    const int64_t y0 = std::max<int64_t>(top, 0), y1 = std::min<int64_t>(top + ah, dst.height()) - 1;
    if (x0 > x1 || y0 > y1) return;

    const int64_t sw = src.width(), sh = src.height();
    std::vector<int> srcCol(size_t(x1 - x0 + 1));
    for (int64_t dx = x0; dx <= x1; ++dx) {
        const int64_t i = w > 0 ? dx - left : left + aw - 1 - dx;
        srcCol[size_t(dx - x0)] = int((2 * i + 1) * sw / (2 * aw));
    }
    c.aboutToChange(QRect(QPoint(int(x0), int(y0)), QPoint(int(x1), int(y1))));
    ChangedBox changed;
    for (int64_t dy = y0; dy <= y1; ++dy) {
        const int64_t j = h > 0 ? dy - top : top + ah - 1 - dy;
        const auto* in = reinterpret_cast<const uint32_t*>(src.constScanLine(int((2 * j + 1) * sh / (2 * ah))));
        auto* out = reinterpret_cast<uint32_t*>(dst.scanLine(int(dy)));
        int first = -1, last = -1;
        for (int64_t dx = x0; dx <= x1; ++dx) {
            const uint32_t v = in[srcCol[size_t(dx - x0)]] | kPixelOpaque;
            if (out[dx] == v) continue;
            out[dx] = v;
            if (first < 0) first = int(dx);
            last = int(dx);
        }
        if (first >= 0) changed.add(first, last, int(dy));
    }
    c.markDirty(changed.rect());
}

// Text is rendered without antialiasing so every glyph pixel is either drawn or not.
QFont MaskFont(const QFont& f)
{
    QFont mask(f);
    mask.setStyleStrategy(QFont::NoAntialias);
    return mask;
}

// Font metrics are taken on an image, the same kind of device the glyph masks are painted on.
QFontMetricsF MaskMetrics(const QFont& f)
{
    static const QImage probe(1, 1, QImage::Format_ARGB32_Premultiplied);
    return QFontMetricsF(MaskFont(f), &probe);
}

void CopyTopLeft(QImage& dst, const QImage& src)
{
    const int w = std::min(dst.width(), src.width()), h = std::min(dst.height(), src.height());
    for (int y = 0; y < h; ++y) std::memcpy(dst.scanLine(y), src.constScanLine(y), size_t(w) * 4);
}

} // namespace

Canvas::Canvas(int widthPx, int heightPx, ColorRef backColor)
    : image_(NewPixelBuffer(std::max(widthPx, 1), std::max(heightPx, 1), backColor)),
      backColor_(backColor & 0xFFFFFF)
{
}

Canvas::~Canvas()
{
    releaseSnapshot();
}

QImage& Canvas::buffer()
{
    releaseSnapshot();
    return image_;
}

QImage& Canvas::reportedBuffer()
{
    // Shared with someone else, the image gets pixels of its own on the first write, whenever
    // that is: the snapshot holds the ones it was made from before (it reads the old pixels
    // alone from then on, and no row needs keeping).
    if (!image_.isDetached()) releaseSnapshot();
    return image_;
}

void Canvas::aboutToChange(const QRect& pixels)
{
    // A write is made through reportedBuffer(), which has let a snapshot of a shared image go.
    const QRect r = pixels & image_.rect();
    if (std::shared_ptr<PictureSnapshot> reader = snapshot_.reader.lock(); reader && !r.isEmpty())
        reader->keepRows(r.top(), r.bottom());
    if (onBeforeChange) onBeforeChange(r);
}

std::shared_ptr<PictureSnapshot> Canvas::snapshot()
{
    releaseSnapshot();
    auto reader = std::make_shared<PictureSnapshot>(image_);
    if (image_.isDetached()) snapshot_.reader = reader;
    else reader->hold(image_);
    return reader;
}

void Canvas::releaseSnapshot()
{
    if (std::shared_ptr<PictureSnapshot> reader = snapshot_.reader.lock()) reader->hold(image_);
    snapshot_.reader.reset();
}

void Canvas::resizePixels(int widthPx, int heightPx)
{
    widthPx = std::max(widthPx, 1);
    heightPx = std::max(heightPx, 1);
    if (widthPx == image_.width() && heightPx == image_.height()) return;
    QImage next = NewPixelBuffer(widthPx, heightPx, backColor_);
    CopyTopLeft(next, image_);
    releaseSnapshot();
    image_ = next;
    if (onResize) onResize();
}

float Canvas::ScaleWidth() const { return float(fromPixels(image_.width())); }
float Canvas::ScaleHeight() const { return float(fromPixels(image_.height())); }

void Canvas::PSet(float x, float y, ColorRef color)
{
    currentX_ = x;
    currentY_ = y;
    int64_t px, py;
    if (!PixelCoord(*this, x, px) || !PixelCoord(*this, y, py)) return;
    SpanSet dot(image_.width(), image_.height());
    AddDot(dot, RoundPen(drawWidth_), px, py);
    Paint(*this, dot, color);
}

ColorRef Canvas::Point(float x, float y) const
{
    int64_t px, py;
    if (!PixelCoord(*this, x, px) || !PixelCoord(*this, y, py)) return kInvalidColor;
    if (px < 0 || py < 0 || px >= image_.width() || py >= image_.height()) return kInvalidColor;
    return FromPixel(reinterpret_cast<const uint32_t*>(image_.constScanLine(int(py)))[px]);
}

void Canvas::Line(float x1, float y1, float x2, float y2, ColorRef color, LineMode mode)
{
    currentX_ = x2;
    currentY_ = y2;
    int64_t a, b, c, d;
    if (!PixelCoord(*this, x1, a) || !PixelCoord(*this, y1, b) || !PixelCoord(*this, x2, c) ||
        !PixelCoord(*this, y2, d))
        return;
    SpanSet pen(image_.width(), image_.height());
    SpanSet interior(image_.width(), image_.height());
    switch (mode) {
    case LineMode::Line:
        AddLine(pen, RoundPen(drawWidth_), a, b, c, d);
        break;
    case LineMode::Box:
        AddBoxOutline(pen, fillStyle_ == kFillSolid ? &interior : nullptr, drawWidth_, a, b, c, d);
        break;
    case LineMode::FilledBox:
        AddFilledBox(pen, drawWidth_, a, b, c, d);
        break;
    }
    Paint(*this, pen, color, &interior);
}

void Canvas::Circle(float x, float y, float radius, ColorRef color, float aspect)
{
    currentX_ = x;
    currentY_ = y;
    const double px = toPixels(x), py = toPixels(y), r = std::fabs(toPixels(radius));
    const double ratio = std::fabs(double(aspect));
    if (std::isnan(px) || std::isnan(py) || std::isnan(r) || std::isnan(ratio)) return;
    // The centre keeps halves (an ellipse inscribed in a box of odd width is centred between
    // two pixels) and is otherwise rounded like every coordinate.
    const double cx = RoundHalfEven(2 * HoldInRange(px)) / 2;
    const double cy = RoundHalfEven(2 * HoldInRange(py)) / 2;
    const double rx = std::min(ratio <= 1 ? r : r / ratio, kCoordLimit);
    const double ry = std::min(ratio <= 1 ? r * ratio : r, kCoordLimit);
    SpanSet outline(image_.width(), image_.height());
    SpanSet interior(image_.width(), image_.height());
    AddEllipse(outline, fillStyle_ == kFillSolid ? &interior : nullptr, drawWidth_, cx, cy, rx, ry);
    Paint(*this, outline, color, &interior);
}

void Canvas::Print(const QString& text)
{
    const QFontMetricsF fm = MaskMetrics(font_);
    const double advance = fm.horizontalAdvance(text);
    int64_t ox, oy;
    const bool placed = PixelCoord(*this, currentX_, ox) && PixelCoord(*this, currentY_, oy);
    currentX_ += float(fromPixels(advance));
    if (!placed || text.isEmpty()) return;

    // The glyphs stay within the advance box joined with the ink box (overhangs of italic and
    // wide glyphs); only its part on the image is painted, one pixel spare on each side.
    const QRectF ink = fm.boundingRect(text).translated(0, fm.ascent()).united(QRectF(0, 0, advance, fm.height()));
    const int64_t x0 = std::max<int64_t>(ox + int64_t(std::floor(ink.left())) - 1, 0);
    const int64_t y0 = std::max<int64_t>(oy + int64_t(std::floor(ink.top())) - 1, 0);
    const int64_t x1 = std::min<int64_t>(ox + int64_t(std::ceil(ink.right())) + 1, image_.width() - 1);
    const int64_t y1 = std::min<int64_t>(oy + int64_t(std::ceil(ink.bottom())) + 1, image_.height() - 1);
    if (x0 > x1 || y0 > y1) return;

    QImage mask(int(x1 - x0 + 1), int(y1 - y0 + 1), QImage::Format_ARGB32_Premultiplied);
    if (mask.isNull()) return;
    mask.fill(0);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        p.setFont(MaskFont(font_));
        p.setPen(Qt::white);
        p.drawText(QPointF(double(ox - x0), double(oy - y0) + fm.ascent()), text);
    }
    SpanSet glyphs(image_.width(), image_.height());
    for (int y = 0; y < mask.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        for (int x = 0; x < mask.width(); ++x) {
            if (qAlpha(row[x]) < 128) continue;
            int end = x;
            while (end + 1 < mask.width() && qAlpha(row[end + 1]) >= 128) ++end;
            glyphs.add(y0 + y, x0 + x, x0 + end);
            x = end;
        }
    }
    Paint(*this, glyphs, foreColor_);
}

float Canvas::TextWidth(const QString& text) const
{
    return float(fromPixels(MaskMetrics(font_).horizontalAdvance(text)));
}

float Canvas::TextHeight(const QString&) const { return float(fromPixels(MaskMetrics(font_).height())); }

void Canvas::PaintPicture(const Picture& pic, float x, float y)
{
    int64_t px, py;
    if (pic.isNull() || !PixelCoord(*this, x, px) || !PixelCoord(*this, y, py)) return;
    StretchOnto(*this, ToPixelFormat(pic), px, py, pic.width(), pic.height());
}

void Canvas::PaintPicture(const Picture& pic, float x, float y, float width, float height)
{
    int64_t px, py, pw, ph;
    if (pic.isNull() || !PixelCoord(*this, x, px) || !PixelCoord(*this, y, py) ||
        !PixelCoord(*this, width, pw) || !PixelCoord(*this, height, ph))
        return;
    StretchOnto(*this, ToPixelFormat(pic), px, py, pw, ph);
}

void Canvas::setPicture(const Picture& pic)
{
    const QImage src = ToPixelFormat(pic);
    const QSize size = autoSize_ && !src.isNull() ? src.size() : image_.size();
    QImage next;
    if (src.size() == size) {
        next = src;   // covers the whole canvas: shared, copied only when one side is drawn on
    } else {
        next = NewPixelBuffer(size.width(), size.height(), backColor_);
        if (!src.isNull()) CopyTopLeft(next, src);
    }
    const bool resized = next.size() != image_.size();
    releaseSnapshot();
    if (!resized) aboutToChange(image_.rect());
    image_ = next;
    if (resized && onResize) onResize();
    markDirty(image_.rect());
}

void Canvas::Cls()
{
    releaseSnapshot();
    aboutToChange(image_.rect());
    image_ = NewPixelBuffer(image_.width(), image_.height(), backColor_);
    currentX_ = 0;
    currentY_ = 0;
    markDirty(image_.rect());
}

void Canvas::markDirty(const QRect& pixels)
{
    const QRect r = pixels & image_.rect();
    if (!r.isEmpty() && onDirty) onDirty(r);
}

} // namespace orv
