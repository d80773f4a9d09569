#pragma once
// The text tool: a press opens the entry box at the pointer; committing prints its text onto
// the canvas, with an optional drop shadow offset across and down.
#include "tools/tool.h"

namespace orv {

class TextTool : public Tool {
public:
    void press(Canvas& canvas, const ToolContext& ctx, float x, float y) override;
    void move(Canvas&, const ToolContext&, int, float, float) override {}
};

struct TextShadow {
    bool on = false;
    double offset = 0;       // pixels, across and down
    ColorRef color = 0;
};

// Prints text with its top-left at (left, top) pixels in the canvas font and pen colour,
// the shadow first (under the text) when it is on. The canvas keeps its drawing unit and pen.
void CommitText(Canvas& canvas, const QString& text, float left, float top, const TextShadow& shadow);

// The entry box's width for a text: its width in the canvas font plus 40 pixels.
int TextBoxWidth(const Canvas& canvas, const QString& text);

} // namespace orv
