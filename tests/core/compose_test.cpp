// Mix, drip and video feedback kernels against pixels worked out by hand.
#include "effects/step_text.h"
#include "fills/block_moves.h"
#include "fills/drip.h"
#include "fills/mix.h"
#include "fills/video_feedback.h"
#include "tests/support/test_pictures.h"
#include <gtest/gtest.h>
#include <random>

namespace orv {

namespace {

using test::At;

constexpr ColorRef kRed = 0x0000FF, kBlue = 0xFF0000, kGreen = 0x00FF00;

// The step at which Mix switches each cell of its 8 x 8 pattern, as seen on screen.
constexpr int kSwitchStep[8][8] = {
    {24, 59, 28, 55, 23, 60, 27, 56}, {43, 8, 39, 12, 44, 7, 40, 11},
    {32, 51, 20, 63, 31, 52, 19, 64}, {35, 16, 47, 4, 36, 15, 48, 3},
    {22, 57, 26, 53, 21, 58, 25, 54}, {41, 6, 37, 10, 42, 5, 38, 9},
    {30, 49, 18, 61, 29, 50, 17, 62}, {33, 14, 45, 2, 34, 13, 46, 1},
};

QImage Filled(int w, int h, ColorRef c) { return NewPixelBuffer(w, h, c); }

// A red w x h canvas with B mixed in at `level` of 100.
QImage Mixed(int w, int h, const QImage& b, int level, bool resize = false)
{
    QImage canvas = Filled(w, h, kRed);
    MixPicture(canvas, b, MakeMixBrush(level, 100, false), resize);
    return canvas;
}

} // namespace

TEST(MixBrush, SwitchesTheCellsOfTheFillOrderUpToTheLevel)
{
    // level, maximum, cells switched (L x 64 / M to the nearest, halves to even)
    const struct { int level; double maximum; int cells; } cases[] = {
        {0, 100, 0}, {1, 100, 1}, {50, 100, 32}, {100, 100, 64}, {3, 10, 19}, {1, 128, 0}, {3, 128, 2}, {3, 2.6, 64}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "level " << c.level << " of " << c.maximum);
        EXPECT_EQ(MixCells(c.level, c.maximum), c.cells);
        for (bool reverse : {false, true}) {
            const Pattern8x8 brush = MakeMixBrush(c.level, c.maximum, reverse);
            for (int row = 0; row < 8; ++row)
                for (int col = 0; col < 8; ++col) {
                    const bool takesB = kSwitchStep[row][col] <= c.cells;
                    EXPECT_EQ(brush.white(col, row), takesB == reverse) << "cell " << col << "," << row;
                }
        }
    }
}

TEST(MixPicture, BlackCellsTakePictureBAndTheCanvasKeepsItsPixelsBeyondB)
{
    // Level 50 of 100: B where column + row is even, in every 8 x 8 block.
    QImage canvas = Mixed(12, 10, Filled(12, 10, kBlue), 50);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) EXPECT_EQ(At(canvas, x, y), (x + y) % 2 == 0 ? kBlue : kRed) << x << "," << y;

    // B of 3 x 2 on a 12 x 10 canvas, fully switched: only B's own area changes.
    canvas = Mixed(12, 10, Filled(3, 2, kBlue), 100);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) EXPECT_EQ(At(canvas, x, y), x < 3 && y < 2 ? kBlue : kRed) << x << "," << y;
}

TEST(MixPicture, ResizeStretchesBToTheCanvas)
{
    // B is green | blue, 2 x 1; stretched to 8 x 4 its left half is green, its right half blue.
    const QImage b = test::Rows({{kGreen, kBlue}});
    QImage canvas = Mixed(8, 4, b, 100, true);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(At(canvas, x, y), x < 4 ? kGreen : kBlue);
    // A taller canvas: B's top row covers rows 0 .. 34, its bottom row rows 35 .. 69.
    canvas = Mixed(8, 70, test::Rows({{kGreen, kGreen}, {kBlue, kBlue}}), 100, true);
    EXPECT_EQ(At(canvas, 3, 34), kGreen);
    EXPECT_EQ(At(canvas, 3, 35), kBlue);
    EXPECT_EQ(At(canvas, 7, 69), kBlue);
    // Level 1: only the bottom-right cell of the 8 x 8 block, (7, 7), lies outside this canvas.
    canvas = Mixed(8, 8, b, 1, true);
    EXPECT_EQ(At(canvas, 7, 7), kBlue);
    EXPECT_EQ(At(canvas, 6, 7), kRed);
    EXPECT_EQ(At(canvas, 0, 0), kRed);
}

