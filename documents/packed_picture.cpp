#include "documents/packed_picture.h"
#include <zstd.h>

namespace orv {

namespace {
constexpr int kLevel = 1;
}

QByteArray PackBytes(const void* data, size_t size)
{
    QByteArray out(qsizetype(ZSTD_compressBound(size)), Qt::Uninitialized);
    const size_t n = ZSTD_compress(out.data(), size_t(out.size()), data, size, kLevel);
    if (ZSTD_isError(n)) return {};
    out.truncate(qsizetype(n));
    out.squeeze();
    return out;
}

bool UnpackBytes(const QByteArray& packed, void* out, size_t size)
{
    const size_t n = ZSTD_decompress(out, size, packed.constData(), size_t(packed.size()));
    return !ZSTD_isError(n) && n == size;
}

void PackedPicture::pack()
{
    if (tried_ || image_.isNull()) return;
    tried_ = true;
    const size_t raw = size_t(image_.sizeInBytes());
    QByteArray packed = PackBytes(image_.constBits(), raw);
    if (packed.isEmpty() || size_t(packed.size()) > raw - raw / 10) return;   // does not pay
    packed_ = std::move(packed);
    size_ = image_.size();
    format_ = image_.format();
    bytesPerLine_ = image_.bytesPerLine();
    image_ = QImage();
}

QImage PackedPicture::picture() const
{
    if (!isPacked()) return image_;
    QImage out(size_, format_);
    if (out.isNull() || out.bytesPerLine() != bytesPerLine_ ||
        !UnpackBytes(packed_, out.bits(), size_t(out.sizeInBytes())))
        return {};
    return out;
}

int64_t PackedPicture::bytes() const
{
    return isPacked() ? packed_.size() : image_.sizeInBytes();
}

} // namespace orv
