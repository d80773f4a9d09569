#pragma once
// What a document window shows of its picture at a zoom: screen pixels made straight from the
// picture's buffer. Zoomed in, each picture pixel is a sharp square; zoomed out, each screen
// pixel is the average of the picture pixels it covers, taken from a cached pyramid of half-size
// copies (each pixel the average of 2 x 2 of the level below) that is brought up to date only
// where the picture changed, and only when a zoom needs it.
#include <QImage>
#include <QRect>
#include <vector>

namespace orv {

class ZoomPyramid {
public:
    // The picture's pixels in `picture` changed (or all of them, after a size change).
    void invalidate(const QRect& picture);
    void clear() { levels_.clear(); }

    // Renders the screen pixels [x0, x0 + out.width()) x [y0, y0 + out.height()) of `picture`
    // shown at `scale` screen pixels per picture pixel into `out` (kPixelFormat). Screen pixels
    // beyond the picture are left as they are.
    void render(const QImage& picture, double scale, int x0, int y0, QImage& out);

    // Level `level` (0 is the picture itself) brought up to date; for tests and benchmarks.
    const QImage& level(const QImage& picture, int level);

private:
    // Levels 1..level brought up to date; the last level it could make (memory may give out).
    int build(const QImage& picture, int level);

    struct Level {
        QImage image;
        QRect dirty;   // in picture pixels
    };
    std::vector<Level> levels_;   // levels 1, 2, ...
};

} // namespace orv
