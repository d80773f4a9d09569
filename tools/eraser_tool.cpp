#include "tools/eraser_tool.h"
#include <algorithm>

namespace orv {

void EraserTool::move(Canvas& canvas, const ToolContext& ctx, int button, float x, float y)
{
    const int16_t width = canvas.DrawWidth();
    const ColorRef pen = canvas.ForeColor();
    canvas.setDrawWidth(int16_t(std::clamp(ctx.eraserWidth, 1, 32767)));
    canvas.setForeColor(0xFFFFFF);
    FreehandTool::move(canvas, ctx, button, x, y);
    canvas.setDrawWidth(width);
    canvas.setForeColor(pen);
}

} // namespace orv
