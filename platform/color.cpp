#include "platform/color.h"
#include <cstring>
#include <sys/mman.h>

namespace orv {

void AdviseHugePages(void* begin, size_t bytes)
{
    constexpr uintptr_t kHugePage = uintptr_t{2} << 20;
    const auto start = reinterpret_cast<uintptr_t>(begin);
    const uintptr_t first = (start + kHugePage - 1) & ~(kHugePage - 1);
    const uintptr_t last = (start + bytes) & ~(kHugePage - 1);
    if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

// A large picture's memory is fresh from the system, and filling it in 4 KiB pages costs
// several times the copy itself; advising huge pages for it makes the first write about as
// cheap as a copy into memory already in use.
QImage NewUninitializedPixelBuffer(int w, int h)
{
    QImage img(w, h, kPixelFormat);
    if (!img.isNull()) AdviseHugePages(img.bits(), static_cast<size_t>(img.sizeInBytes()));
    return img;
}

QImage NewPixelBuffer(int w, int h, ColorRef fill)
{
    QImage img = NewUninitializedPixelBuffer(w, h);
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

QImage CopyPixelBuffer(const QImage& image)
{
    const QImage src = ToPixelFormat(image);
    QImage copy = NewUninitializedPixelBuffer(src.width(), src.height());
    if (copy.isNull()) return copy;
    copy.setDotsPerMeterX(src.dotsPerMeterX());
    copy.setDotsPerMeterY(src.dotsPerMeterY());
    const size_t rowBytes = static_cast<size_t>(src.width()) * 4;
    if (src.bytesPerLine() == copy.bytesPerLine()) {
        std::memcpy(copy.bits(), src.constBits(), static_cast<size_t>(src.sizeInBytes()));
    } else {
        for (int y = 0; y < src.height(); ++y)
            std::memcpy(copy.scanLine(y), src.constScanLine(y), rowBytes);
    }
    return copy;
}

} // namespace orv
