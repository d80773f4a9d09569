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

} // namespace orv
