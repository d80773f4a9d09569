#include "platform/picture_codec.h"
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace orv {

namespace {

// A 2 x 1 24-bit bitmap declaring `perMetre` pixels per metre across and down.
QByteArray Bitmap(uint32_t perMetre)
{
    QByteArray b(54 + 8, '\0');
    auto put = [&b](int at, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) b[at + i] = char((v >> (8 * i)) & 0xFF);
    };
    b[0] = 'B';
    b[1] = 'M';
    put(2, 62, 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, 2, 4);
    put(22, 1, 4);
    put(26, 1, 2);
    put(28, 24, 2);
    put(34, 8, 4);
    put(38, perMetre, 4);
    put(42, perMetre, 4);
    const char pixels[8] = {1, 2, 3, 4, 5, 6, 0, 0};   // blue, green, red; row padded to 4
    std::memcpy(b.data() + 54, pixels, 8);
    return b;
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(PictureResolution, BitmapsAreWrittenBackByteForByteWhateverTheyDeclare)
{
    QTemporaryDir dir;
    // None declared, 72 dpi, 96 dpi as two programs round it, 300 dpi.
    for (uint32_t perMetre : {0u, 2835u, 3779u, 3780u, 11811u}) {
        SCOPED_TRACE(perMetre);
        const QString in = dir.filePath(QStringLiteral("in.bmp")), out = dir.filePath(QStringLiteral("out.bmp"));
        QFile f(in);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Bitmap(perMetre));
        f.close();
        const DecodedPicture d = DecodePictureFile(in);
        ASSERT_TRUE(d.ok()) << d.error.toStdString();
        QString error;
        ASSERT_TRUE(EncodeBmp24(d.image, out, &error)) << error.toStdString();
        EXPECT_EQ(ReadAll(out), Bitmap(perMetre));
    }
}

TEST(PictureResolution, JpegDeclaresWholeDotsPerInch)
{
    QTemporaryDir dir;
    QImage picture(4, 4, kPixelFormat);
    picture.fill(Qt::red);
    SetResolution(picture, {3779, 3779});   // 95.99 dpi
    QString error;
    ASSERT_TRUE(EncodeJpeg(picture, dir.filePath(QStringLiteral("a.jpg")), 85, &error));
    const QByteArray jpeg = ReadAll(dir.filePath(QStringLiteral("a.jpg")));
    // JFIF header: units at 13 (1 = dots per inch), then the two densities, big-endian.
    ASSERT_EQ(jpeg.mid(6, 4), QByteArray("JFIF"));
    EXPECT_EQ(jpeg[13], 1);
    EXPECT_EQ((uint8_t(jpeg[14]) << 8) | uint8_t(jpeg[15]), 96);
    EXPECT_EQ((uint8_t(jpeg[16]) << 8) | uint8_t(jpeg[17]), 96);
}

} // namespace orv
