#include "platform/color.h"
#include "platform/picture_codec.h"
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include "tests/support/test_pictures.h"

namespace orv {

namespace {

struct BatchRun {
    int status = -1;
    QString err;
};

class OrvaneBatch : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QImage picture = NewPixelBuffer(41, 17, 0);
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 41; ++x) test::Put(picture, x, y, RGB(x * 6, y * 15, (x ^ y) * 4));
        QString error;
        ASSERT_TRUE(EncodeBmp24(picture, path("in.bmp"), &error));
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    QByteArray bytes(const QString& name) const { return test::ReadAll(path(name)); }
    BatchRun run(const QStringList& args) const
    {
        QProcess p;
        p.start(ORVANE_BATCH_EXE, args);
        BatchRun r;
        if (!p.waitForFinished(30000)) return r;
        r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.err = QString::fromLocal8Bit(p.readAllStandardError());
        return r;
    }
    // A failed run: the status, one line naming `culprit`, and OUTPUT as it was.
    void ExpectFailure(const QStringList& args, int status, const QString& culprit)
    {
        SCOPED_TRACE(args.join(' ').toStdString());
        const QByteArray before = bytes("out.bmp");
        const BatchRun r = run(args);
        EXPECT_EQ(r.status, status);
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(culprit)) << r.err.toStdString();
        EXPECT_EQ(bytes("out.bmp"), before);
        EXPECT_FALSE(QDir(dir.path()).entryList(QDir::Hidden | QDir::Files).join(' ').contains(".tmp"));
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(OrvaneBatch, NoneCopiesABitmapByteForByte)
{
    const BatchRun r = run({path("in.bmp"), path("out.bmp"), "none"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(bytes("out.bmp"), bytes("in.bmp"));
}

TEST_F(OrvaneBatch, JpegOutputTakesTheQualityOption)
{
    // Quality q scales the first luminance step 16 of the standard table by 200 - 2q percent.
    for (const auto& [args, lumaDc] : {std::pair{QStringList{}, 5}, {QStringList{"--quality=40"}, 20}}) {
        const BatchRun r = run(args + QStringList{path("in.bmp"), path("out.JPG"), "none"});
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        const QByteArray jpeg = bytes("out.JPG");
        ASSERT_TRUE(jpeg.startsWith("\xFF\xD8\xFF"));
        const int dqt = jpeg.indexOf("\xFF\xDB");
        ASSERT_GT(dqt, 0);
        EXPECT_EQ(uint8_t(jpeg[dqt + 5]), lumaDc);
    }
}

TEST_F(OrvaneBatch, TimeOptionReportsTheEffectRun)
{
    const BatchRun r = run({"--time", path("in.bmp"), path("out.bmp"), "none"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(QRegularExpression("^effect_ms=[0-9]+\\.[0-9]{3}\n$").match(r.err).hasMatch()) << r.err.toStdString();
}

TEST_F(OrvaneBatch, BadUsageExitsWithTwoAndNamesTheCulprit)
{
    QFile::copy(path("in.bmp"), path("out.bmp"));   // an OUTPUT that must survive
    const QString in = path("in.bmp"), out = path("out.bmp");
    ExpectFailure({}, 2, "usage: orvane-batch");
    ExpectFailure({in, out}, 2, "usage: orvane-batch");
    ExpectFailure({in, out, "blur"}, 2, "unknown effect \"blur\"");
    ExpectFailure({in, out, "none", "radius=3"}, 2, "parameter \"radius\"");
    ExpectFailure({in, out, "none", "radius"}, 2, "\"radius\"");
    ExpectFailure({"--quality=101", in, out, "none"}, 2, "--quality");
    ExpectFailure({"--quality=high", in, out, "none"}, 2, "\"high\"");
    ExpectFailure({"--fast", in, out, "none"}, 2, "--fast");
    ExpectFailure({in, path("out.png"), "none"}, 2, "out.png");
    ExpectFailure({in, path("out"), "none"}, 2, "out");
}

TEST_F(OrvaneBatch, UnreadableInputOrUnwritableOutputExitsWithOne)
{
    QFile::copy(path("in.bmp"), path("out.bmp"));
    test::WriteAll(path("broken.bmp"), bytes("in.bmp").left(100));
    ExpectFailure({path("missing.bmp"), path("out.bmp"), "none"}, 1, "\"" + path("missing.bmp") + "\"");
    ExpectFailure({path("broken.bmp"), path("out.bmp"), "none"}, 1, "\"" + path("broken.bmp") + "\"");
    const QString nowhere = path("no folder/x.bmp");
    ExpectFailure({path("in.bmp"), nowhere, "none"}, 1, "\"" + nowhere + "\"");
    EXPECT_FALSE(QFile::exists(nowhere));
}

TEST_F(OrvaneBatch, GeometryEffectsAndFilters)
{
    // in.bmp is 41 x 17 with pixel (x, y) = RGB(6 x, 15 y, 4 (x xor y)).
    const auto pixel = [](const QImage& img, int x, int y) { return test::At(img, x, y); };
    ASSERT_EQ(run({path("in.bmp"), path("out.bmp"), "rotate90"}).status, 0);
    QImage out = DecodePictureFile(path("out.bmp")).image;
    ASSERT_EQ(out.size(), QSize(17, 41));
    EXPECT_EQ(pixel(out, 16, 0), RGB(0, 0, 0));       // top-left went to the top-right
    EXPECT_EQ(pixel(out, 0, 0), RGB(0, 240, 64));     // bottom-left went to the top-left

    ASSERT_EQ(run({path("in.bmp"), path("out.bmp"), "flip-horizontal"}).status, 0);
    EXPECT_EQ(pixel(DecodePictureFile(path("out.bmp")).image, 0, 0), RGB(240, 0, 160));
    ASSERT_EQ(run({path("in.bmp"), path("out.bmp"), "stained-glass", "width=10", "height=7.5"}).status, 0);
    // Rows of the cell at 7.5 are 7.5 .. 13.5 rounded: 8, 8, 10, 10, 12, 12, 14.
    EXPECT_EQ(pixel(DecodePictureFile(path("out.bmp")).image, 19, 14), RGB(60, 120, 8));   // from (10, 8)
    ASSERT_EQ(run({path("in.bmp"), path("out.bmp"), "typical", "filter=Emboss"}).status, 0);
    EXPECT_EQ(pixel(DecodePictureFile(path("out.bmp")).image, 40, 3), RGB(128, 128, 128));

    ExpectFailure({path("in.bmp"), path("out.bmp"), "stained-glass", "height=0"}, 2, "height");
    ExpectFailure({path("in.bmp"), path("out.bmp"), "typical", "filter=Blur"}, 2, "filter");
}

TEST_F(OrvaneBatch, MixCirclizeDripAndVideoFeedbackGiveThePixelsWorkedOutByHand)
{
    // The input's pixel (x, y) is RGB(6 x, 15 y, 4 (x xor y)): red and green tell where it is.
    const auto pixel = [this](int x, int y) { return test::At(DecodePictureFile(path("out.bmp")).image, x, y); };
    const auto input = [](int x, int y) { return RGB(x * 6, y * 15, (x ^ y) * 4); };
    QString error;
    ASSERT_TRUE(EncodeBmp24(NewPixelBuffer(41, 17, 0xFF0000), path("blue.bmp"), &error));
    ASSERT_TRUE(EncodeBmp24(test::Rows({{0x00FF00, 0xFF0000}}), path("two.bmp"), &error));

    // Mix level 50 of 100: picture B where x + y is even.
    ASSERT_EQ(run({path("in.bmp"), path("out.bmp"), "mix", "file=" + path("blue.bmp"), "level=50"}).status, 0);
    EXPECT_EQ(pixel(0, 0), 0xFF0000);
    EXPECT_EQ(pixel(1, 0), input(1, 0));
    EXPECT_EQ(pixel(9, 4), input(9, 4));
    EXPECT_EQ(pixel(10, 4), 0xFF0000);
    // Resized and fully switched: the two pixels of B become the picture's halves.
    ASSERT_EQ(run({path("in.bmp"), path("out.bmp"), "mix", "file=" + path("two.bmp"), "level=100", "resize=1"}).status, 0);
    EXPECT_EQ(pixel(0, 0), 0x00FF00);
    EXPECT_EQ(pixel(40, 16), 0xFF0000);
    // Not resized: B's 2 x 1 pixels, the rest of the picture its own.
    ASSERT_EQ(run({path("in.bmp"), path("out.bmp"), "mix", "file=" + path("two.bmp"), "level=100"}).status, 0);
    EXPECT_EQ(pixel(1, 0), 0xFF0000);
    EXPECT_EQ(pixel(2, 0), input(2, 0));
    EXPECT_EQ(pixel(0, 1), input(0, 1));

    // Circlize with steps past the picture: one circle of radius 3 round (0, 0), coloured black.
    ASSERT_EQ(run({path("in.bmp"), path("out.bmp"), "circlize", "ystep=100", "xstep=100", "radius=3"}).status, 0);
    EXPECT_EQ(pixel(3, 0), 0);
    EXPECT_EQ(pixel(0, 3), 0);
    EXPECT_EQ(pixel(2, 2), 0);
    EXPECT_EQ(pixel(1, 1), input(1, 1));
    EXPECT_EQ(pixel(4, 0), input(4, 0));

    // Video feedback, step 1, centred: copy 10 is (18, 8) 4 x 2 and shows there source pixel
    // (0.5 x 41 / 4, 0.5 x 17 / 2) = (5, 4).
    ASSERT_EQ(run({path("in.bmp"), path("out.bmp"), "video-feedback", "step=1"}).status, 0);
    EXPECT_EQ(pixel(18, 8), input(5, 4));
    EXPECT_EQ(pixel(0, 0), input(0, 0));
    ASSERT_EQ(run({path("in.bmp"), path("out.bmp"), "video-feedback", "step=10"}).status, 0);
    EXPECT_EQ(bytes("out.bmp"), bytes("in.bmp"));

    // Drip down with one block as large as the picture, moved 0.17 pixel: every pixel comes
    // from its own column, from its row or one above. Left: from its row, its column or right.
    for (const char* direction : {"direction=down", "direction=left"}) {
        ASSERT_EQ(run({path("in.bmp"), path("out.bmp"), "drip", direction, "width=1", "height=1", "amount=100"}).status, 0);
        const QImage out = DecodePictureFile(path("out.bmp")).image;
        bool moved = false;
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 41; ++x) {
                const ColorRef c = test::At(out, x, y);
                const int ox = RedOf(c) / 6, oy = GreenOf(c) / 15;
                ASSERT_EQ(c, input(ox, oy));
                if (direction[10] == 'd') EXPECT_TRUE(ox == x && oy <= y);
                else EXPECT_TRUE(oy == y && ox >= x);
                moved = moved || ox != x || oy != y;
            }
        EXPECT_TRUE(moved) << direction;
    }
    ASSERT_EQ(run({path("in.bmp"), path("out.bmp"), "drip", "amount=0"}).status, 0);
    EXPECT_EQ(bytes("out.bmp"), bytes("in.bmp"));

    ExpectFailure({path("in.bmp"), path("out.bmp"), "mix", "file=" + path("blue.bmp"), "max=0"}, 2, "max");
    ExpectFailure({path("in.bmp"), path("out.bmp"), "mix", "level=3"}, 2, "file");
    ExpectFailure({path("in.bmp"), path("out.bmp"), "mix", "file=" + path("none.bmp")}, 2, "none.bmp");
    ExpectFailure({path("in.bmp"), path("out.bmp"), "circlize", "xstep=0"}, 2, "xstep");
    ExpectFailure({path("in.bmp"), path("out.bmp"), "drip", "height=-2"}, 2, "height");
    ExpectFailure({path("in.bmp"), path("out.bmp"), "drip", "direction=sideways"}, 2, "direction");
    ExpectFailure({path("in.bmp"), path("out.bmp"), "video-feedback", "step=abc"}, 2, "step");
    ExpectFailure({path("in.bmp"), path("out.bmp"), "video-feedback", "x=8"}, 2, "x must");
}

} // namespace orv
