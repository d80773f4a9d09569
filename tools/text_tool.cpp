#include "tools/text_tool.h"
#include <cmath>

namespace orv {

namespace {
constexpr int kBoxSpare = 40;
} // namespace

void TextTool::press(Canvas& canvas, const ToolContext& ctx, float x, float y)
{
    UsePixels(canvas, x, y);
    if (ctx.openTextBox) ctx.openTextBox(x, y);
}

void CommitText(Canvas& canvas, const QString& text, float left, float top, const TextShadow& shadow)
{
    const int16_t scale = canvas.ScaleMode();
    canvas.setScaleMode(kScalePixels);
    if (shadow.on) {
        const ColorRef pen = canvas.ForeColor();
        canvas.setCurrentX(float(left + shadow.offset));
        canvas.setCurrentY(float(top + shadow.offset));
        canvas.setForeColor(shadow.color);
        canvas.Print(text);
        canvas.setForeColor(pen);
    }
    canvas.setCurrentX(left);
    canvas.setCurrentY(top);
    canvas.Print(text);
    canvas.setScaleMode(scale);
}

int TextBoxWidth(const Canvas& canvas, const QString& text)
{
    // TextWidth answers in the drawing unit; the box is laid out in pixels.
    return int(std::lround(canvas.toPixels(canvas.TextWidth(text)))) + kBoxSpare;
}

} // namespace orv
