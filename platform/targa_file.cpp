#include "platform/targa_file.h"
#include "platform/color.h"
#include <algorithm>
#include <cstdint>

namespace orv {

namespace {

// The 18-byte header: id length, colour-map type, image type, colour-map first entry,
// length and entry size, x and y origin, width, height, bits a pixel, image descriptor.
constexpr int kHeaderBytes = 18;
constexpr int kGrey = 3, kGreyRle = 11, kTrueColour = 2;

int Byte(const QByteArray& b, int at) { return uint8_t(b[at]); }
int Le16(const QByteArray& b, int at) { return Byte(b, at) | Byte(b, at + 1) << 8; }

} // namespace

bool TargaRowsRunRightToLeft(const QByteArray& file)
{
    return file.size() >= kHeaderBytes && (Byte(file, 17) & 0x10);
}

bool IsTargaGreyWithAlpha(const QByteArray& file)
{
    if (file.size() < kHeaderBytes) return false;
    const int type = Byte(file, 2);
    return (type == kGrey || type == kGreyRle) && Byte(file, 16) == 16;
}

QSize TargaSize(const QByteArray& file)
{
    return file.size() >= kHeaderBytes ? QSize(Le16(file, 12), Le16(file, 14)) : QSize();
}

bool DecodeTargaGreyWithAlpha(const QByteArray& file, std::optional<ColorRef> background, QImage* picture,
                              QString* reason)
{
    const int w = Le16(file, 12), h = Le16(file, 14);
    const int64_t colourMapBytes = Byte(file, 1) ? int64_t(Le16(file, 5)) * ((Byte(file, 7) + 7) / 8) : 0;
    int64_t pos = kHeaderBytes + Byte(file, 0) + colourMapBytes;
    const bool rle = Byte(file, 2) == kGreyRle;
    const bool rightToLeft = Byte(file, 17) & 0x10, topDown = Byte(file, 17) & 0x20;

    QImage pixels = NewUninitializedPixelBuffer(w, h);
    uchar* const bits = pixels.bits();
    const qsizetype stride = pixels.bytesPerLine();
    // Each pixel's grey and alpha go straight to its place, then are composed there.
    int fx = 0, fy = 0;   // the next pixel in the file's order
    const auto put = [&](uint32_t grey, uint32_t alpha) {
        const int x = rightToLeft ? w - 1 - fx : fx, y = topDown ? fy : h - 1 - fy;
        reinterpret_cast<uint32_t*>(bits + y * stride)[x] = grey | grey << 8 | grey << 16 | alpha << 24;
        if (++fx == w) fx = 0, ++fy;
    };
    const char* in = file.constData();
    const int64_t size = file.size(), count = int64_t(w) * h;
    for (int64_t done = 0; done < count;) {
        int64_t run = 1;
        bool repeat = false;
        if (rle) {
            if (pos >= size) break;
            const int packet = uint8_t(in[pos++]);
            run = std::min<int64_t>((packet & 0x7F) + 1, count - done);
            repeat = packet & 0x80;
        }
        const int64_t need = repeat ? 2 : 2 * run;
        if (pos + need > size) break;
        for (int64_t i = 0; i < run; ++i)
            put(uint8_t(in[pos + (repeat ? 0 : 2 * i)]), uint8_t(in[pos + (repeat ? 1 : 2 * i + 1)]));
        pos += need;
        done += run;
    }
    if (fy < h) {
        *reason = QStringLiteral("the file is incomplete (the picture data ends early)");
        return false;
    }
    ComposeOntoBackground(pixels, background);
    *picture = std::move(pixels);
    return true;
}

} // namespace orv
