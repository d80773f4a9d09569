#include "documents/packed_picture.h"
#include "effects/row_shares.h"
#include "platform/color.h"
#include <QThreadPool>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <new>
#include <utility>
#include <vector>
#include <zstd.h>

namespace orv {

namespace {

constexpr int kLevel = 1;
// A held picture is packed in bands of rows of about this many bytes, each its own zstd frame,
// so that all cores unpack it at once. Large against zstd's window at kLevel (512 KiB): the
// bands pack nearly as small as one stream of the whole picture.
constexpr qsizetype kBandBytes = qsizetype(4) << 20;

struct PackingPool : QThreadPool {
    PackingPool() { setMaxThreadCount(1); }
};

} // namespace

struct PackedPicture::Held {
    explicit Held(const QImage& picture)
        : size(picture.size()), format(picture.format()), bytesPerLine(picture.bytesPerLine()),
          bandRows(int(std::clamp<qsizetype>(kBandBytes / std::max<qsizetype>(bytesPerLine, 1), 1, size.height()))),
          resolution(ResolutionOf(picture)), image(picture)
    {
    }
    const QSize size;
    const QImage::Format format;
    const qsizetype bytesPerLine;
    const int bandRows;   // the last band may have fewer
    const PictureResolution resolution;   // what the file declared travels with the pixels
    bool asked = false;   // the window thread's alone
    mutable std::mutex lock;
    QImage image;                  // until it is packed
    std::vector<QByteArray> bands;   // once packed: the rows of each band, packed; then unchanged
    int64_t packedBytes = 0;
    // Unpacking ahead on the packing thread: asked, under way, or neither; its picture.
    enum class Ahead : uint8_t { None, Asked, Running } ahead = Ahead::None;
    QImage unpacked;
    std::condition_variable aheadDone;

    QImage unpack() const;
};

// Each band unpacks straight into its rows, all cores at once.
QImage PackedPicture::Held::unpack() const
{
    QImage out;
    try {
        out = format == kPixelFormat ? NewUninitializedPixelBuffer(size.width(), size.height()) : QImage(size, format);
    } catch (const std::bad_alloc&) {
        return {};
    }
    if (out.isNull() || out.bytesPerLine() != bytesPerLine) return {};
    uchar* const bits = out.bits();
    const int h = size.height();
    std::atomic<bool> whole{true};
    ForRowShares(0, int(bands.size()), int64_t(size.width()) * bandRows, [&](int from, int to) {
        for (int b = from; b < to; ++b) {
            const int y = b * bandRows, rows = std::min(bandRows, h - y);
            if (!UnpackBytes(bands[size_t(b)], bits + bytesPerLine * y, size_t(bytesPerLine) * size_t(rows)))
                whole = false;
        }
    });
    if (!whole) return {};
    SetResolution(out, resolution);
    return out;
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
    return !held_->bands.empty();
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
        const int64_t raw = image.sizeInBytes();
        const int h = held->size.height();
        std::vector<QByteArray> bands;
        int64_t total = 0;
        for (int y = 0; y < h && total <= raw - raw / 10; y += held->bandRows) {
            const int rows = std::min(held->bandRows, h - y);
            bands.push_back(PackBytes(image.constScanLine(y), size_t(held->bytesPerLine) * size_t(rows)));
            if (bands.back().isEmpty()) return;
            total += bands.back().size();
        }
        if (total > raw - raw / 10) return;   // does not pay
        const std::lock_guard guard(held->lock);
        held->bands = std::move(bands);
        held->packedBytes = total;
        held->image = QImage();
    });
}

void PackedPicture::unpackAhead(int64_t room)
{
    if (!held_) return;
    {
        const std::lock_guard guard(held_->lock);
        if (held_->bands.empty() || held_->ahead != Held::Ahead::None || !held_->unpacked.isNull() ||
            int64_t(held_->bytesPerLine) * held_->size.height() > room)
            return;
        held_->ahead = Held::Ahead::Asked;
    }
    PackingThread().start([weak = std::weak_ptr<Held>(held_)] {
        const std::shared_ptr<Held> held = weak.lock();
        if (!held) return;
        {
            const std::lock_guard guard(held->lock);
            if (held->ahead != Held::Ahead::Asked) return;   // let go or taken meanwhile
            held->ahead = Held::Ahead::Running;
        }
        QImage unpacked = held->unpack();   // the bands stay as they are once packed
        const std::lock_guard guard(held->lock);
        if (held->ahead != Held::Ahead::Running) return;   // let go meanwhile
        held->unpacked = std::move(unpacked);
        held->ahead = Held::Ahead::None;
        held->aheadDone.notify_all();
    });
}

void PackedPicture::letGoAhead()
{
    if (!held_) return;
    const std::lock_guard guard(held_->lock);
    held_->unpacked = QImage();
    held_->ahead = Held::Ahead::None;   // an unpacking under way keeps nothing
}

QImage PackedPicture::picture() const
{
    if (!held_) return {};
    {
        std::unique_lock guard(held_->lock);
        if (held_->bands.empty()) return held_->image;
        // An unpacking under way is waited for; one not yet begun is done here.
        held_->aheadDone.wait(guard, [&] { return held_->ahead != Held::Ahead::Running; });
        held_->ahead = Held::Ahead::None;
        if (!held_->unpacked.isNull()) return held_->unpacked;
    }
    return held_->unpack();
}

int64_t PackedPicture::bytes() const
{
    if (!held_) return 0;
    const std::lock_guard guard(held_->lock);
    return held_->bands.empty() ? held_->image.sizeInBytes() : held_->packedBytes + held_->unpacked.sizeInBytes();
}

} // namespace orv
