#pragma once
// The four shape tools (ellipse, line, rectangle, filled rectangle): a drag shows the shape in
// the inverting pen, each move removes the last preview by drawing it again, and the release
// draws the shape in the plain pen.
#include "tools/tool.h"

namespace orv {

class ShapeTool : public Tool {
public:
    explicit ShapeTool(int16_t kind) : kind_(kind) {}
    void press(Canvas& canvas, const ToolContext& ctx, float x, float y) override;
    void move(Canvas& canvas, const ToolContext& ctx, int button, float x, float y) override;
    void release(Canvas& canvas, int button) override;

private:
    int16_t kind_;
};

} // namespace orv
