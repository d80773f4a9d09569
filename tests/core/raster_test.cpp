#include "platform/raster.h"
#include "tests/support/test_pictures.h"
#include <gtest/gtest.h>
#include <climits>
#include <string>
#include <vector>

namespace orv {
namespace {

using test::Grid;
const auto Picture = test::Rows;

Grid Colors(const QImage& img)
{
    Grid rows(img.height());
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            rows[y].push_back(FromPixel(reinterpret_cast<const uint32_t*>(img.constScanLine(y))[x]));
    return rows;
}

using test::At;

bool AllOpaque(const QImage& img)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((reinterpret_cast<const uint32_t*>(img.constScanLine(y))[x] >> 24) != 0xFF) return false;
    return true;
}

// Pictures drawn with characters, for the flood fill: '.' white, '#' black, 'r' red,
// 'w' a white one step off in blue.
constexpr ColorRef kWhite = 0xFFFFFF, kRed = 0x0000FF, kNearWhite = 0xFEFFFF;

QImage Drawn(const std::vector<std::string>& rows)
{
    Grid colors;
    for (const std::string& r : rows) {
        colors.emplace_back();
        for (char c : r) colors.back().push_back(c == '.' ? kWhite : c == 'r' ? kRed : c == 'w' ? kNearWhite : 0);
    }
    return Picture(colors);
}

constexpr ColorRef kS = 0xF0F0F0, kD = 0xCC33AA;

TEST(RasterBitBlt, EachOperationCombinesTheColourBits)
{
    const QImage src = Picture({{kS}});
    const std::pair<Rop, ColorRef> cases[] = {
        {Rop::SrcCopy, 0xF0F0F0},    {Rop::SrcAnd, 0xC030A0},   {Rop::SrcInvert, 0x3CC35A},
        {Rop::NotSrcCopy, 0x0F0F0F}, {Rop::DstInvert, 0x33CC55},
    };
    for (const auto& [rop, expected] : cases) {
        QImage dst = Picture({{kD}});
        BitBlt(dst, 0, 0, 1, 1, src, 0, 0, rop);
        EXPECT_EQ(At(dst, 0, 0), expected) << std::hex << static_cast<uint32_t>(rop);
        EXPECT_TRUE(AllOpaque(dst));
    }
}

TEST(RasterBitBlt, ClipsAtEveryEdgeOfBothImages)
{
    const QImage src = Picture({{1, 2}, {3, 4}});
    QImage dst = Picture({{0, 0, 0}, {0, 0, 0}, {0, 0, 0}});
    BitBlt(dst, -1, -1, 2, 2, src, 0, 0, Rop::SrcCopy);   // top-left: only src (1,1) lands
    BitBlt(dst, 2, 2, 2, 2, src, 0, 0, Rop::SrcCopy);     // bottom-right: only src (0,0)
    EXPECT_EQ(Colors(dst), (Grid{{4, 0, 0}, {0, 0, 0}, {0, 0, 1}}));

    dst = Picture({{0, 0, 0}, {0, 0, 0}, {0, 0, 0}});
    BitBlt(dst, 0, 0, 3, 3, src, -1, 1, Rop::SrcCopy);   // source sticks out left and below
    EXPECT_EQ(Colors(dst), (Grid{{0, 3, 4}, {0, 0, 0}, {0, 0, 0}}));

    const auto before = Colors(dst);
    BitBlt(dst, INT_MAX, INT_MIN, INT_MAX, INT_MAX, src, INT_MIN, INT_MAX, Rop::SrcCopy);
    BitBlt(dst, -5, -5, INT_MAX, INT_MAX, src, INT_MAX, 0, Rop::SrcAnd);
    BitBlt(dst, 0, 0, -2, 2, src, 0, 0, Rop::SrcCopy);
    BitBlt(dst, 5, 0, 2, 2, src, 0, 0, Rop::DstInvert);
    BitBlt(dst, INT_MAX, 0, INT_MAX, 1, src, 0, 0, Rop::DstInvert);
    EXPECT_EQ(Colors(dst), before);

    QImage null;
    BitBlt(null, 0, 0, 1, 1, src, 0, 0, Rop::SrcCopy);
    BitBlt(dst, 0, 0, 1, 1, null, 0, 0, Rop::SrcCopy);
    EXPECT_EQ(Colors(dst), before);
    // DstInvert needs no source.
    dst = Picture({{0, 0, 0}});
    BitBlt(dst, 1, 0, 5, 1, QImage(), 0, 0, Rop::DstInvert);
    EXPECT_EQ(Colors(dst), (Grid{{0, 0xFFFFFF, 0xFFFFFF}}));
}

TEST(RasterBitBlt, OverlappingCopyOnOneImageReadsTheOriginalPixels)
{
    const struct { Grid start; int dx, dy, w, h, sx, sy; Rop rop; Grid expected; } cases[] = {
        {{{1, 2, 3, 4}}, 1, 0, 3, 1, 0, 0, Rop::SrcCopy, {{1, 1, 2, 3}}},
        {{{1, 2, 3, 4}}, 0, 0, 3, 1, 1, 0, Rop::SrcCopy, {{2, 3, 4, 4}}},
        {{{1}, {2}, {3}}, 0, 1, 1, 2, 0, 0, Rop::SrcCopy, {{1}, {1}, {2}}},
        {{{1, 2, 4, 8}}, 1, 0, 3, 1, 0, 0, Rop::SrcInvert, {{1, 3, 6, 12}}},   // 2^1, 4^2, 8^4
    };
    for (const auto& k : cases) {
        QImage img = Picture(k.start);
        BitBlt(img, k.dx, k.dy, k.w, k.h, img, k.sx, k.sy, k.rop);
        EXPECT_EQ(Colors(img), k.expected);
    }

    // A copy that shares the pixels with its original is not changed by a blit into it.
    QImage original = Picture({{1, 2}});
    QImage shared = original;
    BitBlt(shared, 1, 0, 1, 1, original, 0, 0, Rop::SrcCopy);
    EXPECT_EQ(Colors(shared), (Grid{{1, 1}}));
    EXPECT_EQ(Colors(original), (Grid{{1, 2}}));
}

TEST(RasterStretchBlt, FlipsOntoItselfGiveTheExactMirror)
{
    // A flip onto the same image gives the exact mirror, and a second flip the start again.
    // Enlarging downwards on the same image reads rows before they are overwritten.
    const QImage start = Picture({{1, 2, 3}, {4, 5, 6}});
    const struct { Grid before; int dx, dy, dw, dh, sw, sh; Grid after; } cases[] = {
        {Colors(start), 3, 0, -3, 2, 3, 2, {{3, 2, 1}, {6, 5, 4}}},
        {Colors(start), 0, 2, 3, -2, 3, 2, {{4, 5, 6}, {1, 2, 3}}},
        {{{1}, {2}, {3}}, 0, 3, 1, -3, 1, 3, {{3}, {2}, {1}}},
        {{{1}, {2}, {3}, {4}}, 0, 1, 1, 3, 1, 2, {{1}, {1}, {2}, {2}}},   // rows 0, 1, 1
    };
    for (const auto& k : cases) {
        QImage img = Picture(k.before);
        StretchBlt(img, k.dx, k.dy, k.dw, k.dh, img, 0, 0, k.sw, k.sh, Rop::SrcCopy);
        EXPECT_EQ(Colors(img), k.after);
        if (k.dw > 0 && k.dh > 0) continue;
        StretchBlt(img, k.dx, k.dy, k.dw, k.dh, img, 0, 0, k.sw, k.sh, Rop::SrcCopy);
        EXPECT_EQ(Colors(img), k.before);
    }

    // Both ways at once onto another image, and with an operation other than a copy.
    QImage dst = Picture({{0, 0, 0}, {0, 0, 0}});
    StretchBlt(dst, 3, 2, -3, -2, start, 0, 0, 3, 2, Rop::SrcCopy);
    EXPECT_EQ(Colors(dst), (Grid{{6, 5, 4}, {3, 2, 1}}));
    StretchBlt(dst, 3, 2, -3, -2, start, 0, 0, 3, 2, Rop::SrcInvert);
    EXPECT_EQ(Colors(dst), (Grid{{0, 0, 0}, {0, 0, 0}}));
    EXPECT_TRUE(AllOpaque(dst));
    EXPECT_EQ(Colors(start), (Grid{{1, 2, 3}, {4, 5, 6}}));
}

TEST(RasterStretchBlt, ShrinksAndEnlargesByTheNearestSourcePixel)
{
    const QImage four = Picture({{10, 11, 12, 13}});
    const struct { int dx, dw, sw; Grid expected; } cases[] = {
        {0, 2, 4, {{11, 13}}},              // columns 1 and 3
        {2, -2, 4, {{13, 11}}},             // mirrored: 3, 1
        {0, 2, 3, {{10, 12}}},              // 0.75 -> 0, 2.25 -> 2
        {0, 5, 2, {{10, 10, 11, 11, 11}}},  // 0.2 0.6 1.0 1.4 1.8
    };
    for (const auto& k : cases) {
        QImage dst = NewPixelBuffer(int(k.expected[0].size()), 1, 0);
        StretchBlt(dst, k.dx, 0, k.dw, 1, four, 0, 0, k.sw, 1, Rop::SrcCopy);
        EXPECT_EQ(Colors(dst), k.expected) << k.dw << " from " << k.sw;
    }

    const QImage column = Picture({{1}, {2}, {3}, {4}});
    QImage tall = Picture({{0}, {0}});
    StretchBlt(tall, 0, 2, 1, -2, column, 0, 0, 1, 4, Rop::SrcCopy);
    EXPECT_EQ(Colors(tall), (Grid{{4}, {2}}));
    // Both ways at once: 4 x 4 onto 2 x 2 takes source columns and rows 1 and 3.
    QImage two = NewPixelBuffer(2, 2, 0);
    StretchBlt(two, 0, 0, 2, 2, test::Numbered(4, 4), 0, 0, 4, 4, Rop::SrcCopy);
    EXPECT_EQ(Colors(two), (Grid{{RGB(1, 1, 0), RGB(3, 1, 0)}, {RGB(1, 3, 0), RGB(3, 3, 0)}}));
}

TEST(RasterStretchBlt, ClipsDestinationAndSource)
{
    const QImage src = Picture({{1, 2, 3}});
    QImage dst = Picture({{0, 0}});
    StretchBlt(dst, 3, 0, -3, 1, src, 0, 0, 3, 1, Rop::SrcCopy);   // column 2 is outside
    EXPECT_EQ(Colors(dst), (Grid{{3, 2}}));

    QImage three = Picture({{0, 0, 0}});
    StretchBlt(three, 3, 0, -3, 1, src, -1, 0, 3, 1, Rop::SrcCopy);   // source column -1 is outside
    EXPECT_EQ(Colors(three), (Grid{{2, 1, 0}}));

    const auto before = Colors(three);
    StretchBlt(three, INT_MAX, 0, INT_MIN, 1, src, 0, 0, INT_MIN, 1, Rop::SrcCopy);
    StretchBlt(three, INT_MIN, INT_MIN, INT_MAX, INT_MAX, src, 0, 0, 3, 1, Rop::SrcCopy);
    StretchBlt(three, 0, 0, 3, 1, src, INT_MAX, 0, INT_MIN, 1, Rop::SrcCopy);
    StretchBlt(three, 0, 0, 0, 1, src, 0, 0, 3, 1, Rop::SrcCopy);
    StretchBlt(three, 0, 0, 3, 1, src, 0, 0, 0, 1, Rop::SrcCopy);
    EXPECT_EQ(Colors(three), before);
}

TEST(RasterFloodFill, FillsExactlyTheFourConnectedRegionOfTheSeedColour)
{
    // The region runs down, across and back up around a wall, then down the right side; the
    // same mirrored turns the other way. A hole stays; a diagonal neighbour and a near colour
    // are not reached.
    const struct { std::vector<std::string> before; int x, y; QRect changed; std::vector<std::string> after; } cases[] = {
        {{".#...", ".#.#.", "...#.", "####.", "..#.."}, 0, 0, QRect(0, 0, 5, 5),
         {"r#rrr", "r#r#r", "rrr#r", "####r", "..#rr"}},
        {{"...#.", ".#.#.", ".#...", ".####", "..#.."}, 4, 0, QRect(0, 0, 5, 5),
         {"rrr#r", "r#r#r", "r#rrr", "r####", "rr#.."}},
        {{"...", ".#.", "..."}, 2, 2, QRect(0, 0, 3, 3), {"rrr", "r#r", "rrr"}},
        {{".#.", "#..", "w.."}, 0, 0, QRect(0, 0, 1, 1), {"r#.", "#..", "w.."}},
    };
    for (const auto& k : cases) {
        QImage img = Drawn(k.before);
        EXPECT_EQ(FloodFillSurface(img, k.x, k.y, kRed), k.changed);
        EXPECT_EQ(Colors(img), Colors(Drawn(k.after))) << k.before[0];
        EXPECT_TRUE(AllOpaque(img));
    }
}

TEST(RasterFloodFill, ChangesNothingWhenAlreadyFilledOrOutside)
{
    QImage img = Drawn({"r.", ".r"});
    const auto before = Colors(img);
    EXPECT_TRUE(FloodFillSurface(img, 0, 0, kRed).isEmpty());
    EXPECT_TRUE(FloodFillSurface(img, -1, 0, 0).isEmpty());
    EXPECT_TRUE(FloodFillSurface(img, 0, 2, 0).isEmpty());
    EXPECT_TRUE(FloodFillSurface(img, INT_MAX, INT_MIN, 0).isEmpty());
    EXPECT_EQ(Colors(img), before);
    QImage null;
    EXPECT_TRUE(FloodFillSurface(null, 0, 0, 0).isEmpty());
}

TEST(RasterFloodFill, FillsAWholeLargePicture)
{
    QImage img = NewPixelBuffer(6000, 4000, kWhite);
    EXPECT_EQ(FloodFillSurface(img, 3000, 2000, kRed), QRect(0, 0, 6000, 4000));
    for (const QPoint p : {QPoint(0, 0), QPoint(5999, 0), QPoint(0, 3999), QPoint(5999, 3999), QPoint(1234, 2345)})
        EXPECT_EQ(At(img, p.x(), p.y()), kRed);
}

TEST(RasterFill, SolidRectangleIsClipped)
{
    QImage img = Picture({{0, 0, 0}, {0, 0, 0}});
    FillRectSolid(img, QRect(-2, -2, 4, 3), 7);
    FillRectSolid(img, QRect(2, 1, 100, 100), 8);
    FillRectSolid(img, QRect(INT_MIN / 2, INT_MIN / 2, INT_MAX, 1), 9);
    EXPECT_EQ(Colors(img), (Grid{{7, 7, 0}, {0, 0, 8}}));
}

TEST(RasterPatternSelect, WhiteKeepsDestinationBlackTakesSourceAlignedToTheImage)
{
    Pattern8x8 checker;
    for (int r = 0; r < 8; ++r) checker.rows[r] = r % 2 ? 0x55 : 0xAA;   // white where x + y is even
    QImage dst = NewPixelBuffer(10, 4, kD);
    QImage src = NewPixelBuffer(6, 3, 0);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x) reinterpret_cast<uint32_t*>(src.scanLine(y))[x] = ToPixel(100 + 10 * y + x);
    BlitPatternSelect(dst, 3, 1, 4, 2, src, 1, 0, checker);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool inBlock = x >= 3 && x < 7 && y >= 1 && y < 3;
            const ColorRef expected = inBlock && (x + y) % 2 ? 100 + 10 * (y - 1) + (x - 3 + 1) : kD;
            EXPECT_EQ(At(dst, x, y), expected) << x << "," << y;
        }
    EXPECT_TRUE(AllOpaque(dst));

    // Cells 8 apart use the same pattern cell; huge blocks are clipped.
    Pattern8x8 corner;
    corner.rows.fill(0xFF);
    corner.rows[7] = 0xFE;   // only cell (7, 7) is black
    QImage big = NewPixelBuffer(17, 17, 0);
    BlitPatternSelect(big, INT_MIN, INT_MIN, INT_MAX, INT_MAX, NewPixelBuffer(4, 4, 1), 0, 0, corner);
    BlitPatternSelect(big, 0, 0, INT_MAX, INT_MAX, NewPixelBuffer(17, 17, 5), 0, 0, corner);
    int taken = 0;
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 17; ++x) taken += At(big, x, y) == 5;
    EXPECT_EQ(taken, 4);
    EXPECT_EQ(At(big, 15, 15), 5);
    EXPECT_EQ(At(big, 7, 15), 5);
}

