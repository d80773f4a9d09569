// JPEGs decoded and encoded straight between the file and the pixel buffer: every kind of JPEG
// gives the pixels and resolution GraphicsMagick's decode of the same file gives, damaged files
// the same refusals, and written files the quality, chroma sampling and density asked for.
#include "platform/color.h"
#include "platform/picture_codec.h"
#include "tests/support/jpeg_tables.h"
#include "tests/support/test_pictures.h"
#include <Magick++.h>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace orv {

namespace {

using test::ReadAll;
using test::WriteAll;

// Smooth gradients with sharp edges and fine detail, of a size that is no whole number of
// 16 x 16 blocks, so that every kind of chroma upsampling has edges to handle.
QImage Photo(int w = 75, int h = 53)
{
    QImage img = NewPixelBuffer(w, h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            test::Put(img, x, y, RGB(x * 255 / w, ((x / 5 + y / 3) & 1) ? 230 : 40, (x * y) & 255));
    return img;
}

// The pixels GraphicsMagick decodes from the file, CMYK turned into RGB as it does it, and
// the resolution it reads, in pixels per metre.
struct Reference {
    QImage image;
    PictureResolution resolution;
};
Reference MagickDecode(const QString& path)
{
    EnsurePictureCodecsReady();
    Magick::Image image;
    image.read(path.toStdString());
    if (image.colorSpace() == Magick::CMYKColorspace) image.colorSpace(Magick::RGBColorspace);
    const int w = int(image.columns()), h = int(image.rows());
    QImage out = NewPixelBuffer(w, h, 0);   // rows of R, G, B and a fourth byte, unpadded
    image.write(0, 0, w, h, "RGBA", Magick::CharPixel, out.bits());
    const MagickLib::Image* im = image.constImage();
    const double perMetre = im->units == MagickLib::PixelsPerCentimeterResolution ? 100.0 : 100.0 / 2.54;
    return {out, {int(std::lround(im->x_resolution * perMetre)), int(std::lround(im->y_resolution * perMetre))}};
}

// The two bytes of the frame header that give the first component's sampling (high nibble
// across, low down) and the number of components.
std::pair<int, int> SamplingAndComponents(const QByteArray& jpeg)
{
    const int sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    return sof < 0 ? std::pair{-1, -1} : std::pair{int(uint8_t(jpeg[sof + 11])), int(uint8_t(jpeg[sof + 9]))};
}

class JpegCodec : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const QString& name) const { return dir.filePath(name); }

    // Encodes the picture with the command-line encoder and the given options.
    QString Cjpeg(const QString& name, const QImage& picture, const QStringList& options)
    {
        EnsurePictureCodecsReady();
        Magick::Image ppm(picture.width(), picture.height(), "RGBA", Magick::CharPixel, picture.constBits());
        ppm.matte(false);
        ppm.write(("PPM:" + path("in.ppm")).toStdString());
        QProcess p;
        p.setStandardOutputFile(path(name));
        p.start(QStringLiteral("cjpeg"), options + QStringList{path("in.ppm")});
        EXPECT_TRUE(p.waitForFinished(20000) && p.exitCode() == 0) << name.toStdString();
        return path(name);
    }

    void ExpectSameAsMagick(const QString& file)
    {
        const DecodedPicture d = DecodePictureFile(file);
        ASSERT_TRUE(d.ok()) << d.error.toStdString();
        const Reference want = MagickDecode(file);
        EXPECT_EQ(d.image.format(), kPixelFormat);
        ASSERT_EQ(d.image.size(), want.image.size());
        int differing = 0, seeThrough = 0;
        for (int y = 0; y < want.image.height(); ++y)
            for (int x = 0; x < want.image.width(); ++x) {
                differing += test::At(d.image, x, y) != test::At(want.image, x, y);
                seeThrough += reinterpret_cast<const uint32_t*>(d.image.constScanLine(y))[x] >> 24 != 0xFFu;
            }
        EXPECT_EQ(differing, 0);
        EXPECT_EQ(seeThrough, 0);
        EXPECT_EQ(ResolutionOf(d.image).x, want.resolution.x);
        EXPECT_EQ(ResolutionOf(d.image).y, want.resolution.y);
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(JpegCodec, EveryKindOfJpegGivesThePixelsGraphicsMagickGives)
{
    const QImage photo = Photo();
    // Chroma halved both ways (the default), across only and not at all; grey; progressive
    // (a small file: the fallback decode); arithmetic coding. Other samplings and restart
    // markers are the JPEG library's own work under the same settings.
    const struct { const char* name; QStringList options; } kinds[] = {
        {"baseline.jpg", {"-quality", "85"}},   {"progressive.jpg", {"-quality", "85", "-progressive"}},
        {"grey.jpg", {"-grayscale"}},           {"444.jpg", {"-sample", "1x1"}},
        {"422.jpg", {"-sample", "2x1"}},        {"arithmetic.jpg", {"-arithmetic"}},
    };
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.name);
        ExpectSameAsMagick(Cjpeg(kind.name, photo, kind.options));
    }
}

