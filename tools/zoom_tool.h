#pragma once
// Zoom: a left click zooms in, a right click out, by the panel's level, about the clicked pixel.
#include "tools/tool.h"

namespace orv {

class ZoomTool : public Tool {
public:
    void press(Canvas& canvas, const ToolContext& ctx, float x, float y) override
    {
        UsePixels(canvas, x, y);
        if (ctx.zoomAbout) ctx.zoomAbout(ctx.button == 2 ? -ctx.zoomLevel : ctx.zoomLevel, x, y);
    }
    void move(Canvas&, const ToolContext&, int, float, float) override {}
    bool changesPicture() const override { return false; }
};

} // namespace orv
