#include "effects/working_copy.h"
#include <algorithm>
#include <cstring>

namespace orv {

WorkingCopy::WorkingCopy(const QImage& canvasImage)
    : image_(NewUninitializedPixelBuffer(canvasImage.width(), canvasImage.height())),
      source_(ToPixelFormat(canvasImage))
{
    CopyResolution(source_, image_);
}

WorkingCopy::WorkingCopy(int w, int h) : image_(NewPixelBuffer(w, h, 0)), copiedRows_(h) {}

WorkingCopy::MappedRow WorkingCopy::mapRow(int y)
{
    auto* out = reinterpret_cast<uint32_t*>(image_.scanLine(y));
    if (y < copiedRows_) return {out, out};
    copyRowsUpTo(y);
    const auto* in = reinterpret_cast<const uint32_t*>(source_.constScanLine(y));
    copiedRows_ = y + 1;
    return {in, out};
}

void WorkingCopy::copyRowsUpTo(int end)
{
    const size_t rowBytes = static_cast<size_t>(width()) * 4;
    for (int y = copiedRows_; y < end; ++y)
        std::memcpy(image_.scanLine(y), source_.constScanLine(y), rowBytes);
    copiedRows_ = std::max(copiedRows_, end);
}

void WorkingCopy::replace(QImage result)
{
    image_ = std::move(result);
    copiedRows_ = image_.height();
}

} // namespace orv