TEST(RasterKeyMask, MasksComposeTheInsertImageResult)
{
    constexpr ColorRef key = 0x00FF00;
    const QImage kept = Picture({{key, 1, key}, {2, key, 3}});           // K
    const QImage inserted = Picture({{10, 11, 12}, {13, 14, 15}});      // C
    const QRect r(0, 0, 3, 2);
    const QImage mask = MakeKeyMask(kept, r, key);
    EXPECT_EQ(Colors(mask), (Grid{{0xFFFFFF, 0, 0xFFFFFF}, {0, 0xFFFFFF, 0}}));
    EXPECT_TRUE(AllOpaque(mask));

    QImage inverse = mask.copy();
    BitBlt(inverse, 0, 0, 3, 2, mask, 0, 0, Rop::NotSrcCopy);
    QImage a = inserted.copy();
    BitBlt(a, 0, 0, 3, 2, mask, 0, 0, Rop::SrcAnd);
    QImage b = kept.copy();
    BitBlt(b, 0, 0, 3, 2, inverse, 0, 0, Rop::SrcAnd);
    BitBlt(a, 0, 0, 3, 2, b, 0, 0, Rop::SrcInvert);
    EXPECT_EQ(Colors(a), (Grid{{10, 1, 12}, {2, 14, 3}}));

    // Parts of the block outside the source are black; an empty block gives no mask.
    EXPECT_EQ(Colors(MakeKeyMask(kept, QRect(1, 1, 2, 2), key)),
              (Grid{{0xFFFFFF, 0}, {0, 0}}));
    EXPECT_TRUE(MakeKeyMask(kept, QRect(0, 0, 0, 5), key).isNull());
}

} // namespace
} // namespace orv
