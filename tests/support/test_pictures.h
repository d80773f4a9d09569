#pragma once
// Helpers shared by the tests: pixel words of a buffer, pictures given by rows or of
// all-different pixels, whole-file reads and writes, and a progress sink.
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
