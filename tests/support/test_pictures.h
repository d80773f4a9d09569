#pragma once
// Helpers shared by the tests: pixel words of a buffer, a picture of all-different pixels,
// and whole-file reads and writes.
#include "platform/color.h"
#include <QFile>
#include <gtest/gtest.h>

namespace orv::test {

inline ColorRef At(const QImage& img, int x, int y = 0)
{
    return FromPixel(reinterpret_cast<const uint32_t*>(img.constScanLine(y))[x]);
}

inline void Put(QImage& img, int x, int y, ColorRef c) { reinterpret_cast<uint32_t*>(img.scanLine(y))[x] = ToPixel(c); }

// Every pixel a colour of its own: red = x, green = y, blue from both.
inline QImage Numbered(int w, int h)
{
    QImage img = NewPixelBuffer(w, h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) Put(img, x, y, RGB(x % 256, y % 256, (x / 256) * 16 + y / 256));
    return img;
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

} // namespace orv::test
