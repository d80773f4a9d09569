// PNG files: colour types and depths read, transparency shown over the background, lossless
// 24-bit writing, and damaged files refused with a message.
#include "documents/image_loader.h"
#include "documents/picture_writer.h"
#include "platform/color.h"
#include "platform/picture_codec.h"
#include "tests/support/test_pictures.h"
#include <Magick++.h>
#include <QDirIterator>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace orv {

namespace {

using test::ReadAll;
using test::WriteAll;

class PngFiles : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
    // The file opened as the editor opens it, over the given background colour.
    static QImage Opened(const QString& file, ColorRef back = RGB(255, 255, 255))
    {
        Canvas canvas;
        canvas.setAutoSize(true);
        canvas.setBackColor(back);
        EXPECT_EQ(LoadPicture(canvas, file), QString());
        return canvas.buffer();
    }
};

// Bit depth, colour type and interlace method from the header chunk (bytes 24, 25 and 28).
struct PngKind {
    int depth, colorType, interlace;
    bool operator==(const PngKind&) const = default;
};
PngKind KindOf(const QByteArray& png)
{
    return {uint8_t(png[24]), uint8_t(png[25]), uint8_t(png[28])};
}

} // namespace

TEST_F(PngFiles, TwentyFourBitRoundTripIsExactAndWritesTrueColour)
{
    QImage picture = NewPixelBuffer(61, 37, 0);
    for (int y = 0; y < 37; ++y)
        for (int x = 0; x < 61; ++x) test::Put(picture, x, y, RGB((x * 37 + y) & 255, (x * y * 7) & 255, (255 - x - 3 * y) & 255));
    QString error;
    ASSERT_TRUE(WritePictureFile(picture, path("a.png"), 0, &error)) << error.toStdString();
    const QByteArray file = ReadAll(path("a.png"));
    ASSERT_EQ(file.left(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(KindOf(file), (PngKind{8, 2, 0}));   // 8 bits a channel, RGB without alpha, not interlaced
    const DecodedPicture back = ReadPictureFile(path("a.png"));
    ASSERT_TRUE(back.ok()) << back.error.toStdString();
    EXPECT_EQ(back.image, picture);
}

TEST_F(PngFiles, ColourTypesAndDepthsOpen)
{
    // Black and white only writes grey in 1 bit, other levels 8, levels between two 8-bit ones
    // 16 (g * 257 + 100 reads back as g); colour types are asked for by name. Pixel i has level
    // (13 i) % 256, in 1 bit 255 where i % 3 is 0, else 0.
    const struct { const char *name, *format; int depth, colorType; bool interlaced; } samples[] = {
        {"grey1", "PNG", 1, 0, false},     {"grey16", "PNG", 16, 0, false}, {"palette8i", "PNG8", 8, 3, true},
        {"rgb8", "PNG24", 8, 2, false},    {"rgba16", "PNG64", 16, 6, false}};
    for (const auto& s : samples) {
        SCOPED_TRACE(s.name);
        const bool colour = s.colorType != 0;
        const auto level = [&](int i) { return s.depth == 1 ? (i % 3 == 0 ? 255 : 0) : (i * 13) % 256; };
        // Colour pictures: level g becomes (g, 255 - g, 60).
        const auto expected = [&](int g) { return colour ? RGB(g, 255 - g, 60) : RGB(g, g, g); };
        Magick::Image image(Magick::Geometry(8, 2), Magick::Color("white"));
        image.type(colour ? Magick::TrueColorType : Magick::GrayscaleType);
        image.modifyImage();
        const double extra = s.depth == 16 ? 100.0 : 0.0;
        for (int i = 0; i < 16; ++i) {
            const ColorRef c = expected(level(i));
            const auto q = [&](int v) { return (v * 257 + (v == 255 ? 0 : extra)) / 65535.0; };
            image.pixelColor(i % 8, i / 8, Magick::ColorRGB(q(RedOf(c)), q(GreenOf(c)), q(BlueOf(c))));
        }
        image.type(colour ? Magick::TrueColorType : Magick::GrayscaleType);
        image.depth(s.depth);
        if (!colour && s.depth < 8) image.classType(Magick::PseudoClass);   // written at the fewest bits
        if (s.interlaced) image.interlaceType(Magick::LineInterlace);
        const QString file = path(QString::fromLatin1(s.name) + ".png");
        image.write(std::string(s.format) + ":" + file.toStdString());
        ASSERT_EQ(KindOf(ReadAll(file)), (PngKind{s.depth, s.colorType, s.interlaced ? 1 : 0}));

        const QImage opened = Opened(file);
        ASSERT_EQ(opened.size(), QSize(8, 2));
        for (int i = 0; i < 16; ++i) EXPECT_EQ(test::At(opened, i % 8, i / 8), expected(level(i))) << i;
    }
}

TEST_F(PngFiles, TransparencyShowsTheCanvasBackground)
{
    // Opaque red, fully transparent, and green at alpha 51 (a fifth): over a blue background
    // (0, 0, 200) that gives (0, 51, 160) by hand, 255 / 5 and 200 * 4 / 5; grey (white at
    // a fifth) gives (51, 51, 211).
    for (const auto& [type, depth] : {std::pair{6, 16}, std::pair{4, 8}}) {
        SCOPED_TRACE(type * 100 + depth);
        const bool grey = type == 4;
        QImage argb(3, 1, QImage::Format_ARGB32);
        argb.setPixel(0, 0, grey ? qRgba(255, 255, 255, 255) : qRgba(255, 0, 0, 255));
        argb.setPixel(1, 0, qRgba(0, 0, 0, 0));
        argb.setPixel(2, 0, grey ? qRgba(255, 255, 255, 51) : qRgba(0, 255, 0, 51));
        Magick::Image image(3, 1, "BGRA", Magick::CharPixel, argb.constBits());
        if (grey) image.type(Magick::GrayscaleMatteType);
        image.depth(depth);
        const QString file = path(QStringLiteral("alpha%1_%2.png").arg(type).arg(depth));
        image.write("PNG:" + file.toStdString());
        ASSERT_EQ(KindOf(ReadAll(file)), (PngKind{depth, type, 0}));

        const QImage opened = Opened(file, RGB(0, 0, 200));
        EXPECT_EQ(test::At(opened, 0), grey ? RGB(255, 255, 255) : RGB(255, 0, 0));
        EXPECT_EQ(test::At(opened, 1), RGB(0, 0, 200));
        EXPECT_EQ(test::At(opened, 2), grey ? RGB(51, 51, 211) : RGB(0, 51, 160));
    }
}

TEST_F(PngFiles, DesktopPackageSamplesMatchAnIndependentReader)
{
    // Every PNG of the two sample packages, against Qt's own PNG reader, composed onto white.
    int seen = 0;
    for (const QString& folder : {QStringLiteral("/usr/share/doc/wx3.2-examples/examples/samples"),
                                  QStringLiteral("/usr/libexec/installed-tests/SDL2_image")}) {
        QDirIterator it(folder, {QStringLiteral("*.png")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            SCOPED_TRACE(file.toStdString());
            ++seen;
            QImage reference(QImage(file).size(), QImage::Format_RGB32);
            reference.fill(Qt::white);
            QPainter(&reference).drawImage(0, 0, QImage(file));
            const DecodedPicture d = ReadPictureFile(file, RGB(255, 255, 255));
            ASSERT_TRUE(d.ok()) << d.error.toStdString();
            ASSERT_EQ(d.image.size(), reference.size());
            int worst = 0;
            for (int y = 0; y < reference.height(); ++y)
                for (int x = 0; x < reference.width(); ++x) {
                    const QRgb r = reference.pixel(x, y);
                    const ColorRef c = test::At(d.image, x, y);
                    worst = std::max({worst, std::abs(qRed(r) - RedOf(c)), std::abs(qGreen(r) - GreenOf(c)),
                                      std::abs(qBlue(r) - BlueOf(c))});
                }
            EXPECT_LE(worst, 1);   // rounding of partly transparent pixels only
        }
    }
    if (seen == 0) GTEST_SKIP() << "the sample packages are not installed";
    EXPECT_GE(seen, 30);
}

TEST_F(PngFiles, DamagedFilesAreRefusedWithAMessage)
{
    QString error;
    ASSERT_TRUE(WritePictureFile(NewPixelBuffer(40, 30, RGB(10, 20, 30)), path("good.png"), 0, &error));
    const QByteArray good = ReadAll(path("good.png"));
    QByteArray flipped = good;
    flipped[good.indexOf("IDAT") + 10] = char(flipped[good.indexOf("IDAT") + 10] ^ 0x5A);   // data and its CRC disagree
    const struct { const char* name; QByteArray bytes; const char* reason; } cases[] = {
        {"half.png", good.left(good.size() / 2), "damaged or incomplete"},
        {"signature.png", good.left(8), "damaged or incomplete"},
        {"flipped.png", flipped, "damaged or incomplete"},
        {"text.png", "this is no picture at all", "not a picture"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteAll(path(c.name), c.bytes);
        Canvas canvas;
        canvas.setAutoSize(true);
        const QString message = LoadPicture(canvas, path(c.name));
        EXPECT_TRUE(message.startsWith(QStringLiteral("Cannot open \"%1\": ").arg(path(c.name)))) << message.toStdString();
        EXPECT_TRUE(message.contains(QLatin1String(c.reason))) << message.toStdString();
    }
}

TEST(PngTypes, TheLastThreeCharactersOfTheEndingNamePng)
{
    for (auto [file, format] : {std::pair{"/a/b.PNG", SaveFormat::Png}, {"/a/b.apng", SaveFormat::Png}, {"/a/b.gif", SaveFormat::Other}})
        EXPECT_EQ(SaveFormatOf(file), format) << file;
    EXPECT_TRUE(UnsupportedTypeError("x.tif").contains(QLatin1String(".png")));
}

} // namespace orv
