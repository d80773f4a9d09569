#pragma once
// The drawing tools: each turns presses, moves and releases on a canvas (coordinates in the
// canvas's drawing unit) into drawing. The document window only dispatches to them; what a
// tool needs from the colour panel and the window comes through ToolContext. Tools keep no
// state of their own (the shape tools share the program-wide RubberBand), so one instance of
// each serves every document.
#include "documents/canvas.h"
#include <QString>
#include <functional>

namespace orv {

struct ToolContext {
    int eraserWidth = 1;   // the eraser width box's value
    // A picked colour: the panel's swatch and sliders follow it; onPress also moves the
    // selection border to the custom-colour cell.
    std::function<void(ColorRef color, bool onPress)> colorPicked;
    // The text tool's press: open the entry box with its top-left at (x, y) pixels.
    std::function<void(float x, float y)> openTextBox;
    int button = 1;      // the button of a press (1 left, 2 right)
    int zoomLevel = 3;    // the Zoom panel's "Level:": zoom steps per click
    // The Zoom tool's click: zoom by `steps` (negative: out) keeping pixel (x, y) in its place.
    std::function<void(int steps, float x, float y)> zoomAbout;
};

class Tool {
public:
    virtual ~Tool() = default;
    virtual void press(Canvas& canvas, const ToolContext& ctx, float x, float y) = 0;
    // button: the mask of buttons held (1 left, 2 right).
    virtual void move(Canvas& canvas, const ToolContext& ctx, int button, float x, float y) = 0;
    virtual void release(Canvas&, int /*button*/) {}
    // False for a tool that changes only the view (Zoom): it takes presses of either button,
    // and its presses take no undo snapshot and leave the document unchanged.
    virtual bool changesPicture() const { return true; }
};

// The tool of a tool name ("FreeDraw", "Circle", ...); nullptr for "Effects" and any
// unknown name, which draw nothing.
Tool* FindTool(const QString& toolName);

// The pointer a tool shows over the canvas with the "Normal" pointer preference: the text
// cursor for the text tool, the arrow for every other.
Qt::CursorShape ToolPointer(const QString& toolName);

// Sets the canvas's drawing unit to pixels, converting a point given in the old unit.
void UsePixels(Canvas& canvas, float& x, float& y);

// The thirteen buttons of the tool toolbar, in order: key, tooltip, tool name (empty for the
// button that keeps the current tool).
struct ToolButtonInfo {
    const char* key;
    const char* tip;
    const char* toolName;
};
inline constexpr ToolButtonInfo kToolButtons[13] = {
    {"Freedraw", "Freeform", "FreeDraw"},
    {"Ellipse", "Ellipse", "Circle"},
    {"Rect", "Rectangle", "Rectangle"},
    {"FillRect", "Filled rectangle", "FillRectangle"},
    {"Line", "Line", "Line"},
    {"Chalk", "Chalk", "Chalk"},
    {"Fill", "Fill", "Fill"},
    {"Color", "Pick color", "PickColor"},
    {"Zoom", "Zoom", "Zoom"},
    {"Delete", "Delete", "Eraser"},
    {"Text", "Text", "Text"},
    {"Effcts", "Effects toolbar", "Effects"},
    {"Polygon", "Polygon", ""},
};

} // namespace orv
