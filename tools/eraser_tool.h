#pragma once
// The eraser: draws like the freeform tool, in white and the eraser width, and gives the
// canvas its own pen back after every move.
#include "tools/freehand_tool.h"

namespace orv {

class EraserTool : public FreehandTool {
public:
    void move(Canvas& canvas, const ToolContext& ctx, int button, float x, float y) override;
};

} // namespace orv
