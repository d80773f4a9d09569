// 24-bit bitmaps read and written straight between the file and the pixel buffer: written
// files byte for byte those GraphicsMagick's writer makes, damaged files its refusals.
#include "platform/color.h"
#include "platform/picture_codec.h"
#include "tests/support/test_pictures.h"
#include <Magick++.h>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace orv {

namespace {

using test::Le;
using test::ReadAll;
using test::WriteAll;

// What GraphicsMagick writes for the picture as a version 3, 24-bit uncompressed bitmap
// declaring the resolution in pixels per centimetre (a hair above, as its writer truncates).
QByteArray MagickBmp(const QImage& picture, PictureResolution r, const QString& file)
{
    EnsurePictureCodecsReady();
    Magick::Image image(picture.width(), picture.height(), "RGBA", Magick::CharPixel, picture.constBits());
    image.matte(false);
    image.type(Magick::TrueColorType);
    image.depth(8);
    MagickLib::Image* im = image.image();
    im->units = MagickLib::PixelsPerCentimeterResolution;
    im->x_resolution = r.x > 0 ? (r.x + 1e-6) / 100.0 : 0.0;
    im->y_resolution = r.y > 0 ? (r.y + 1e-6) / 100.0 : 0.0;
    image.write(("BMP3:" + file).toStdString());
    return ReadAll(file);
}

// A bottom-up 24-bit bitmap of w x h whose info header has `infoBytes` bytes (40, 108, 124)
// and whose pixels start `gap` bytes after it; pixel (x, y) is NumberedColor(x, y).
QByteArray Bitmap(int w, int h, int infoBytes, int gap, int perMetre)
{
    const int row = (w * 3 + 3) & ~3;
    const int dataAt = 14 + infoBytes + gap;
    QByteArray b = "BM" + Le(uint32_t(dataAt + row * h), 4) + Le(0, 4) + Le(uint32_t(dataAt), 4);
    b += Le(uint32_t(infoBytes), 4) + Le(uint32_t(w), 4) + Le(uint32_t(h), 4) + Le(1, 2) + Le(24, 2) + Le(0, 4) +
         Le(uint32_t(row * h), 4) + Le(uint32_t(perMetre), 4) + Le(uint32_t(perMetre), 4) + Le(0, 4) + Le(0, 4);
    b += QByteArray(infoBytes - 40 + gap, '\x5A');
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const ColorRef c = test::NumberedColor(x, y);
            b += char(BlueOf(c)), b += char(GreenOf(c)), b += char(RedOf(c));
        }
        b += QByteArray(row - w * 3, '\0');
    }
    return b;
}

class BmpCodec : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

} // namespace

TEST_F(BmpCodec, WrittenFilesAreByteForByteWhatGraphicsMagickWrites)
{
    // Widths of every row padding (0 to 3 bytes), a band boundary (over 4 MiB of rows), and
    // resolutions none, 72, 96 and 300 dots per inch.
    const struct {
        int w, h;
        PictureResolution r;
    } cases[] = {{1, 1, {0, 0}}, {2, 3, {2835, 2835}}, {3, 2, {3780, 3779}}, {4, 5, {11811, 0}},
                 {37, 23, {3780, 3780}}, {1501, 1000, {2835, 11811}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        QImage picture = test::Numbered(c.w, c.h);
        SetResolution(picture, c.r);
        QString error;
        ASSERT_TRUE(EncodeBmp24(picture, path("ours.bmp"), &error)) << error.toStdString();
        const QByteArray ours = ReadAll(path("ours.bmp"));
        EXPECT_TRUE(ours == MagickBmp(picture, c.r, path("theirs.bmp")));
        // The declared resolution at bytes 38 and 42, in pixels per metre.
        EXPECT_EQ(ours.mid(38, 8), Le(uint32_t(c.r.x), 4) + Le(uint32_t(c.r.y), 4));
        const DecodedPicture back = DecodePictureFile(path("ours.bmp"));
        EXPECT_EQ(back.image, picture);
        EXPECT_EQ(ResolutionOf(back.image).x, c.r.x);
        EXPECT_EQ(ResolutionOf(back.image).y, c.r.y);
    }
}

TEST_F(BmpCodec, ReadFilesGiveTheirPixelsAndResolution)
{
    // Version 3, 4 and 5 headers; pixels right after them or after a gap (a palette a 24-bit
    // file need not have); every row padding.
    const struct {
        int w, h, infoBytes, gap, perMetre;
    } cases[] = {{5, 3, 40, 0, 0}, {6, 4, 40, 12, 2835}, {7, 2, 108, 0, 3780}, {8, 9, 124, 4, 11811}, {300, 40, 40, 0, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h << " header " << c.infoBytes << " gap " << c.gap);
        WriteAll(path("in.bmp"), Bitmap(c.w, c.h, c.infoBytes, c.gap, c.perMetre));
        const DecodedPicture d = DecodePictureFile(path("in.bmp"));
        ASSERT_TRUE(d.ok()) << d.error.toStdString();
        EXPECT_EQ(d.image.format(), kPixelFormat);
        EXPECT_EQ(d.image, test::Numbered(c.w, c.h));
        EXPECT_EQ(ResolutionOf(d.image).x, c.perMetre);
        EXPECT_EQ(ResolutionOf(d.image).y, c.perMetre);
    }
}

TEST_F(BmpCodec, CutAndDamagedFilesAreRefusedAsBefore)
{
    const QByteArray whole = Bitmap(64, 48, 40, 0, 0);
    for (int keep : {2, 30, 53, 54, 200, int(whole.size()) / 2, int(whole.size()) - 1}) {
        SCOPED_TRACE(keep);
        WriteAll(path("cut.bmp"), whole.left(keep));
        const DecodedPicture d = DecodePictureFile(path("cut.bmp"));
        EXPECT_FALSE(d.ok());
        EXPECT_EQ(d.error.toStdString(),
                  OpenError(path("cut.bmp"), QStringLiteral("the file is damaged or incomplete (Improper image header)"))
                      .toStdString());
    }
    // Pixels said to start beyond the end.
    QByteArray far = whole;
    far.replace(10, 4, Le(0x7FFFFFF0u, 4));
    WriteAll(path("far.bmp"), far);
    EXPECT_FALSE(DecodePictureFile(path("far.bmp")).ok());
}

} // namespace orv
