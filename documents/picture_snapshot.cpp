#include "documents/picture_snapshot.h"
#include "platform/color.h"
#include <algorithm>
#include <cstring>
#include <new>

namespace orv {

PictureSnapshot::PictureSnapshot(const QImage& picture)
    : bits_(picture.constBits()), stride_(size_t(picture.bytesPerLine())), width_(picture.width()),
      height_(picture.height()), rows_(size_t(picture.height()), Row::Unread), kept_(size_t(picture.height()), nullptr)
{
}

std::shared_ptr<PictureSnapshot> PictureSnapshot::Holding(const QImage& picture)
{
    const QImage pixels = ToPixelFormat(picture);
    auto snapshot = std::make_shared<PictureSnapshot>(pixels);
    snapshot->hold(pixels);
    return snapshot;
}

bool PictureSnapshot::readRows(int y0, int rows, uint8_t* out, size_t outStride)
{
    const size_t rowBytes = size_t(width_) * 4;
    std::lock_guard lock(mutex_);
    if (lost_) return false;
    for (int y = y0; y < y0 + rows; ++y, out += outStride) {
        const size_t i = size_t(y);
        if (rows_[i] == Row::Kept) {
            std::memcpy(out, kept_[i], rowBytes);
        } else {
            std::memcpy(out, bits_ + i * stride_, rowBytes);
        }
        rows_[i] = Row::Read;
    }
    return true;
}

void PictureSnapshot::keepRows(int y0, int y1)
{
    const size_t rowBytes = size_t(width_) * 4;
    std::lock_guard lock(mutex_);
    if (!held_.isNull() || lost_) return;
    y0 = std::max(y0, 0);
    y1 = std::min(y1, height_ - 1);
    const int unread = int(std::count(rows_.begin() + y0, rows_.begin() + y1 + 1, Row::Unread));
    if (unread == 0) return;
    // One block for all the rows kept now, in memory that is quick to fill (a large change
    // keeps many rows at once).
    QImage block;
    try {
        block = NewUninitializedPixelBuffer(width_, unread);
    } catch (const std::bad_alloc&) {
        lost_ = true;
        blocks_.clear();
        return;
    }
    uint8_t* to = block.bits();
    for (int y = y0; y <= y1; ++y) {
        const size_t i = size_t(y);
        if (rows_[i] != Row::Unread) continue;
        std::memcpy(to, bits_ + i * stride_, rowBytes);
        kept_[i] = to;
        rows_[i] = Row::Kept;
        to += block.bytesPerLine();
    }
    blocks_.push_back(std::move(block));
}

void PictureSnapshot::hold(const QImage& picture)
{
    std::lock_guard lock(mutex_);
    Q_ASSERT(picture.constBits() == bits_);
    held_ = picture;
}

} // namespace orv
