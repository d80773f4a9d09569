#include "documents/shape_spans.h"
#include "platform/numbers.h"
#include <algorithm>
#include <cmath>

namespace orv {

namespace {

// Ellipse edges within this distance of a pixel centre count as touching it, so values that
// are exact on paper (a semi-axis ending on a pixel) do not drop out through rounding noise.
constexpr double kEdgeSlack = 1e-6;

int64_t FloorDiv(int64_t a, int64_t b)   // b > 0
{
    const int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

// Nearest integer to num / den (den > 0), halves upwards.
int64_t RoundRatio(int64_t num, int64_t den) { return FloorDiv(2 * num + den, 2 * den); }

int64_t IntSqrt(int64_t n)
{
    auto m = static_cast<int64_t>(std::sqrt(static_cast<double>(n)));
    while (m * m > n) --m;
    while ((m + 1) * (m + 1) <= n) ++m;
    return m;
}

// The filled ellipse row by row.
class EllipseRows {
public:
    EllipseRows(double cx, double cy, double rx, double ry) : cx_(cx), cy_(cy), rx_(rx), ry_(ry)
    {
        top_ = static_cast<int64_t>(std::ceil(cy - ry - kEdgeSlack));
        bottom_ = static_cast<int64_t>(std::floor(cy + ry + kEdgeSlack));
        thin_ = top_ > bottom_;
        if (thin_) top_ = bottom_ = static_cast<int64_t>(RoundHalfEven(cy));
    }
    int64_t top() const { return top_; }
    int64_t bottom() const { return bottom_; }

    bool row(int64_t y, int64_t& l, int64_t& r) const
    {
        if (y < top_ || y > bottom_) return false;
        double t = 1.0;
        if (!thin_ && ry_ > 0) {
            const double d = (static_cast<double>(y) - cy_) / ry_;
            t = std::max(0.0, 1.0 - d * d);
        }
        const double h = rx_ * std::sqrt(t);
        l = static_cast<int64_t>(std::ceil(cx_ - h - kEdgeSlack));
        r = static_cast<int64_t>(std::floor(cx_ + h + kEdgeSlack));
        if (l > r) l = r = static_cast<int64_t>(RoundHalfEven(cx_));
        return true;
    }

    // The pixels of row y whose four neighbours also belong to the ellipse.
    bool inside(int64_t y, int64_t& l, int64_t& r) const
    {
        int64_t la, ra, lb, rb;
        if (!row(y, l, r) || !row(y - 1, la, ra) || !row(y + 1, lb, rb)) return false;
        l = std::max({l + 1, la, lb});
        r = std::min({r - 1, ra, rb});
        return l <= r;
    }

private:
    double cx_, cy_, rx_, ry_;
    int64_t top_, bottom_;
    bool thin_;
};

// Stamps the pen on every pixel of the run xa..xb of row y.
void AddRun(SpanSet& out, const RoundPen& pen, int64_t y, int64_t xa, int64_t xb)
{
    const int64_t j0 = std::max<int64_t>(pen.lo(), -y);
    const int64_t j1 = std::min<int64_t>(pen.hi(), out.height() - 1 - y);
    for (int64_t j = j0; j <= j1; ++j)
        out.add(y + j, xa + pen.left(int(j)), xb + pen.right(int(j)));
}

} // namespace

void SpanSet::add(int64_t y, int64_t x0, int64_t x1)
{
    if (y < 0 || y >= height_) return;
    x0 = std::max<int64_t>(x0, 0);
    x1 = std::min<int64_t>(x1, width_ - 1);
    if (x0 > x1) return;
    if (!spans_.empty()) {
        PixelSpan& last = spans_.back();
        if (last.y == y && x0 <= last.x1 + 1 && x1 >= last.x0 - 1) {
            if (x0 < last.x0) merged_ = false;   // may now reach an earlier span of the row
            last.x0 = std::min<int>(last.x0, int(x0));
            last.x1 = std::max<int>(last.x1, int(x1));
            return;
        }
        if (y < last.y || (y == last.y && x0 < last.x0)) merged_ = false;
    }
    spans_.push_back({int(y), int(x0), int(x1)});
}

const std::vector<PixelSpan>& SpanSet::spans()
{
    if (merged_) return spans_;
    std::sort(spans_.begin(), spans_.end(), [](const PixelSpan& a, const PixelSpan& b) {
        return a.y != b.y ? a.y < b.y : a.x0 < b.x0;
    });
    std::vector<PixelSpan> joined;
    for (const PixelSpan& s : spans_) {
        if (!joined.empty() && joined.back().y == s.y && s.x0 <= joined.back().x1 + 1)
            joined.back().x1 = std::max(joined.back().x1, s.x1);
        else
            joined.push_back(s);
    }
    spans_.swap(joined);
    merged_ = true;
    return spans_;
}

RoundPen::RoundPen(int width) : lo_(-(width / 2)), hi_(width - 1 - width / 2)
{
    // In doubled coordinates the stamp's centre is at d, pixel i's centre at 2 i + 1, and the
    // radius is d: row s = 2 j + 1 - d (relative) covers |2 i + 1 - d| <= sqrt(d^2 - s^2).
    const int64_t d = width;
    for (int j = 0; j < width; ++j) {
        const int64_t s = 2 * j + 1 - d;
        const int64_t m = IntSqrt(d * d - s * s);
        const int64_t a = d - 1 - m;
        const int64_t first = a <= 0 ? 0 : (a + 1) / 2;
        const int64_t last = std::min<int64_t>(d - 1, (d - 1 + m) / 2);
        rows_.emplace_back(lo_ + int(first), lo_ + int(last));
    }
}

void AddDot(SpanSet& out, const RoundPen& pen, int64_t x, int64_t y) { AddRun(out, pen, y, x, x); }

void AddLine(SpanSet& out, const RoundPen& pen, int64_t x1, int64_t y1, int64_t x2, int64_t y2)
{
    // Only centre pixels whose stamp can reach the surface are visited, so the work is
    // bounded by the surface size however far outside the endpoints lie.
    const int64_t reach = std::max(-pen.lo(), pen.hi());
    const int64_t dx = x2 - x1, dy = y2 - y1;
    if (std::llabs(dx) >= std::llabs(dy)) {
        if (x1 > x2) { std::swap(x1, x2); std::swap(y1, y2); }
        const int64_t run = x2 - x1, rise = y2 - y1;
        const int64_t xa = std::max(x1, -reach), xb = std::min<int64_t>(x2, out.width() - 1 + reach);
        int64_t runY = 0, runStart = 0, runEnd = -1;
        bool open = false;
        for (int64_t x = xa; x <= xb; ++x) {
            const int64_t y = run == 0 ? y1 : y1 + RoundRatio((x - x1) * rise, run);
            if (y < -reach || y > out.height() - 1 + reach) continue;
            if (open && y == runY && x == runEnd + 1) {
                runEnd = x;
                continue;
            }
            if (open) AddRun(out, pen, runY, runStart, runEnd);
            open = true;
            runY = y;
            runStart = runEnd = x;
        }
        if (open) AddRun(out, pen, runY, runStart, runEnd);
    } else {
        if (y1 > y2) { std::swap(x1, x2); std::swap(y1, y2); }
        const int64_t run = y2 - y1, rise = x2 - x1;
        const int64_t ya = std::max(y1, -reach), yb = std::min<int64_t>(y2, out.height() - 1 + reach);
        for (int64_t y = ya; y <= yb; ++y) {
            const int64_t x = x1 + RoundRatio((y - y1) * rise, run);
            if (x < -reach || x > out.width() - 1 + reach) continue;
            AddRun(out, pen, y, x, x);
        }
    }
}

void AddBoxOutline(SpanSet& outline, SpanSet* interior, int width,
                   int64_t x1, int64_t y1, int64_t x2, int64_t y2)
{
    const int lo = -(width / 2), hi = width - 1 - width / 2;
    const int64_t left = std::min(x1, x2), right = std::max(x1, x2);
    const int64_t top = std::min(y1, y2), bottom = std::max(y1, y2);
    const int64_t outL = left + lo, outR = right + hi;
    const int64_t inL = left + hi + 1, inR = right + lo - 1;
    const int64_t inT = top + hi + 1, inB = bottom + lo - 1;
    const bool hollow = inL <= inR && inT <= inB;
    const int64_t y0 = std::max<int64_t>(top + lo, 0);
    const int64_t y1End = std::min<int64_t>(bottom + hi, outline.height() - 1);
    for (int64_t y = y0; y <= y1End; ++y) {
        if (hollow && y >= inT && y <= inB) {
            outline.add(y, outL, inL - 1);
            outline.add(y, inR + 1, outR);
            if (interior) interior->add(y, inL, inR);
        } else {
            outline.add(y, outL, outR);
        }
    }
}

void AddFilledBox(SpanSet& out, int width, int64_t x1, int64_t y1, int64_t x2, int64_t y2)
{
    const int lo = -(width / 2), hi = width - 1 - width / 2;
    const int64_t y0 = std::max<int64_t>(std::min(y1, y2) + lo, 0);
    const int64_t yEnd = std::min<int64_t>(std::max(y1, y2) + hi, out.height() - 1);
    for (int64_t y = y0; y <= yEnd; ++y) out.add(y, std::min(x1, x2) + lo, std::max(x1, x2) + hi);
}

void AddEllipse(SpanSet& outline, SpanSet* interior, int width,
                double cx, double cy, double rx, double ry)
{
    const int grow = width - 1 - width / 2, shrink = width / 2;
    const EllipseRows outer(cx, cy, rx + grow, ry + grow);
    const EllipseRows inner(cx, cy, std::max(0.0, rx - shrink), std::max(0.0, ry - shrink));
    const int64_t y0 = std::max<int64_t>(outer.top(), 0);
    const int64_t yEnd = std::min<int64_t>(outer.bottom(), outline.height() - 1);
    for (int64_t y = y0; y <= yEnd; ++y) {
        int64_t l = 0, r = -1, il, ir;
        outer.row(y, l, r);
        if (inner.inside(y, il, ir)) {
            outline.add(y, l, il - 1);
            outline.add(y, ir + 1, r);
            if (interior) interior->add(y, il, ir);
        } else {
            outline.add(y, l, r);
        }
    }
}

} // namespace orv
