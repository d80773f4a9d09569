// Grayscale, the flips, Rotate 90° and stained glass, run as the editor runs them.
#include "effects/flip.h"
#include "effects/grayscale.h"
#include "effects/rotate90.h"
#include "effects/stained_glass.h"
#include "tests/support/test_pictures.h"
#include <gtest/gtest.h>

namespace orv {
namespace {

using test::At;
using test::Numbered;
using test::Rows;
using CancelAt = test::RecordingSink;

bool Apply(QImage& img, std::vector<ColumnPass> (*passes)(WorkingCopy&), ProgressSink* sink = nullptr)
{
    return RunOnWorkingCopy(img, [&](WorkingCopy& w) { return passes(w); }, sink);
}

QImage StainedGlass(QImage img, double width, double height)
{
    const StainedGlassParams p{width, height};
    EXPECT_TRUE(RunOnWorkingCopy(img, [&](WorkingCopy& w) { return StainedGlassPasses(w, p); }, nullptr));
    return img;
}

TEST(Grayscale, WeightsAddUpTo254)
{
    QImage img = Rows({{0xFFFFFF, 0, RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255),
                        RGB(100, 100, 100), RGB(10, 20, 30)}});
    ASSERT_TRUE(Apply(img, GrayscalePasses));
    const int expected[] = {254, 0, 76, 150, 28, 100 /* 99.6 */, 18 /* 11.76 + 2.98 + 3.29 */};
    for (int x = 0; x < 7; ++x) EXPECT_EQ(At(img, x), RGB(expected[x], expected[x], expected[x])) << x;
}

TEST(Grayscale, EveryColourRoundsAsTheFloatingSum)
{
    // The gray level is the floating sum green * 150 / 255 + red * 76 / 255 + blue * 28 / 255
    // rounded; checked for every colour.
    for (int c = 0; c < (1 << 24); c += 1) {
        const double sum = GreenOf(c) * 150.0 / 255 + RedOf(c) * 76.0 / 255 + BlueOf(c) * 28.0 / 255;
        if (GrayLevel(c) != static_cast<int>(std::nearbyint(sum))) {
            ADD_FAILURE() << "colour " << c;
            break;
        }
    }
}

TEST(Flip, EachMirrorsItsOwnWay)
{
    for (auto [flip, expected] : {std::pair{&FlipHorizontal, Rows({{3, 2, 1}, {6, 5, 4}})}, {&FlipVertical, Rows({{4, 5, 6}, {1, 2, 3}})}}) {
        QImage img = Rows({{1, 2, 3}, {4, 5, 6}});
        flip(img);
        EXPECT_EQ(img, expected);
    }
}

TEST(Rotate90, TurnsClockwiseAndFourTurnsRestore)
{
    QImage small = Rows({{1, 2, 3}, {4, 5, 6}});
    ASSERT_TRUE(Apply(small, Rotate90Passes));
    EXPECT_EQ(small, Rows({{4, 1}, {5, 2}, {6, 3}}));
    // Tall and wide pictures of several bands and tiles.
    for (QSize size : {QSize(200, 4096), QSize(1, 1), QSize(1, 9)}) {
        const QImage src = Numbered(size.width(), size.height());
        QImage img = src;
        for (int turn = 1; turn <= 4; ++turn) {
            ASSERT_TRUE(Apply(img, Rotate90Passes));
            EXPECT_EQ(img.size(), turn % 2 ? size.transposed() : size);
        }
        EXPECT_EQ(img, src) << size.width() << "x" << size.height();
    }
}

TEST(Rotate90, CancelKeepsPictureAndSize)
{
    for (int cancelAt : {1, 2}) {
        const QImage src = Numbered(300, 1000);   // two bands: 262 columns, then the rest
        QImage img = src;
        CancelAt sink(cancelAt);
        EXPECT_FALSE(Apply(img, Rotate90Passes, &sink));
        EXPECT_EQ(img, src);
    }
}

TEST(StainedGlass, WholeCutSmallAndStreakyCellsOnTwelveBySeven)
{
    const QImage src = Numbered(12, 7);
    const QImage out = StainedGlass(src, 5, 5);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 12; ++x)
            EXPECT_EQ(At(out, x, y), At(src, x / 5 * 5, y / 5 * 5)) << x << "," << y;
    EXPECT_EQ(At(out, 11, 6), RGB(10, 5, 0));   // the cut-off 2 x 2 cell at (10, 5)
    EXPECT_EQ(At(out, 9, 4), RGB(5, 0, 0));
    EXPECT_EQ(StainedGlass(src, 1, 1), src);
    const QImage streaks = StainedGlass(src, 5, 1);
    EXPECT_EQ(At(streaks, 7, 3), RGB(5, 3, 0));
    EXPECT_EQ(At(streaks, 4, 6), RGB(0, 6, 0));
    // Below one pixel a cell covers nothing.
    EXPECT_EQ(StainedGlass(src, 0.5, 3), src);
}

TEST(StainedGlass, SizesBelowOneAreRefused)
{
    double size = 0;
    // A size between 0 and 1 covers no pixel: the picture would stay as it is.
    for (const char* bad : {"0", "-3", "abc", "0.999", ".1"})
        EXPECT_FALSE(CellSizeFromText(QString::fromLatin1(bad), &size)) << bad;
    for (auto [text, expected] : {std::pair{"2.5", 2.5}, {" 7px", 7.0}, {"1", 1.0}}) {
        ASSERT_TRUE(CellSizeFromText(QString::fromLatin1(text), &size)) << text;
        EXPECT_EQ(size, expected);
    }
}

} // namespace
} // namespace orv
