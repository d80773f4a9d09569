#include "platform/color.h"
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <utility>
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

namespace {

// A large buffer fresh from the system is zeroed page by page by the system on its first
// write, which takes about as long as a pass over the picture. Effects run one after another
// on pictures of one size, each with a new working copy and, for those that write into a
// picture of their own, a target picture; so the last two large buffers given back are kept
// (never more) and handed out again for the next buffers of the same rounded size.
class SpareBuffer {
public:
    void* take(size_t bytes)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (Kept& k : kept_)
            if (k.data && k.bytes == bytes) return std::exchange(k.data, nullptr);
        return nullptr;
    }
    void give(void* data, size_t bytes)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (kept_[1].data) {   // the older one makes room
            std::free(kept_[0].data);
            kept_[0] = kept_[1];
        }
        kept_[1] = {data, bytes};
    }

private:
    struct Kept {
        void* data = nullptr;
        size_t bytes = 0;
    };
    std::mutex mutex_;
    Kept kept_[2];   // kept_[1] is the younger
};

SpareBuffer& Spare()
{
    static auto* spare = new SpareBuffer;   // never destroyed: pictures may outlive statics
    return *spare;
}

struct LargeBuffer {
    void* data;
    size_t bytes;
};

} // namespace

// A large picture's memory is fresh from the system, and filling it in 4 KiB pages costs
// several times the copy itself. Photo-sized buffers are therefore aligned to 2 MB and asked
// for in huge pages where the system gives them on request: filling one then takes a few dozen
// page faults instead of tens of thousands.
QImage NewUninitializedPixelBuffer(int w, int h)
{
    constexpr size_t kHugePage = size_t(2) << 20;
    if (w <= 0 || h <= 0) return QImage();
    const size_t bytes = size_t(w) * size_t(h) * 4;
    if (bytes < 8 * kHugePage) {
        QImage img(w, h, kPixelFormat);
        if (img.isNull()) throw std::bad_alloc();
        return img;
    }
    const size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* data = Spare().take(rounded);
    if (!data) {
        data = std::aligned_alloc(kHugePage, rounded);
        if (!data) throw std::bad_alloc();
        AdviseHugePages(data, rounded);
    }
    auto* buffer = new LargeBuffer{data, rounded};
    return QImage(static_cast<uchar*>(data), w, h, w * 4, kPixelFormat, [](void* info) {
        const auto* b = static_cast<LargeBuffer*>(info);
        Spare().give(b->data, b->bytes);
        delete b;
    }, buffer);
}

void DetachPixelBuffer(QImage& picture)
{
    if (picture.isNull() || picture.isDetached() || picture.format() != kPixelFormat) return;
    QImage own = NewUninitializedPixelBuffer(picture.width(), picture.height());
    const size_t bytes = size_t(picture.width()) * 4;
    for (int y = 0; y < picture.height(); ++y) std::memcpy(own.scanLine(y), picture.constScanLine(y), bytes);
    own.setDotsPerMeterX(picture.dotsPerMeterX());
    own.setDotsPerMeterY(picture.dotsPerMeterY());
    for (const QString& key : picture.textKeys()) own.setText(key, picture.text(key));
    picture = own;
}

void ComposeOntoBackground(QImage& pixels, std::optional<ColorRef> background)
{
    const int w = pixels.width(), h = pixels.height();
    bool anyVisible = false;
    for (int y = 0; y < h && !anyVisible; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(pixels.constScanLine(y));
        for (int x = 0; x < w && !anyVisible; ++x) anyVisible = row[x] >> 24;
    }
    if (!background && anyVisible) {
        pixels.reinterpretAsFormat(QImage::Format_RGBA8888);
        return;
    }
    const ColorRef back = background.value_or(0);
    const uint32_t bg[3] = {uint32_t(RedOf(back)), uint32_t(GreenOf(back)), uint32_t(BlueOf(back))};
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(pixels.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const uint32_t p = row[x], a = anyVisible ? p >> 24 : 255;
            if (a == 255) {
                row[x] = p | kPixelOpaque;
                continue;
            }
            uint32_t c[3];
            for (int i = 0; i < 3; ++i) c[i] = ((p >> (8 * i) & 0xFF) * a + bg[i] * (255 - a) + 127) / 255;
            row[x] = c[0] | c[1] << 8 | c[2] << 16 | kPixelOpaque;
        }
    }
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

namespace {
// Qt keeps no zero resolution, so the declared one is also kept as text.
const QString kResolutionKey = QStringLiteral("Orvane.Resolution");
}

PictureResolution ResolutionOf(const QImage& picture)
{
    const QStringList parts = picture.text(kResolutionKey).split(QLatin1Char(','));
    if (parts.size() == 2) return {parts[0].toInt(), parts[1].toInt()};
    return {picture.dotsPerMeterX(), picture.dotsPerMeterY()};
}

void SetResolution(QImage& picture, PictureResolution r)
{
    picture.setText(kResolutionKey, QStringLiteral("%1,%2").arg(r.x).arg(r.y));
    if (r.x > 0) picture.setDotsPerMeterX(r.x);
    if (r.y > 0) picture.setDotsPerMeterY(r.y);
}

QImage ToPixelFormat(const QImage& image)
{
    if (image.format() == kPixelFormat) return image;
    return image.convertToFormat(kPixelFormat);
}

} // namespace orv