TEST(DialogNumbers, RefuseWhatWouldDivideByZeroOrNeverAdvance)
{
    double v = -1;
    for (const char* bad : {"0", "-1", "abc", "", "-0.5"}) {
        EXPECT_FALSE(MaximumFromText(QString::fromLatin1(bad), &v)) << bad;
        EXPECT_FALSE(DivisorFromText(QString::fromLatin1(bad), &v)) << bad;
        EXPECT_FALSE(StepFromText(QString::fromLatin1(bad), &v)) << bad;
    }
    EXPECT_EQ(v, -1);
    EXPECT_FALSE(StepFromText(QStringLiteral("0.001"), &v));
    EXPECT_TRUE(StepFromText(QStringLiteral("0.01"), &v));
    EXPECT_TRUE(DivisorFromText(QStringLiteral("2.5x"), &v));
    EXPECT_EQ(v, 2.5);
    EXPECT_TRUE(MaximumFromText(QStringLiteral("100"), &v));
    EXPECT_EQ(v, 100);
}

namespace {

// The picture after `copies` blocks of bw x bh, each copied pixel by pixel through a
// temporary as the draws say, moved by `shift` pixels along the direction (the first block
// read from `first` when given).
QImage DripModel(QImage img, DripDirection dir, int bw, int bh, double shift, int copies, const QImage* first = nullptr)
{
    const bool vertical = dir == DripDirection::Up || dir == DripDirection::Down;
    if (dir == DripDirection::Up || dir == DripDirection::Left) shift = -shift;
    const int w = img.width(), h = img.height();
    UniformGenerator model;
    for (int i = 0; i < copies; ++i) {
        const double x = model.next() * w, y = model.next() * h;
        const int sx = int(std::nearbyint(x)), sy = int(std::nearbyint(y));
        const int dx = vertical ? sx : int(std::nearbyint(x + shift));
        const int dy = vertical ? int(std::nearbyint(y + shift)) : sy;
        const QImage before = i == 0 && first ? *first : img.copy();
        for (int j = 0; j < bh; ++j)
            for (int k = 0; k < bw; ++k)
                if (sx + k < w && sy + j < h && dx + k >= 0 && dx + k < w && dy + j >= 0 && dy + j < h)
                    test::Put(img, dx + k, dy + j, At(before, sx + k, sy + j));
    }
    return img;
}

} // namespace

// Blocks that cross the picture's edges and shift by several pixels, on pictures whose sizes
// are no multiple of any grouping of rows or columns (the first block, for the preview, read
// from another picture).
TEST(Drip, ManyOverlappingBlocksComeOutAsCopiedOneAfterAnother)
{
    for (DripDirection dir : {DripDirection::Up, DripDirection::Down, DripDirection::Left, DripDirection::Right}) {
        SCOPED_TRACE(int(dir));
        const bool vertical = dir == DripDirection::Up || dir == DripDirection::Down;
        const int w = vertical ? 203 : 421, h = vertical ? 421 : 203;
        // Blocks of 29 x 324 (or 324 x 29) moved by 3.24 pixels.
        const DripParams p{dir, vertical ? 7.0 : 1.3, vertical ? 1.3 : 7.0, 30};
        const int bw = vertical ? 29 : 324, bh = vertical ? 324 : 29;
        const QImage start = test::Numbered(w, h);
        const QImage other = start.mirrored(true, true);
        for (const QImage* first : {static_cast<const QImage*>(nullptr), &other}) {
            QImage picture = start;
            UniformGenerator g;
            Drip(picture, p, g, first);
            EXPECT_EQ(picture, DripModel(start, dir, bw, bh, 3.24, 300 + (first ? 1 : 0), first))
                << (first ? "from another picture first" : "");
        }
    }
}

TEST(Drip, AmountZeroCopiesNothing)
{
    QImage picture = test::Numbered(500, 300);
    UniformGenerator g;
    Drip(picture, {DripDirection::Down, 50, 10, 0}, g);
    EXPECT_EQ(picture, test::Numbered(500, 300));
}

// Block moves of every kind: across whole strips of 16 lines and parts of them, overlapping
// their own source or far from it (shifts longer than the block), forward and back, on
// pictures whose strips are shared out to several threads and whose sides are no multiple of
// 16. Each must come out as if the moves were made one after another through a temporary.
TEST(Drip, BlockMovesComeOutAsMadeOneAfterAnother)
{
    std::mt19937 rng(11);
    for (const bool alongColumns : {true, false}) {
        SCOPED_TRACE(alongColumns ? "up and down" : "sideways");
        const int w = alongColumns ? 150 : 700, h = alongColumns ? 700 : 150;
        const int lines = alongColumns ? w : h, along = alongColumns ? h : w;
        const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
        std::vector<BlockMove> moves;
        for (int i = 0; i < 300; ++i) {
            BlockMove m;
            m.first = pick(0, lines - 1);
            m.count = pick(1, std::min(lines - m.first, 60));
            m.length = pick(1, along / 2);
            m.from = pick(0, along - m.length);
            const int reach = i % 3 == 0 ? along - m.length : std::min(along - m.length, m.from + 5);
            do m.to = pick(i % 3 == 0 ? 0 : std::max(0, m.from - 5), reach);
            while (m.to == m.from);
            moves.push_back(m);
        }
        const QImage start = test::Numbered(w, h);
        QImage model = start;
        for (const BlockMove& m : moves) {
            const QImage before = model.copy();
            for (int line = m.first; line < m.first + m.count; ++line)
                for (int k = 0; k < m.length; ++k) {
                    const int fromX = alongColumns ? line : m.from + k, fromY = alongColumns ? m.from + k : line;
                    const int toX = alongColumns ? line : m.to + k, toY = alongColumns ? m.to + k : line;
                    test::Put(model, toX, toY, At(before, fromX, fromY));
                }
        }
        QImage picture = start;
        if (alongColumns) MoveAlongColumns(picture, moves);
        else MoveAlongRows(picture, moves);
        EXPECT_EQ(picture, model);
    }
}