TEST_F(JpegCodec, ProgressiveFilesOverOneMegabyteOpenStraightAndSmallerOnesWithinTheTimeLimit)
{
    // Noise keeps a progressive file of 1200 x 900 pixels at quality 95 over 1 MB.
    QImage noise = NewPixelBuffer(1200, 900, 0);
    uint32_t state = 12345;
    for (int y = 0; y < noise.height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(noise.scanLine(y));
        for (int x = 0; x < noise.width(); ++x) row[x] = (state = state * 1664525u + 1013904223u) | kPixelOpaque;
    }
    const QString large = Cjpeg("large-progressive.jpg", noise, {"-quality", "95", "-progressive"});
    ASSERT_GT(QFileInfo(large).size(), kSmallFileBytes);
    ExpectSameAsMagick(large);
    // A smaller progressive file is stopped when its decode passes the time limit.
    const QString small = Cjpeg("small-progressive.jpg", Photo(1200, 900), {"-progressive"});
    ASSERT_LT(QFileInfo(small).size(), kSmallFileBytes);
    DecodeOptions quick;
    quick.timeLimitMs = 1;
    EXPECT_EQ(DecodePictureFile(small, quick).error.toStdString(),
              OpenError(small, QStringLiteral("decoding the picture takes too long (more than 0.001 seconds)")).toStdString());
    ExpectSameAsMagick(small);
}

TEST_F(JpegCodec, CmykJpegsOpenAsGraphicsMagickReadsThem)
{
    EnsurePictureCodecsReady();
    const QImage photo = Photo();
    Magick::Image image(photo.width(), photo.height(), "RGBA", Magick::CharPixel, photo.constBits());
    image.matte(false);
    image.colorSpace(Magick::CMYKColorspace);
    image.write(("JPEG:" + path("cmyk.jpg")).toStdString());
    ExpectSameAsMagick(path("cmyk.jpg"));
}

TEST_F(JpegCodec, TheDensityOfTheJfifMarkerGivesTheResolution)
{
    // units, density across and down -> pixels per metre across and down. A density of 1
    // either way only shapes the pixels; units 2 count per centimetre, others per inch.
    const struct { int units, x, y; PictureResolution want; } cases[] = {
        {1, 72, 72, {2835, 2835}},   // 72 / 0.0254 = 2834.6
        {1, 300, 150, {11811, 5906}},
        {2, 40, 20, {4000, 2000}},
        {0, 72, 72, {2835, 2835}},
        {1, 1, 72, {0, 0}},
        {2, 72, 1, {0, 0}},
    };
    QString error;
    ASSERT_TRUE(EncodeJpeg(Photo(16, 16), path("a.jpg"), 85, &error)) << error.toStdString();
    const QByteArray jpeg = ReadAll(path("a.jpg"));
    ASSERT_EQ(jpeg.mid(6, 5), QByteArray("JFIF\0", 5));
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.units << " " << c.x << " " << c.y);
        QByteArray changed = jpeg;
        const char density[5] = {char(c.units), char(c.x >> 8), char(c.x), char(c.y >> 8), char(c.y)};
        changed.replace(13, 5, density, 5);
        WriteAll(path("d.jpg"), changed);
        const DecodedPicture d = DecodePictureFile(path("d.jpg"));
        ASSERT_TRUE(d.ok()) << d.error.toStdString();
        EXPECT_EQ(ResolutionOf(d.image).x, c.want.x);
        EXPECT_EQ(ResolutionOf(d.image).y, c.want.y);
        EXPECT_EQ(ResolutionOf(d.image).x, MagickDecode(path("d.jpg")).resolution.x);
    }
    // No JFIF marker at all: no resolution.
    WriteAll(path("bare.jpg"), jpeg.left(2) + jpeg.mid(20));
    const DecodedPicture bare = DecodePictureFile(path("bare.jpg"));
    ASSERT_TRUE(bare.ok()) << bare.error.toStdString();
    EXPECT_EQ(ResolutionOf(bare.image).x, 0);
}

TEST_F(JpegCodec, WrittenJpegsDeclareQualitySamplingAndDensity)
{
    // Quality q scales the standard luminance table's first step 16 to (16 s + 50) / 100, s =
    // 5000 / q below 50 and 200 - 2q from 50; chroma is halved both ways below 90 (sampling
    // 0x22 for luminance) and kept whole from 90 (0x11). Quality is kept in 1..100.
    const struct { int quality, step, sampling; } cases[] = {{-5, 255, 0x22}, {1, 255, 0x22}, {10, 80, 0x22}, {50, 16, 0x22},
                                                      {89, 4, 0x22}, {90, 3, 0x11}, {100, 1, 0x11}, {150, 1, 0x11}};
    QImage picture = Photo(40, 24);
    SetResolution(picture, {11811, 5000});   // 300 and 127 dots per inch
    for (const auto& c : cases) {
        SCOPED_TRACE(c.quality);
        QString error;
        ASSERT_TRUE(EncodeJpeg(picture, path("q.jpg"), c.quality, &error)) << error.toStdString();
        const QByteArray jpeg = ReadAll(path("q.jpg"));
        EXPECT_EQ(test::LumaDcStep(jpeg), c.step);
        EXPECT_EQ(SamplingAndComponents(jpeg), (std::pair{c.sampling, 3}));
        EXPECT_EQ(jpeg.mid(13, 5), QByteArray("\1\x01\x2c\0\x7f", 5));
    }
    // No resolution at all, or one that rounds to 0 dots per inch either way: 72.
    for (PictureResolution r : {PictureResolution{0, 0}, PictureResolution{5000, 10}}) {
        SetResolution(picture, r);
        QString error;
        ASSERT_TRUE(EncodeJpeg(picture, path("r.jpg"), 85, &error)) << error.toStdString();
        EXPECT_EQ(ReadAll(path("r.jpg")).mid(13, 5), QByteArray("\1\0\x48\0\x48", 5));
    }
}

