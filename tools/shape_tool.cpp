#include "tools/shape_tool.h"
#include "platform/numbers.h"
#include "tools/draw_tools.h"

namespace orv {

namespace {
void DrawBand(Canvas& canvas, int16_t kind)
{
    DrawShape(canvas, kind, RubberBand.X1, RubberBand.Y1, RubberBand.X2, RubberBand.Y2);
}
} // namespace

void ShapeTool::press(Canvas& canvas, const ToolContext&, float x, float y)
{
    canvas.setFillStyle(kFillTransparent);
    if (RubberBand.State != 0) return;   // a drag left by another button's release resumes
    RubberBand.State = 1;
    canvas.setDrawMode(kDrawModeNotXorPen);
    RubberBand.X1 = RubberBand.X2 = CLng(x);
    RubberBand.Y1 = RubberBand.Y2 = CLng(y);
    // The degenerate first preview is drawn here, so that the first move has a preview to
    // remove; otherwise that move would invert the start point and leave it inverted.
    DrawBand(canvas, kind_);
}

void ShapeTool::move(Canvas& canvas, const ToolContext&, int, float x, float y)
{
    if (RubberBand.State != 1) return;
    DrawBand(canvas, kind_);
    RubberBand.X2 = CLng(x);
    RubberBand.Y2 = CLng(y);
    DrawBand(canvas, kind_);
}

void ShapeTool::release(Canvas& canvas, int button)
{
    if (RubberBand.State != 1 || !(button & 1)) return;
    RubberBand.State = 0;
    // The preview is still on the canvas; drawing the same shape in the plain pen covers
    // exactly its pixels.
    canvas.setDrawMode(kDrawModeCopyPen);
    DrawBand(canvas, kind_);
}

} // namespace orv
