// Hostile picture files: sizes claimed beyond what the file can hold or the limits allow, and
// files far longer than their picture, are refused or read only as far as needed.
#include "documents/image_loader.h"
#include <Magick++.h>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>
#include "tests/support/test_pictures.h"

namespace orv {

namespace {

class CodecLimits : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsurePictureCodecsReady();
        Magick::CoderInfo png("PNG");   // loads the PNG coder, which brings its PNG24, PNG64, ... names
    }
    QString write(const QString& name, const QByteArray& bytes)
    {
        test::WriteAll(dir.filePath(name), bytes);
        return dir.filePath(name);
    }
    // A picture of w x h in GraphicsMagick's PNG `format`, with every channel varying.
    QString png(const QString& name, const char* format, bool interlaced, int w = 13, int h = 11)
    {
        Magick::Image image(Magick::Geometry(w, h), Magick::Color("white"));
        image.modifyImage();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                image.pixelColor(x, y, Magick::ColorRGB((x * 37 % 256) / 255.0, (y * 53 % 256) / 255.0,
                                                        ((x + y) * 29 % 256) / 255.0));
        image.opacity(0);
        for (int x = 0; x < w; x += 3) image.pixelColor(x, 0, Magick::Color(MaxRGB / 3, 0, MaxRGB, MaxRGB / 2));
        if (interlaced) image.interlaceType(Magick::LineInterlace);
        const QString file = dir.filePath(name);
        image.write(std::string(format) + ":" + file.toStdString());
        return file;
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(CodecLimits, ClaimsBeyondTheFileOrTheLimitsAreRefused)
{
    // A run-length PCX header claiming 65535 bytes a line, 255 planes and 65536 rows, with a
    // few bytes of data: measured a block at a time, it ends early.
    QByteArray pcx(128, '\0');
    pcx[0] = 10, pcx[1] = 5, pcx[2] = 1, pcx[3] = 8, pcx[65] = char(255);
    pcx.replace(8, 2, test::Le(0xFFFF, 2)), pcx.replace(10, 2, test::Le(0xFFFF, 2)), pcx.replace(66, 2, test::Le(0xFFFF, 2));
    // A grey Targa picture with alpha, 65535 pixels a side.
    QByteArray tga(18, '\0');
    tga[2] = 3, tga[16] = 16;
    tga.replace(12, 2, test::Le(0xFFFF, 2)), tga.replace(14, 2, test::Le(0xFFFF, 2));
    // An interlaced 16-bit PNG cut off in its picture data.
    QByteArray cut = test::ReadAll(png("whole.png", "PNG64", true, 200, 150));
    cut.chop(cut.size() / 3);
    const struct { const char* name; QByteArray file; const char* reason; } cases[] = {
        {"lines.pcx", pcx + QByteArray(64, '\x11'), "the file is incomplete (the picture data ends early)"},
        {"grey.tga", tga + QByteArray(64, '\0'), "the picture is too large (65535 pixels wide; at most 32768)"},
        {"cut.png", cut, "the file is incomplete"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DecodedPicture d = ReadPictureFile(write(c.name, c.file));
        EXPECT_FALSE(d.ok());
        EXPECT_TRUE(d.error.contains(c.reason)) << d.error.toStdString();
    }
}

TEST_F(CodecLimits, AFileFarLongerThanItsPictureOpensFromItsStart)
{
    // A 16 x 16 picture followed by 3 GB of nothing (a sparse file): only the start is read.
    const QString small = png("small.png", "PNG24", false, 16, 16);
    const DecodedPicture expected = ReadPictureFile(small);
    ASSERT_TRUE(expected.ok());
    ASSERT_EQ(::truncate(QFile::encodeName(small).constData(), off_t{3} << 30), 0);
    const DecodedPicture long_ = ReadPictureFile(small);
    ASSERT_TRUE(long_.ok()) << long_.error.toStdString();
    EXPECT_EQ(long_.image, expected.image);
}

TEST_F(CodecLimits, InterlacedPngsDecodedRowByRowMatchTheirPlainTwins)
{
    // The plain files go through the general decoder; the interlaced ones are decoded a row of a
    // pass at a time straight into 8-bit pixels. Both compose alpha onto the background.
    for (const char* format : {"PNG64", "PNG32", "PNG48"}) {
        SCOPED_TRACE(format);
        const QString name = QString::fromLatin1(format);
        const DecodedPicture plain = ReadPictureFile(png(name + ".png", format, false), 0x3060C0);
        const DecodedPicture interlaced = ReadPictureFile(png(name + "i.png", format, true), 0x3060C0);
        ASSERT_TRUE(plain.ok() && interlaced.ok()) << interlaced.error.toStdString();
        ASSERT_EQ(interlaced.image.size(), plain.image.size());
        for (int y = 0; y < plain.image.height(); ++y)
            for (int x = 0; x < plain.image.width(); ++x)
                ASSERT_EQ(test::At(interlaced.image, x, y), test::At(plain.image, x, y)) << x << "," << y;
    }
}

} // namespace orv
