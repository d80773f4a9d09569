#pragma once
// The pixels a drawn shape covers, as horizontal spans clipped to a surface.
//
// Shapes are rasterised into a SpanSet first and combined with the surface afterwards, so every
// covered pixel is combined exactly once however many pen stamps touch it. That is what makes
// an inverting pen (NOT(pen XOR old)) undo itself when the same shape is drawn again.
//
// Rules (all integer pixel coordinates, pixel (x, y) is the unit square at x, y):
//  - Pen of width d: a round stamp inscribed in the d x d square whose top-left is
//    (x - d/2, y - d/2) (integer halving); pixel (i, j) of the square belongs to it when its
//    centre is within d/2 of the square's centre. Widths 1 to 3 give full squares.
//  - Line: one centre pixel per step along the major axis, both endpoints included; the minor
//    coordinate is the exact one rounded with halves towards +y (or +x), computed from the
//    endpoints ordered along the major axis, so both directions give the same pixels.
//    The pen stamp is applied at every centre pixel.
//  - Box: the rectangle's outline drawn with a square pen of width d (offsets -d/2 .. d-1-d/2),
//    so corners are square and the outline grows by the same offsets on every side.
//  - Ellipse with centre (cx, cy) and semi-axes rx, ry (doubles): row y covers the columns
//    ceil(cx - h) .. floor(cx + h) with h = rx * sqrt(1 - ((y - cy) / ry)^2), for the rows
//    ceil(cy - ry) .. floor(cy + ry). An ellipse thinner than a pixel keeps one row (or one
//    column) at the centre rounded halves to even. The outline of width d is the region of
//    the ellipse grown by d-1-d/2 minus the inside of the ellipse shrunk by d/2, where the
//    inside is the set of pixels whose four neighbours also belong to the ellipse.
#include <cstdint>
#include <vector>

namespace orv {

struct PixelSpan {
    int y;
    int x0;
    int x1;   // inclusive
};

class SpanSet {
public:
    SpanSet(int width, int height) : width_(width), height_(height) {}
    int width() const { return width_; }
    int height() const { return height_; }
    // Adds the pixels x0..x1 of row y; parts outside the surface are dropped.
    void add(int64_t y, int64_t x0, int64_t x1);
    // The covered pixels ordered by row and column, each pixel in exactly one span.
    const std::vector<PixelSpan>& spans();

private:
    int width_;
    int height_;
    bool merged_ = true;
    std::vector<PixelSpan> spans_;
};

// A round pen of width d >= 1: for each row offset j in lo()..hi(), the stamp covers the
// column offsets left(j)..right(j) around the pen's pixel.
class RoundPen {
public:
    explicit RoundPen(int width);
    int lo() const { return lo_; }
    int hi() const { return hi_; }
    int left(int j) const { return rows_[j - lo_].first; }
    int right(int j) const { return rows_[j - lo_].second; }

private:
    int lo_;
    int hi_;
    std::vector<std::pair<int, int>> rows_;
};

void AddDot(SpanSet& out, const RoundPen& pen, int64_t x, int64_t y);
void AddLine(SpanSet& out, const RoundPen& pen, int64_t x1, int64_t y1, int64_t x2, int64_t y2);

// Outline of the box with corners (x1, y1), (x2, y2) in any order; interior, when given,
// receives the pixels inside the outline.
void AddBoxOutline(SpanSet& outline, SpanSet* interior, int width,
                   int64_t x1, int64_t y1, int64_t x2, int64_t y2);
// The box with its outline, all pixels in one set.
void AddFilledBox(SpanSet& out, int width, int64_t x1, int64_t y1, int64_t x2, int64_t y2);

// Ellipse outline of the pen width; interior, when given, receives the pixels inside it.
void AddEllipse(SpanSet& outline, SpanSet* interior, int width,
                double cx, double cy, double rx, double ry);

} // namespace orv