TEST_F(JpegCodec, WrittenPixelsComeBackCloselyAndExactlyAsGraphicsMagickReadsThem)
{
    // Flat 8 x 8 blocks of one colour survive JPEG at quality 95 within a few levels.
    QImage blocks = NewPixelBuffer(64, 32, 0);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) test::Put(blocks, x, y, (x / 16 + y / 16) & 1 ? RGB(200, 30, 60) : RGB(20, 120, 220));
    QString error;
    ASSERT_TRUE(EncodeJpeg(blocks, path("b.jpg"), 95, &error)) << error.toStdString();
    const DecodedPicture d = DecodePictureFile(path("b.jpg"));
    ASSERT_TRUE(d.ok()) << d.error.toStdString();
    for (QPoint p : {QPoint(3, 3), QPoint(20, 4), QPoint(40, 20), QPoint(60, 28)}) {
        const ColorRef got = test::At(d.image, p.x(), p.y()), want = test::At(blocks, p.x(), p.y());
        for (int shift : {0, 8, 16}) EXPECT_NEAR(int(got >> shift & 0xFF), int(want >> shift & 0xFF), 4) << p.x() << "," << p.y();
    }
    ExpectSameAsMagick(path("b.jpg"));
}

TEST_F(JpegCodec, DamagedJpegsAreRefusedAsBeforeAndHarmlessFlawsStillOpen)
{
    QString error;
    ASSERT_TRUE(EncodeJpeg(Photo(64, 48), path("whole.jpg"), 85, &error)) << error.toStdString();
    const QByteArray whole = ReadAll(path("whole.jpg"));
    const int scan = whole.indexOf(QByteArray("\xFF\xDA", 2));
    ASSERT_GT(scan, 0);
    const struct { int keep; const char* reason; } cuts[] = {
        {2, "the file is not a picture in a format Orvane reads"},
        {10, "the file holds no picture"},
        {scan, "the file is damaged or incomplete (Invalid JPEG file structure: missing SOS marker)"},
        {int(whole.size()) / 2, "the file is incomplete (Premature end of JPEG file)"},
        {int(whole.size()) - 2, "the file is incomplete (Premature end of JPEG file)"},
    };
    for (const auto& cut : cuts) {
        SCOPED_TRACE(cut.keep);
        WriteAll(path("cut.jpg"), whole.left(cut.keep));
        const DecodedPicture d = DecodePictureFile(path("cut.jpg"));
        EXPECT_FALSE(d.ok());
        EXPECT_EQ(d.error.toStdString(), OpenError(path("cut.jpg"), cut.reason).toStdString());
    }
    // Stray bytes before the end marker: the library skips them and the picture is whole.
    WriteAll(path("stray.jpg"), whole.left(whole.size() - 2) + QByteArray("\x12\x34\x56", 3) + whole.right(2));
    ExpectSameAsMagick(path("stray.jpg"));
}

TEST_F(JpegCodec, HeadersClaimingHugePicturesAreRefusedBeforeDecoding)
{
    QString error;
    ASSERT_TRUE(EncodeJpeg(Photo(16, 16), path("small.jpg"), 85, &error)) << error.toStdString();
    const QByteArray small = ReadAll(path("small.jpg"));
    const int sof = small.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(sof, 0);
    const auto claiming = [&](int w, int h) {
        QByteArray b = small;
        const char size[4] = {char(h >> 8), char(h), char(w >> 8), char(w)};
        b.replace(sof + 5, 4, size, 4);
        return b;
    };
    // A file of a few hundred bytes may claim 8192 x 8192 pixels (67 million) and no more:
    // 30000 x 30000 would take 3.6 GB.
    const struct { int w, h; const char* reason; } cases[] = {
        {30000, 30000, "the picture is too large (30000 x 30000 pixels; a file of this size may hold at most 67 million)"},
        {40000, 8, "the picture is too large (40000 pixels wide; at most 32768)"}};
    for (const auto& c : cases) {
        WriteAll(path("huge.jpg"), claiming(c.w, c.h));
        EXPECT_EQ(DecodePictureFile(path("huge.jpg")).error.toStdString(), OpenError(path("huge.jpg"), c.reason).toStdString());
    }
}

} // namespace orv
