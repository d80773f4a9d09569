#include "tools/fill_tool.h"
#include "platform/numbers.h"
#include "platform/raster.h"
#include <cmath>

namespace orv {

void FillTool::press(Canvas& canvas, const ToolContext&, float x, float y)
{
    canvas.setFillStyle(kFillSolid);
    canvas.setFillColor(canvas.ForeColor());
    UsePixels(canvas, x, y);
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    const double px = RoundHalfEven(x), py = RoundHalfEven(y);
    if (px < 0 || py < 0 || px >= canvas.pixelWidth() || py >= canvas.pixelHeight()) return;
    // Each run is reported as it is reached, so the history keeps only the tiles the fill paints.
    const auto report = [&canvas](const QRect& run) { canvas.aboutToChange(run); };
    canvas.markDirty(FloodFillSurface(canvas.reportedBuffer(), int(px), int(py), canvas.FillColor(), report));
}

} // namespace orv
