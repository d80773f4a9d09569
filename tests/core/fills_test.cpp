// Gradient, grid, image tiling and insert: pixels worked out by hand from the fills' rules.
#include "fills/gradient.h"
#include "fills/grid.h"
#include "fills/image_fill.h"
#include "fills/insert_image.h"
#include "fills/gradient_dots.h"
#include "tests/support/test_pictures.h"
#include <gtest/gtest.h>

namespace orv {
namespace {

using test::At;

constexpr ColorRef kOld = RGB(1, 2, 3);   // what the picture held before a fill

QImage Blank(int w, int h) { return NewPixelBuffer(w, h, kOld); }

// The pixels of row y (or of column x when `column`), as colours.
std::vector<ColorRef> Line(const QImage& img, int at, bool column)
{
    std::vector<ColorRef> out;
    const int n = column ? img.height() : img.width();
    for (int i = 0; i < n; ++i) out.push_back(column ? At(img, at, i) : At(img, i, at));
    return out;
}

TEST(LinearGradient, OverlappingBandsOfRunningSumsRoundedHalvesToEven)
{
    // L = 8: four bands, red steps (20 - 10) / 4 = 2.5, green (40 - 100) / 4 = -15. The band
    // colours are (10, 100), (12.5 -> 12, 85), (15, 70), (17.5 -> 18, 55). Line k shows band
    // min(k, 3); the last two lines along and across keep their pixels.
    const ColorRef b0 = RGB(10, 100, 200), b1 = RGB(12, 85, 200), b2 = RGB(15, 70, 200), b3 = RGB(18, 55, 200);
    const std::vector<ColorRef> along = {b0, b1, b2, b3, b3, b3, kOld, kOld};
    for (const int direction : {1, 0}) {
        SCOPED_TRACE(direction);
        const bool down = direction == 1;
        QImage img = down ? Blank(6, 8) : Blank(8, 6);
        DrawLinearGradient(img, RGB(10, 100, 200), RGB(20, 40, 200), direction);
        // Across the gradient: lines 0 .. 3 painted, 4 and 5 left alone.
        for (int across = 0; across < 6; ++across) {
            const std::vector<ColorRef> got = Line(img, across, down);
            EXPECT_EQ(got, across < 4 ? along : std::vector<ColorRef>(8, kOld)) << "line " << across;
        }
    }
}

TEST(LinearGradient, BlackToWhiteOver104RowsEndsOneStepShort)
{
    // 100 bands of 2.55: band 1 is 2.55 -> 3, band 2 5.1 -> 5, band 99 the single-precision
    // sum 252.45 -> 252, which rows 99 to 101 show.
    QImage img = Blank(5, 104);
    DrawLinearGradient(img, 0, 0xFFFFFF, 1);
    const std::pair<int, int> rows[] = {{0, 0}, {1, 3}, {2, 5}, {99, 252}, {100, 252}, {101, 252}};
    for (auto [y, grey] : rows) EXPECT_EQ(At(img, 2, y), RGB(grey, grey, grey)) << "row " << y;
    EXPECT_EQ(At(img, 2, 102), kOld);
    EXPECT_EQ(At(img, 3, 50), kOld);
}

TEST(LinearGradient, PaintsPicturesWiderThanTwoThousandPixelsToTheirEdge)
{
    // 3000 columns, colour from left to right: 2996 bands, red from 255 down by 255 / 2996;
    // band 2995 (columns 2995 .. 2997) is 255 / 2996 = 0.085 -> 0, band 1 is 254.915 -> 255.
    QImage img = Blank(3000, 6);
    DrawLinearGradient(img, RGB(255, 0, 0), RGB(0, 0, 255), 0);
    EXPECT_EQ(At(img, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(At(img, 2997, 3), RGB(0, 0, 255));
    EXPECT_EQ(At(img, 2998, 3), kOld);
    // Top to bottom on the same width: the rows reach column 2997 too.
    DrawLinearGradient(img, RGB(9, 9, 9), RGB(9, 9, 9), 1);
    EXPECT_EQ(At(img, 2997, 0), RGB(9, 9, 9));
    EXPECT_EQ(At(img, 2998, 0), kOld);
}

TEST(LinearGradient, FourLinesOrFewerPaintNothing)
{
    for (auto [w, h, direction] : {std::tuple{10, 4, 1}, {4, 10, 0}}) {
        QImage img = Blank(w, h);
        DrawLinearGradient(img, 0, 0xFFFFFF, direction);
        EXPECT_EQ(img, Blank(w, h)) << w << "x" << h << " direction " << direction;
    }
}

TEST(SpecialGradient, PenWidthIsFifteenTimesTheLargerSideOver255AtLeastOne)
{
    const std::tuple<int, int, int> cases[] = {{300, 200, 17}, {200, 300, 17}, {34, 2, 2}, {17, 1, 1}, {16, 16, 1}};
    for (auto [w, h, pen] : cases) EXPECT_EQ(SpecialGradientPenWidth(w, h), pen) << w << "x" << h;
}

TEST(SpecialGradient, TenPixelPictureIsCoveredByOnePixelDotsTheLastDrawnWinning)
{
    // Dot x = 1, 11, ... 251 lands on pixel round(x x 10 / 255): 1 and 11 on 0, 41, 51 and 61
    // on 2, 221 .. 241 on 9, 251 on 10 (outside). The last dot drawn on a pixel (x outer,
    // y inner) gives its colour RGB(x, y, 255 - x).
    QImage img = Blank(10, 10);
    DrawSpecialGradient(img);
    EXPECT_EQ(At(img, 0, 0), RGB(11, 11, 244));
    EXPECT_EQ(At(img, 9, 9), RGB(241, 241, 14));
    EXPECT_EQ(At(img, 2, 5), RGB(61, 131, 194));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) ASSERT_NE(At(img, x, y), kOld) << x << "," << y;
}

TEST(SpecialGradient, LaterDotsCoverEarlierOnesWithTheRoundPen)
{
    // 255 x 255: a unit is a pixel and the pen 15 wide (radius 7; its top row spans -2 .. 2).
    QImage img = Blank(255, 255);
    DrawSpecialGradient(img);
    const std::tuple<int, int, ColorRef> cases[] = {
        {254, 251, RGB(251, 251, 4)},   // dot (251, 251) itself
        {253, 244, RGB(251, 251, 4)},   // its top row, over dot (251, 241)
        {254, 244, RGB(251, 241, 4)},   // beyond its top row's span
        {251, 243, RGB(251, 241, 4)},   // above it
        {244, 251, RGB(251, 251, 4)},   // its left edge, over dot (241, 251)
        {243, 251, RGB(241, 251, 14)},
    };
    for (auto [x, y, c] : cases) EXPECT_EQ(At(img, x, y), c) << x << "," << y;
}

constexpr ColorRef kPen = RGB(200, 0, 0), kFace = RGB(230, 230, 230), kShadow = RGB(100, 100, 100);

QImage Grid(int w, int h, double columns, double rows, bool threeD = false, int width = 1)
{
    QImage img = Blank(w, h);
    DrawGrid(img, GridParams{columns, rows, threeD, width, kPen, kFace, kShadow});
    return img;
}

// The columns of row y (or rows of column x) that hold colour c.
std::vector<int> Where(const QImage& img, int at, bool column, ColorRef c)
{
    std::vector<int> out;
    const std::vector<ColorRef> line = Line(img, at, column);
    for (size_t i = 0; i < line.size(); ++i)
        if (line[i] == c) out.push_back(int(i));
    return out;
}

TEST(GridFill, LinesAtMultiplesOfTheSpacingRoundedHalvesToEven)
{
    const struct { int w, h; double columns, rows; std::vector<int> xs, ys; } cases[] = {
        {300, 300, 3, 3, {100, 200}, {100, 200}},
        {300, 300, 1, 4, {}, {75, 150, 225}},
        {100, 20, 7, 0, {14, 29, 43, 57, 71, 86}, {}},   // 14.29, 28.57, 42.86 ...
        {10, 10, 4, 2.5, {2, 5, 8}, {4}},                // 2.5 -> 2, 7.5 -> 8; rows: i = 1 only
        {10, 10, 1.9, -3, {}, {}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(testing::Message() << k.w << "x" << k.h << " " << k.columns << " x " << k.rows);
        const QImage img = Grid(k.w, k.h, k.columns, k.rows);
        // A row and a column that no line of the other direction crosses.
        const int freeRow = k.ys.empty() || k.ys[0] != 1 ? 1 : 2;
        const int freeColumn = k.xs.empty() || k.xs[0] != 1 ? 1 : 0;
        EXPECT_EQ(Where(img, freeRow, false, kPen), k.xs);
        EXPECT_EQ(Where(img, freeColumn, true, kPen), k.ys);
        for (int y : k.ys) EXPECT_EQ(Where(img, y, false, kPen).size(), size_t(k.w));
    }
}

TEST(GridFill, WidthSpreadsHalfBeforeAndTheRestAfter)
{
    // Width w at pixel p covers p - w/2 .. p + w - 1 - w/2.
    const std::pair<int, std::vector<int>> cases[] = {
        {1, {100}}, {2, {99, 100}}, {3, {99, 100, 101}}, {4, {98, 99, 100, 101}}};
    for (const auto& [width, xs] : cases) {
        const QImage img = Grid(200, 10, 2, 0, false, width);
        EXPECT_EQ(Where(img, 5, false, kPen), xs) << "width " << width;
    }
}

TEST(GridFill, ThreeDPairsTheFaceColourBeforeTheShadowColour)
{
    const QImage img = Grid(300, 300, 3, 3, true);
    EXPECT_EQ(Where(img, 50, false, kFace), (std::vector<int>{99, 199}));
    EXPECT_EQ(Where(img, 50, false, kShadow), (std::vector<int>{100, 200}));
    EXPECT_EQ(Where(img, 50, true, kFace), (std::vector<int>{99, 199}));
    EXPECT_EQ(Where(img, 50, true, kShadow), (std::vector<int>{100, 200}));
    // Horizontal lines come last: they cross over the vertical ones.
    EXPECT_EQ(At(img, 100, 99), kFace);
    EXPECT_EQ(At(img, 99, 100), kShadow);
    EXPECT_EQ(At(img, 98, 50), kOld);

    // Width 2: face at 99 covers 98 .. 99, then shadow at 100 covers 99 .. 100.
    const QImage wide = Grid(300, 10, 3, 0, true, 2);
    EXPECT_EQ(Where(wide, 5, false, kFace), (std::vector<int>{98, 198}));
    EXPECT_EQ(Where(wide, 5, false, kShadow), (std::vector<int>{99, 100, 199, 200}));

    // 17 rows in 2: the line at 8.5 -> 8 and its face at 7.5 -> 8 fall on one row.
    const QImage tie = Grid(5, 17, 0, 2, true);
    EXPECT_EQ(Where(tie, 2, true, kShadow), std::vector<int>{8});
    EXPECT_TRUE(Where(tie, 2, true, kFace).empty());
}

TEST(GridFill, MoreLinesThanPixelsCoverEveryPixelWithoutVisitingEachLine)
{
    const QImage img = Grid(50, 4, 1e12, 0);
    EXPECT_EQ(Where(img, 2, false, kPen).size(), 50u);
    // Each pair's face lands on the shadows of the lines before it; the last line's shadow
    // lies at 49.99999999995, 50 in single precision, beyond the edge, and its face on 49.
    const QImage pairs = Grid(50, 4, 1e12, 0, true);
    EXPECT_EQ(Where(pairs, 2, false, kFace).size(), 50u);
}

TEST(GridFill, CountsAndWidthFromTheirTexts)
{
    for (auto [text, count] : {std::pair{"4.5", 4.5}, {"3 columns", 3.0}, {"abc", 0.0}})
        EXPECT_EQ(GridCountFromText(QString::fromLatin1(text)), count) << text;
    // 0 for a refused width.
    for (auto [text, expected] : {std::pair{"1", 1}, {"2.5", 2}, {"3.5", 4}, {"32767", 32767}, {"0.9", 0}, {"-2", 0}, {"abc", 0}, {"40000", 0}}) {
        int width = 0;
        EXPECT_EQ(GridWidthFromText(QString::fromLatin1(text), &width), expected > 0) << text;
        EXPECT_EQ(width, expected) << text;
    }
}

TEST(ImageFill, CopiesFromTheTopLeftCutAtTheRightAndBottomEdges)
{
    // 100 x 100 with a 30 x 40 picture: copies at x = 0, 30, 60, 90 and y = 0, 40, 80.
    const QImage tile = test::Numbered(30, 40);   // pixel (x, y) is RGB(x, y, 0)
    QImage img = Blank(100, 100);
    ASSERT_TRUE(TileImage(img, tile));
    const std::tuple<int, int, ColorRef> cases[] = {
        {29, 39, RGB(29, 39, 0)}, {59, 41, RGB(29, 1, 0)}, {90, 80, RGB(0, 0, 0)}, {99, 99, RGB(9, 19, 0)},
    };
    for (auto [x, y, c] : cases) EXPECT_EQ(At(img, x, y), c) << x << "," << y;
}

TEST(ImageFill, APictureLargerThanTheCanvasGivesOneCutCopyAndAnEmptyOneNone)
{
    QImage img = Blank(7, 5);
    EXPECT_FALSE(TileImage(img, QImage()));
    EXPECT_EQ(img, Blank(7, 5));
    ASSERT_TRUE(TileImage(img, test::Numbered(20, 9)));
    EXPECT_EQ(At(img, 6, 4), RGB(6, 4, 0));
}

TEST(InsertImage, ThePictureShowsOnlyThroughKeyColouredPixelsItCovers)
{
    const ColorRef K = RGB(0, 0, 1), a = RGB(7, 7, 7), near = RGB(0, 0, 2);
    QImage canvas = test::Rows({{K, a, near, K},
                                {a, K, K, a},
                                {K, K, a, K}});
    const QImage picture = test::Numbered(3, 2);   // covers columns 0 .. 2 of rows 0 .. 1
    TransparentBlit(canvas, picture, K);
    const test::Grid expected = {{RGB(0, 0, 0), a, near, K},
                                 {a, RGB(1, 1, 0), RGB(2, 1, 0), a},
                                 {K, K, a, K}};
    EXPECT_EQ(canvas, test::Rows(expected));
}

TEST(FillTargets, ASharedPictureGetsPixelsOfItsOwnAndKeepsItsResolution)
{
    // Large enough for the memory of big pictures; the other holder (an undo snapshot) keeps
    // the old pixels.
    QImage canvas = Blank(2048, 2048);
    SetResolution(canvas, {3780, 2835});
    const QImage held = canvas;
    ASSERT_TRUE(TileImage(canvas, test::Numbered(5, 5)));
    EXPECT_EQ(At(held, 7, 8), kOld);
    EXPECT_EQ(At(canvas, 7, 8), RGB(2, 3, 0));
    EXPECT_EQ(At(canvas, 2047, 2047), RGB(2, 2, 0));
    EXPECT_EQ(ResolutionOf(canvas).x, 3780);
    EXPECT_EQ(ResolutionOf(canvas).y, 2835);
}

} // namespace
} // namespace orv
