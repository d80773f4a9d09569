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

WorkingCopy::MappedRows WorkingCopy::mapRows(int from, int to)
{
    copyRowsUpTo(from);
    MappedRows rows;
    rows.out_ = image_.bits();
    rows.outStride_ = image_.bytesPerLine();
    rows.copied_ = copiedRows_;
    if (!source_.isNull()) {
        rows.in_ = source_.constBits();
        rows.inStride_ = source_.bytesPerLine();
    }
    copiedRows_ = std::max(copiedRows_, to);
    return rows;
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
