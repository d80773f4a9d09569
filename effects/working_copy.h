#pragma once
// The off-screen working copy of an effect run: exactly W x H pixels, filled by a straight copy
// of the canvas. A read outside returns 0xFFFFFFFF (-1); a write outside is ignored.
// Kernels work on rows() directly; Get/Set serve the edge cases and tests.
#include "platform/color.h"
#include <QImage>

namespace orv {

class WorkingCopy {
public:
    explicit WorkingCopy(const QImage& canvasImage) : image_(CopyPixelBuffer(canvasImage)) {}
    WorkingCopy(int w, int h) : image_(NewPixelBuffer(w, h, 0)) {}

    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width() && y < height(); }

    ColorRef Get(int x, int y) const
    {
        return inside(x, y) ? FromPixel(row(y)[x]) : kInvalidColor;
    }
    void Set(int x, int y, ColorRef c)
    {
        if (inside(x, y)) row(y)[x] = ToPixel(c);
    }

    uint32_t* row(int y) { return reinterpret_cast<uint32_t*>(image_.scanLine(y)); }
    const uint32_t* row(int y) const { return reinterpret_cast<const uint32_t*>(image_.constScanLine(y)); }
    QImage& image() { return image_; }
    const QImage& image() const { return image_; }

private:
    QImage image_;
};

} // namespace orv
