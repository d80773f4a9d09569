#pragma once
// Freeform drawing: each move with the left button draws a line from the last point.
#include "tools/tool.h"

namespace orv {

class FreehandTool : public Tool {
public:
    void press(Canvas& canvas, const ToolContext& ctx, float x, float y) override;
    void move(Canvas& canvas, const ToolContext& ctx, int button, float x, float y) override;
};

} // namespace orv
