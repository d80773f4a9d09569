#include "tools/draw_tools.h"
#include "platform/numbers.h"
#include <cstdlib>

namespace orv {

RubberBandRecord RubberBand;

EllipseInBox EllipseFor(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    // 64-bit sums and differences: no corner pair can overflow them.
    const int64_t w = std::llabs(int64_t(x2) - x1), h = std::llabs(int64_t(y2) - y1);
    EllipseInBox e;
    e.cx = (double(x1) + double(x2)) / 2;
    e.cy = CLng((double(y1) + double(y2)) / 2);
    e.radius = CLng(double(w < h ? h : w) / 2);
    e.aspect = w != 0 ? float(double(h) / double(w)) : 10000.0f;
    return e;
}

void DrawEllipseInBox(Canvas& canvas, int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    const EllipseInBox e = EllipseFor(x1, y1, x2, y2);
    canvas.Circle(float(e.cx), float(e.cy), float(e.radius), canvas.ForeColor(), e.aspect);
}

void DrawShape(Canvas& canvas, int16_t kind, int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    const ColorRef pen = canvas.ForeColor();
    switch (kind) {
    case kShapeEllipse: DrawEllipseInBox(canvas, x1, y1, x2, y2); break;
    case kShapeLine: canvas.Line(float(x1), float(y1), float(x2), float(y2), pen, LineMode::Line); break;
    case kShapeBox: canvas.Line(float(x1), float(y1), float(x2), float(y2), pen, LineMode::Box); break;
    case kShapeFilledBox: canvas.Line(float(x1), float(y1), float(x2), float(y2), pen, LineMode::FilledBox); break;
    default: break;
    }
}

QString ColorReadoutText(ColorRef c)
{
    const ColorParts p = SplitColor(c);
    return QStringLiteral("Color: R: %1. G: %2. B: %3").arg(p.red).arg(p.green).arg(p.blue);
}

} // namespace orv
