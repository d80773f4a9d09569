#pragma once
// Chalk: a thick line to the pointer and eight single-pixel speckles scattered around it from
// the shared random generator.
#include "tools/tool.h"

namespace orv {

class ChalkTool : public Tool {
public:
    void press(Canvas& canvas, const ToolContext& ctx, float x, float y) override;
    void move(Canvas& canvas, const ToolContext& ctx, int button, float x, float y) override;
};

} // namespace orv
