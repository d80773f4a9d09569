#include "documents/packed_picture.h"
#include "effects/row_shares.h"
#include "platform/color.h"
#include <QThreadPool>
#include <algorithm>
#include <atomic>
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
          dotsPerMeterX(picture.dotsPerMeterX()), dotsPerMeterY(picture.dotsPerMeterY()), image(picture)
    {
        for (const QString& key : picture.textKeys()) text.emplace_back(key, picture.text(key));
    }
    // What the picture carries besides its pixels (the resolution its file declared).
    void describe(QImage& out) const
    {
        out.setDotsPerMeterX(dotsPerMeterX);
        out.setDotsPerMeterY(dotsPerMeterY);
        for (const auto& [key, value] : text) out.setText(key, value);
    }
    const QSize size;
    const QImage::Format format;
    const qsizetype bytesPerLine;
    const int bandRows;   // the last band may have fewer
    const int dotsPerMeterX, dotsPerMeterY;
    std::vector<std::pair<QString, QString>> text;
    bool asked = false;   // the window thread's alone
    mutable std::mutex lock;
    QImage image;                  // until it is packed
    std::vector<QByteArray> bands;   // once packed: the rows of each band, packed
    int64_t packedBytes = 0;
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

QImage PackedPicture::picture() const
{
    if (!held_) return {};
    std::vector<QByteArray> bands;
    {
        const std::lock_guard guard(held_->lock);
        if (held_->bands.empty()) return held_->image;
        bands = held_->bands;   // shares the bytes
    }
    const Held& held = *held_;
    QImage out;
    try {
        out = held.format == kPixelFormat ? NewUninitializedPixelBuffer(held.size.width(), held.size.height())
                                          : QImage(held.size, held.format);
    } catch (const std::bad_alloc&) {
        return {};
    }
    if (out.isNull() || out.bytesPerLine() != held.bytesPerLine) return {};
    // Each band unpacks straight into its rows, all cores at once.
    uchar* const bits = out.bits();
    const int h = held.size.height();
    std::atomic<bool> whole{true};
    ForRowShares(0, int(bands.size()), int64_t(held.size.width()) * held.bandRows, [&](int from, int to) {
        for (int b = from; b < to; ++b) {
            const int y = b * held.bandRows, rows = std::min(held.bandRows, h - y);
            if (!UnpackBytes(bands[size_t(b)], bits + held.bytesPerLine * y, size_t(held.bytesPerLine) * size_t(rows)))
                whole = false;
        }
    });
    if (!whole) return {};
    held.describe(out);
    return out;
}

int64_t PackedPicture::bytes() const
{
    if (!held_) return 0;
    const std::lock_guard guard(held_->lock);
    return held_->bands.empty() ? held_->image.sizeInBytes() : held_->packedBytes;
}

} // namespace orv
