#include "fills/gradient_dots.h"
#include "documents/shape_spans.h"
#include "platform/color.h"
#include "platform/numbers.h"
#include "platform/raster.h"
#include <algorithm>
#include <vector>

namespace orv {

namespace {

constexpr int kUnits = 255;
constexpr int kFirst = 1;
constexpr int kLast = 251;
constexpr int kStep = 10;
constexpr int kMaxPenWidth = 32767;   // the widest pen a canvas takes

struct Dot {
    int64_t x;
    int64_t y;
    uint32_t color;
};

// A position in units as a pixel: units x extent / 255, nearest pixel (never a tie: the
// fraction is a multiple of 1/255).
int64_t PixelOfUnits(int units, int extent)
{
    return int64_t(RoundHalfEven(double(units) * extent / kUnits));
}

} // namespace

int SpecialGradientPenWidth(int width, int height)
{
    // A picture under 17 pixels would get 0, which no pen can have.
    const int64_t w = 15 * int64_t(std::max(width, height)) / kUnits;
    return int(std::clamp<int64_t>(w, 1, kMaxPenWidth));
}

void DrawSpecialGradient(QImage& target)
{
    const int w = target.width(), h = target.height();
    if (w <= 0 || h <= 0) return;
    const RoundPen pen(SpecialGradientPenWidth(w, h));
    std::vector<Dot> dots;   // in drawing order
    for (int x = kFirst; x <= kLast; x += kStep)
        for (int y = kFirst; y <= kLast; y += kStep)
            dots.push_back({PixelOfUnits(x, w), PixelOfUnits(y, h), ToPixel(RGB(x, y, kUnits - x))});

    DetachPixelBuffer(target);
    // Row by row, every dot's part on that row in drawing order: the row stays in the cache
    // while the overlapping dots are painted over each other.
    for (int row = 0; row < h; ++row) {
        auto* out = reinterpret_cast<uint32_t*>(target.scanLine(row));
        for (const Dot& d : dots) {
            const int64_t j = row - d.y;
            if (j < pen.lo() || j > pen.hi()) continue;
            const int64_t x0 = std::max<int64_t>(d.x + pen.left(int(j)), 0);
            const int64_t x1 = std::min<int64_t>(d.x + pen.right(int(j)), w - 1);
            if (x0 <= x1) FillPixels(out + x0, size_t(x1 - x0 + 1), d.color);
        }
    }
}

} // namespace orv
