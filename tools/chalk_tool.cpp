#include "tools/chalk_tool.h"
#include "platform/random.h"
#include <cmath>

namespace orv {

namespace {
constexpr int kChalkWidth = 10;
constexpr double kSpread = 13;   // speckles land 0 to 12 pixels off the pointer
float Offset() { return float(std::floor(Rnd() * kSpread)); }
} // namespace

void ChalkTool::press(Canvas& canvas, const ToolContext&, float x, float y)
{
    UsePixels(canvas, x, y);
    canvas.setCurrentX(x);
    canvas.setCurrentY(y);
}

void ChalkTool::move(Canvas& canvas, const ToolContext&, int button, float x, float y)
{
    if (button != 1) return;
    const int16_t width = canvas.DrawWidth();
    UsePixels(canvas, x, y);
    canvas.setDrawWidth(kChalkWidth);
    canvas.Line(canvas.CurrentX(), canvas.CurrentY(), x, y);
    canvas.setDrawWidth(1);
    for (int pass = 0; pass < 4; ++pass) {
        // One speckle below-right and one above-left per pass, offsets drawn in this order.
        const float dx1 = Offset(), dy1 = Offset();
        canvas.PSet(x + dx1, y + dy1);
        const float dx2 = Offset(), dy2 = Offset();
        canvas.PSet(x - dx2, y - dy2);
    }
    canvas.setCurrentX(x);
    canvas.setCurrentY(y);
    canvas.setDrawWidth(width);
}

} // namespace orv
