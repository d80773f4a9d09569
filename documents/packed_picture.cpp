#include "documents/packed_picture.h"
#include <QThreadPool>
#include <mutex>
#include <zstd.h>

namespace orv {

namespace {

constexpr int kLevel = 1;

struct PackingPool : QThreadPool {
    PackingPool() { setMaxThreadCount(1); }
};

} // namespace

struct PackedPicture::Held {
    explicit Held(const QImage& picture)
        : size(picture.size()), format(picture.format()), bytesPerLine(picture.bytesPerLine()), image(picture)
    {
    }
    const QSize size;
    const QImage::Format format;
    const qsizetype bytesPerLine;
    bool asked = false;   // the window thread's alone
    mutable std::mutex lock;
    QImage image;         // until it is packed
    QByteArray packed;
};

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

QThreadPool& PackingThread()
{
    static PackingPool pool;   // its end waits for the picture in hand
    return pool;
}

PackedPicture::PackedPicture(const QImage& picture)
{
    if (!picture.isNull()) held_ = std::make_shared<Held>(picture);
}

bool PackedPicture::isPacked() const
{
    if (!held_) return false;
    const std::lock_guard guard(held_->lock);
    return !held_->packed.isEmpty();
}

void PackedPicture::pack()
{
    if (!held_ || held_->asked) return;
    held_->asked = true;
    PackingThread().start([weak = std::weak_ptr<Held>(held_)] {
        const std::shared_ptr<Held> held = weak.lock();
        if (!held) return;
        QImage image;   // a shared copy: the pixels stay put while they are read
        {
            const std::lock_guard guard(held->lock);
            image = held->image;
        }
        const size_t raw = size_t(image.sizeInBytes());
        QByteArray packed = PackBytes(image.constBits(), raw);
        if (packed.isEmpty() || size_t(packed.size()) > raw - raw / 10) return;   // does not pay
        const std::lock_guard guard(held->lock);
        held->packed = std::move(packed);
        held->image = QImage();
    });
}

QImage PackedPicture::picture() const
{
    if (!held_) return {};
    QByteArray packed;
    {
        const std::lock_guard guard(held_->lock);
        if (held_->packed.isEmpty()) return held_->image;
        packed = held_->packed;
    }
    QImage out(held_->size, held_->format);
    if (out.isNull() || out.bytesPerLine() != held_->bytesPerLine ||
        !UnpackBytes(packed, out.bits(), size_t(out.sizeInBytes())))
        return {};
    return out;
}

int64_t PackedPicture::bytes() const
{
    if (!held_) return 0;
    const std::lock_guard guard(held_->lock);
    return held_->packed.isEmpty() ? held_->image.sizeInBytes() : held_->packed.size();
}

} // namespace orv
