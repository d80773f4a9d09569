#pragma once
// The shared shape routines of the drawing tools and the program-wide rubber band of the
// shape tools. Corner points are whole numbers in the canvas's drawing unit, held in 32 bits
// so shapes work on pictures of any size.
#include "documents/canvas.h"
#include <QString>
#include <cstdint>

namespace orv {

enum ShapeKind : int16_t { kShapeEllipse = 2, kShapeLine = 3, kShapeBox = 4, kShapeFilledBox = 5 };

// The drag state of the shape tools, one for the whole program: State 1 while a shape is
// being dragged from (X1, Y1) to (X2, Y2), 0 at rest.
struct RubberBandRecord {
    int16_t State = 0;
    int32_t X1 = 0;
    int32_t Y1 = 0;
    int32_t X2 = 0;
    int32_t Y2 = 0;
};
extern RubberBandRecord RubberBand;

// Draws one shape between two corners (in any order) with the canvas's pen, width and mode:
// 2 ellipse inscribed in the box, 3 line, 4 box outline, 5 box filled in the pen colour.
// Lines and boxes leave the current point at (x2, y2).
void DrawShape(Canvas& canvas, int16_t kind, int32_t x1, int32_t y1, int32_t x2, int32_t y2);

// The ellipse inscribed in a drag box: centre (cx, cy), radius and aspect for Canvas::Circle.
struct EllipseInBox {
    double cx;      // may end in .5
    int32_t cy;     // rounded, halves to even
    int32_t radius; // half the larger side, rounded halves to even
    float aspect;   // height / width; 10000 for a box of zero width
};
EllipseInBox EllipseFor(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
void DrawEllipseInBox(Canvas& canvas, int32_t x1, int32_t y1, int32_t x2, int32_t y2);

// The status-bar read-out of a pixel value: "Color: R: 255. G: 0. B: 15".
QString ColorReadoutText(ColorRef c);

} // namespace orv