TEST(VideoFeedback, CopiesNestTowardTheVanishingPoint)
{
    // Step 1 from the middle: copies at scales 1, 1/2, ..., 1/10; on 20 x 10 pixels copies 9
    // and 10 round to copy 8's rectangle and are listed once.
    EXPECT_EQ(FeedbackCopies(6000, 4000, {1, 2, 2}).size(), 10u);
    const std::vector<QRect> centred = FeedbackCopies(20, 10, {1, 2, 2});
    ASSERT_EQ(centred.size(), 8u);
    EXPECT_EQ(centred[0], QRect(0, 0, 20, 10));
    EXPECT_EQ(centred[1], QRect(5, 2, 10, 5));     // (20 - 10) / 2, (10 - 5) / 2 = 2.5 -> 2
    EXPECT_EQ(centred[3], QRect(8, 4, 5, 2));      // width 20 / 4 = 5, height 2.5 -> 2, top 3.75 -> 4
    EXPECT_EQ(centred[7], QRect(9, 4, 2, 1));      // 9, 4.5 -> 4, 2, 1
    // Positions 7 and 7: toward (W / 7, H / 7).
    const std::vector<QRect> corner = FeedbackCopies(70, 70, {1, 7, 7});
    EXPECT_EQ(corner[1], QRect(5, 5, 35, 35));
    EXPECT_EQ(corner[9], QRect(9, 9, 7, 7));
    // Step 0.1 makes 91 copies, step 10 a single one.
    EXPECT_EQ(FeedbackCopies(6000, 4000, {0.1, 2, 2}).size(), 91u);
    EXPECT_EQ(FeedbackCopies(6000, 4000, {10, 2, 2}), std::vector<QRect>{QRect(0, 0, 6000, 4000)});
}

TEST(VideoFeedback, EachPixelShowsTheSmallestCopyOverIt)
{
    const QImage start = test::Numbered(20, 10);
    QImage picture = start;
    ASSERT_TRUE(RunOnWorkingCopy(picture, [](WorkingCopy& w) { return VideoFeedbackPasses(w, {1, 2, 2}); }, nullptr));
    auto from = [&](int x, int y) { return test::NumberedOrigin(At(picture, x, y)); };
    EXPECT_EQ(from(0, 0), QPoint(0, 0));     // only the full-size copy reaches the corner
    EXPECT_EQ(from(19, 9), QPoint(19, 9));
    // Copy 2 (5, 2, 10 x 5) is covered by copy 3 (7, 3, 7 x 3) from (7, 3): its corner stays.
    // Column 5 of copy 2 takes source column (0.5 * 20 / 10) = 1, row 2 takes (0.5 * 10 / 5) = 1.
    EXPECT_EQ(from(5, 2), QPoint(1, 1));
    // The innermost copy (9, 4, 2 x 1): columns 0.5 * 20 / 2 = 5 and 1.5 * 10 = 15, row 5.
    EXPECT_EQ(from(9, 4), QPoint(5, 5));
    EXPECT_EQ(from(10, 4), QPoint(15, 5));
}

// The largest picture is shared out to several threads.
TEST(VideoFeedback, PaintingInReverseMatchesCopyingInOrder)
{
    for (auto [w, h, p] : {std::tuple{37, 23, VideoFeedbackParams{0.1, 2, 2}}, {64, 9, VideoFeedbackParams{0.3, 7, 3}},
                           {5, 5, VideoFeedbackParams{0.05, 4, 6}}, {700, 400, VideoFeedbackParams{0.3, 3, 5}}}) {
        const QImage start = test::Numbered(w, h);
        QImage expected = NewPixelBuffer(w, h, 0);
        for (const QRect& r : FeedbackCopies(w, h, p))
            StretchBlt(expected, r.x(), r.y(), r.width(), r.height(), start, 0, 0, w, h, Rop::SrcCopy);
        QImage picture = start;
        ASSERT_TRUE(RunOnWorkingCopy(picture, [p = p](WorkingCopy& wc) { return VideoFeedbackPasses(wc, p); }, nullptr));
        EXPECT_EQ(picture, expected) << w << " x " << h;
    }
}

} // namespace orv
