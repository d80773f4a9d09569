#include "tools/tool.h"
#include "tools/chalk_tool.h"
#include "tools/draw_tools.h"
#include "tools/eraser_tool.h"
#include "tools/fill_tool.h"
#include "tools/freehand_tool.h"
#include "tools/pick_color_tool.h"
#include "tools/shape_tool.h"
#include "tools/text_tool.h"
#include "tools/zoom_tool.h"

namespace orv {

Tool* FindTool(const QString& toolName)
{
    static FreehandTool freehand;
    static EraserTool eraser;
    static ChalkTool chalk;
    static FillTool fill;
    static PickColorTool pick;
    static ZoomTool zoom;
    static TextTool text;
    static ShapeTool ellipse(kShapeEllipse), line(kShapeLine), box(kShapeBox), filledBox(kShapeFilledBox);
    static const std::pair<QString, Tool*> tools[] = {
        {QStringLiteral("FreeDraw"), &freehand}, {QStringLiteral("Eraser"), &eraser},
        {QStringLiteral("Chalk"), &chalk},       {QStringLiteral("Fill"), &fill},
        {QStringLiteral("PickColor"), &pick},    {QStringLiteral("Zoom"), &zoom},
        {QStringLiteral("Text"), &text},         {QStringLiteral("Circle"), &ellipse},
        {QStringLiteral("Line"), &line},         {QStringLiteral("Rectangle"), &box},
        {QStringLiteral("FillRectangle"), &filledBox},
    };
    for (const auto& [name, tool] : tools)
        if (name == toolName) return tool;
    return nullptr;
}

Qt::CursorShape ToolPointer(const QString& toolName)
{
    return toolName == QLatin1String("Text") ? Qt::IBeamCursor : Qt::ArrowCursor;
}

void UsePixels(Canvas& canvas, float& x, float& y)
{
    x = float(canvas.toPixels(x));
    y = float(canvas.toPixels(y));
    canvas.setScaleMode(kScalePixels);
}

} // namespace orv
