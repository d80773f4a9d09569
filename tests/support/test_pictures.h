#pragma once
// Helpers shared by the tests: pixel words of a buffer, pictures given by rows or of
// all-different pixels, whole-file reads and writes, little-endian fields, a GIF header
// claiming any size, a metafile of rectangles, and a progress sink.
#include "effects/column_passes.h"
#include "platform/color.h"
#include <QFile>
#include <gtest/gtest.h>
#include <vector>

namespace orv::test {

inline ColorRef At(const QImage& img, int x, int y = 0)
{
    return FromPixel(reinterpret_cast<const uint32_t*>(img.constScanLine(y))[x]);
}

inline void Put(QImage& img, int x, int y, ColorRef c) { reinterpret_cast<uint32_t*>(img.scanLine(y))[x] = ToPixel(c); }

using Grid = std::vector<std::vector<ColorRef>>;

// A picture given as rows of colours.
inline QImage Rows(const Grid& rows)
{
    QImage img = NewPixelBuffer(int(rows[0].size()), int(rows.size()), 0);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) Put(img, x, y, rows[y][x]);
    return img;
}

// Every pixel a colour of its own: red = x, green = y, blue from both (up to 4096 x 4096).
inline ColorRef NumberedColor(int x, int y) { return RGB(x % 256, y % 256, (x / 256) * 16 + y / 256); }
inline QImage Numbered(int w, int h)
{
    QImage img = NewPixelBuffer(w, h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) Put(img, x, y, NumberedColor(x, y));
    return img;
}
// The pixel of a Numbered picture a colour came from.
inline QPoint NumberedOrigin(ColorRef c)
{
    return {RedOf(c) + 256 * (BlueOf(c) / 16), GreenOf(c) + 256 * (BlueOf(c) % 16)};
}

inline QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// `bytes` little-endian bytes of v.
inline QByteArray Le(uint64_t v, int bytes)
{
    QByteArray b;
    for (int i = 0; i < bytes; ++i) b += char(i < 8 ? (v >> (8 * i)) & 0xFF : 0);
    return b;
}

// A metafile whose placeable header claims a bounding box of w x h units at `unitsPerInch`
// (72: one unit a pixel), drawing `rectangles` rectangles over the whole box. `maxRecord` is
// the size of the largest record the header claims, in 16-bit words (a rectangle's is 7).
inline QByteArray MakeWmf(int w, int h, int unitsPerInch, int maxRecord = 7, int rectangles = 1)
{
    QByteArray placeable = Le(0x9AC6CDD7u, 4) + Le(0, 2) + Le(0, 2) + Le(0, 2) + Le(uint32_t(w), 2) +
                           Le(uint32_t(h), 2) + Le(uint32_t(unitsPerInch), 2) + Le(0, 4);
    uint16_t checksum = 0;
    for (int i = 0; i < 20; i += 2) checksum ^= uint16_t(uint8_t(placeable[i]) | uint8_t(placeable[i + 1]) << 8);
    placeable += Le(checksum, 2);
    QByteArray records;
    for (int i = 0; i < rectangles; ++i)   // bottom, right, top, left
        records += Le(7, 4) + Le(0x041B, 2) + Le(uint32_t(h), 2) + Le(uint32_t(w), 2) + Le(0, 2) + Le(0, 2);
    records += Le(3, 4) + Le(0, 2);   // end
    const QByteArray header = Le(1, 2) + Le(9, 2) + Le(0x300, 2) + Le(uint32_t(18 + records.size()) / 2, 4) + Le(0, 2) +
                              Le(uint32_t(maxRecord), 4) + Le(0, 2);
    return placeable + header + records;
}

// A PNG chunk: length, type, data and CRC.
inline QByteArray PngChunk(const QByteArray& type, const QByteArray& data)
{
    const auto be32 = [](uint32_t v) {
        const char b[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
        return QByteArray(b, 4);
    };
    uint32_t crc = 0xFFFFFFFFu;
    for (char c : type + data) {
        crc ^= uint8_t(c);
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return be32(uint32_t(data.size())) + type + data + be32(~crc);
}

// A PNG whose header claims w x h 8-bit RGB pixels, with a few bytes of picture data.
inline QByteArray PngClaiming(uint32_t w, uint32_t h)
{
    const char sides[8] = {char(w >> 24), char(w >> 16), char(w >> 8), char(w), char(h >> 24), char(h >> 16), char(h >> 8), char(h)};
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", QByteArray(sides, 8) + QByteArray("\x08\x02\x00\x00\x00", 5)) +
           PngChunk("IDAT", QByteArray("\x78\x9c\x63\x00\x00", 5)) + PngChunk("IEND", {});
}

// A GIF with a 2-colour table whose screen and one frame claim w x h (the data is a few
// bytes).
inline QByteArray GifClaiming(uint16_t w, uint16_t h)
{
    const char sides[4] = {char(w & 0xFF), char(w >> 8), char(h & 0xFF), char(h >> 8)};
    const QByteArray size(sides, 4);
    return "GIF89a" + size + QByteArray("\x80\x00\x00", 3) + QByteArray(6, '\0') + QByteArray(",\0\0\0\0", 5) + size +
           QByteArray("\x00\x02\x02\x4c\x01\x00;", 7);
}

// Records progress values; asks to cancel at the cancel test number `cancelAt` (1-based).
class RecordingSink : public ProgressSink {
public:
    explicit RecordingSink(int cancelAt = 0) : cancelAt_(cancelAt) {}
    void setProgress(float value) override { values.push_back(value); }
    bool cancelRequested() override { return ++tests_ == cancelAt_; }
    std::vector<float> values;

private:
    int cancelAt_;
    int tests_ = 0;
};

} // namespace orv::test
