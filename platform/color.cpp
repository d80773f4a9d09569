#include "platform/color.h"

namespace orv {

QImage NewPixelBuffer(int w, int h, ColorRef fill)
{
    QImage img(w, h, kPixelFormat);
    if (!img.isNull()) {
        const uint32_t p = ToPixel(fill);
        for (int y = 0; y < h; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(img.scanLine(y));
            std::fill(row, row + w, p);
        }
    }
    return img;
}

QImage ToPixelFormat(const QImage& image)
{
    if (image.format() == kPixelFormat) return image;
    return image.convertToFormat(kPixelFormat);
}

} // namespace orv
