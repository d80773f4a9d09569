#pragma once
// Zoom: a press only sets the canvas to pixels; zooming itself does nothing yet.
#include "tools/tool.h"

namespace orv {

class ZoomTool : public Tool {
public:
    void press(Canvas& canvas, const ToolContext&, float x, float y) override { UsePixels(canvas, x, y); }
    void move(Canvas&, const ToolContext&, int, float, float) override {}
};

} // namespace orv
