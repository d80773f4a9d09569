#pragma once
// Flood fill: the 4-connected region of the pressed pixel's exact colour takes the pen colour.
#include "tools/tool.h"

namespace orv {

class FillTool : public Tool {
public:
    void press(Canvas& canvas, const ToolContext& ctx, float x, float y) override;
    void move(Canvas&, const ToolContext&, int, float, float) override {}
};

} // namespace orv
