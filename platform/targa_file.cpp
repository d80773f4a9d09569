#include "platform/targa_file.h"
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

bool ExpandTargaGreyWithAlpha(const QByteArray& file, QByteArray* out, QString* reason)
{
    const int64_t w = Le16(file, 12), h = Le16(file, 14);
    const int64_t colourMapBytes = Byte(file, 1) ? int64_t(Le16(file, 5)) * ((Byte(file, 7) + 7) / 8) : 0;
    int64_t pos = kHeaderBytes + Byte(file, 0) + colourMapBytes;
    const int64_t pixels = w * h;
    const bool rle = Byte(file, 2) == kGreyRle;

    QByteArray expanded(kHeaderBytes, '\0');
    expanded[2] = char(kTrueColour);
    for (int i = 12; i < 16; ++i) expanded[i] = file[i];   // width and height
    expanded[16] = char(32);
    expanded[17] = char((Byte(file, 17) & 0x30) | 8);
    expanded.resize(kHeaderBytes + pixels * 4);
    char* o = expanded.data() + kHeaderBytes;
    const char* in = file.constData();
    const int64_t size = file.size();
    const auto put = [&o](char grey, char alpha) {
        o[0] = o[1] = o[2] = grey;
        o[3] = alpha;
        o += 4;
    };
    for (int64_t done = 0; done < pixels;) {
        int64_t count = 1;
        bool repeat = false;
        if (rle) {
            if (pos >= size) break;
            const int packet = uint8_t(in[pos++]);
            count = std::min<int64_t>((packet & 0x7F) + 1, pixels - done);
            repeat = packet & 0x80;
        }
        const int64_t need = repeat ? 2 : 2 * count;
        if (pos + need > size) break;
        for (int64_t i = 0; i < count; ++i) put(in[pos + (repeat ? 0 : 2 * i)], in[pos + (repeat ? 1 : 2 * i + 1)]);
        pos += need;
        done += count;
    }
    if (o != expanded.constData() + expanded.size()) {
        *reason = QStringLiteral("the file is incomplete (the picture data ends early)");
        return false;
    }
    *out = std::move(expanded);
    return true;
}

} // namespace orv
