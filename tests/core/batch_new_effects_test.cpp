// orvane-batch's plasma, roll and tornado: the picture each makes from a file, and bad values
// refused with status 2 before anything is written.
#include "platform/picture_codec.h"
#include "tests/support/test_pictures.h"
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace orv {

namespace {

struct BatchResult {
    int status;
    QString err;
};

BatchResult Batch(const QStringList& args)
{
    QProcess p;
    p.start(ORVANE_BATCH_EXE, args);
    if (!p.waitForFinished(30000)) return {-1, {}};
    return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardError())};
}

} // namespace

TEST(BatchNewEffects, RunFromTheCommandAndRefuseBadValues)
{
    QTemporaryDir dir;
    const QString in = dir.filePath("in.bmp"), out = dir.filePath("out.bmp"), again = dir.filePath("again.bmp");
    QString error;
    ASSERT_TRUE(EncodeBmp24(test::Numbered(9, 5), in, &error));

    ASSERT_EQ(Batch({in, out, "roll", "x=-1", "y=2"}).status, 0);
    const QImage rolled = DecodePictureFile(out).image;
    EXPECT_EQ(test::At(rolled, 0, 0), test::NumberedColor(1, 3));
    EXPECT_EQ(test::At(rolled, 8, 2), test::NumberedColor(0, 0));

    ASSERT_EQ(Batch({in, out, "plasma", "seed=5", "turbulence=80"}).status, 0);
    ASSERT_EQ(Batch({in, again, "plasma", "turbulence=80", "seed=5"}).status, 0);
    EXPECT_EQ(DecodePictureFile(out).image, DecodePictureFile(again).image);

    ASSERT_EQ(Batch({in, out, "tornado", "angle=-45", "radius=4"}).status, 0);
    const QImage swirled = DecodePictureFile(out).image;
    EXPECT_EQ(test::At(swirled, 4, 2), test::NumberedColor(4, 2));   // the centre
    EXPECT_EQ(test::At(swirled, 0, 0), test::NumberedColor(0, 0));   // beyond the radius

    QFile::remove(out);
    const std::pair<QStringList, QString> refused[] = {
        {{"plasma", "seed=x"}, "seed"}, {{"roll", "x=1.5"}, "x"}, {{"tornado", "radius=-2"}, "radius"}};
    for (const auto& [effect, culprit] : refused) {
        const BatchResult r = Batch(QStringList{in, out} + effect);
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.err.contains(culprit)) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(out));
    }
}

} // namespace orv
