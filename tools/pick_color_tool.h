#pragma once
// Colour picker: the pixel under the pointer becomes the pen colour and the panel's custom
// colour, on the press and on every move with the left button.
#include "tools/tool.h"

namespace orv {

class PickColorTool : public Tool {
public:
    void press(Canvas& canvas, const ToolContext& ctx, float x, float y) override;
    void move(Canvas& canvas, const ToolContext& ctx, int button, float x, float y) override;

private:
    static void pick(Canvas& canvas, const ToolContext& ctx, float x, float y, bool onPress);
};

} // namespace orv
