#include "tools/pick_color_tool.h"

namespace orv {

void PickColorTool::pick(Canvas& canvas, const ToolContext& ctx, float x, float y, bool onPress)
{
    const ColorRef c = canvas.Point(x, y);
    if (c == kInvalidColor) return;   // outside the picture there is no colour to take
    canvas.setForeColor(c);
    if (ctx.colorPicked) ctx.colorPicked(c, onPress);
}

void PickColorTool::press(Canvas& canvas, const ToolContext& ctx, float x, float y)
{
    pick(canvas, ctx, x, y, true);
}

void PickColorTool::move(Canvas& canvas, const ToolContext& ctx, int button, float x, float y)
{
    if (button & 1) pick(canvas, ctx, x, y, false);
}

} // namespace orv
