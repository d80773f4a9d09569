#include "tools/freehand_tool.h"

namespace orv {

void FreehandTool::press(Canvas& canvas, const ToolContext&, float x, float y)
{
    canvas.setCurrentX(x);
    canvas.setCurrentY(y);
}

void FreehandTool::move(Canvas& canvas, const ToolContext&, int button, float x, float y)
{
    if (button != 1) return;
    canvas.Line(canvas.CurrentX(), canvas.CurrentY(), x, y);   // leaves the current point at (x, y)
}

} // namespace orv
