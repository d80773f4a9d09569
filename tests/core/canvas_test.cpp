#include "documents/canvas.h"
#include "tests/support/test_pictures.h"
#include <gtest/gtest.h>
#include <cmath>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

namespace orv {
namespace {

constexpr ColorRef kWhite = 0xFFFFFF;
constexpr ColorRef kBlack = 0;
constexpr ColorRef kRed = 0x0000FF;

using PixelSet = std::set<std::pair<int, int>>;

uint32_t& Word(Canvas& c, int x, int y) { return reinterpret_cast<uint32_t*>(c.buffer().scanLine(y))[x]; }

// Every pixel word, row by row (independent of the drawing unit).
std::vector<uint32_t> AllPixels(const Canvas& c)
{
    std::vector<uint32_t> out;
    for (int y = 0; y < c.pixelHeight(); ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(c.buffer().constScanLine(y));
        out.insert(out.end(), row, row + c.pixelWidth());
    }
    return out;
}

// The pixels of the canvas whose colour is not `background`.
PixelSet Marked(const Canvas& c, ColorRef background = kWhite)
{
    PixelSet out;
    const std::vector<uint32_t> words = AllPixels(c);
    for (size_t i = 0; i < words.size(); ++i)
        if (words[i] != ToPixel(background)) out.insert({int(i % c.pixelWidth()), int(i / c.pixelWidth())});
    return out;
}

// A canvas whose pixels all differ, so any pixel left changed shows up.
Canvas Patterned(int w, int h)
{
    Canvas c(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) Word(c, x, y) = ToPixel(RGB(x * 7, y * 11, (x * y) & 255));
    return c;
}

PixelSet Rect(int x0, int y0, int x1, int y1)
{
    PixelSet out;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) out.insert({x, y});
    return out;
}

PixelSet WithoutCorners(int x0, int y0, int x1, int y1)
{
    PixelSet out = Rect(x0, y0, x1, y1);
    for (auto corner : {std::pair{x0, y0}, {x1, y0}, {x0, y1}, {x1, y1}}) out.erase(corner);
    return out;
}

TEST(CanvasPen, EachOfTheSixteenDrawModes)
{
    // Per channel the pen bits 1100 meet the old bits 1010 (and 0 meets 0 in the other
    // nibble): red pen 0x0C on 0x0A, green 0xC0 on 0xA0, blue 0xCC on 0xAA. Worked out by hand
    // for red; green holds red's nibbles swapped, blue red's low nibble twice.
    constexpr ColorRef kPen = RGB(0x0C, 0xC0, 0xCC), kOld = RGB(0x0A, 0xA0, 0xAA);
    const int red[16] = {0x00, 0xF1, 0x02, 0xF3, 0x04, 0xF5, 0x06, 0xF7, 0x08, 0xF9, 0x0A, 0xFB, 0x0C, 0xFD, 0x0E, 0xFF};
    for (int16_t mode = 1; mode <= 16; ++mode) {
        SCOPED_TRACE(mode);
        Canvas c(3, 1, kOld);
        c.setDrawMode(mode);
        c.PSet(1, 0, kPen);
        const int r = red[mode - 1], lo = r & 0xF;
        EXPECT_EQ(c.Point(1, 0), RGB(r, lo << 4 | r >> 4, lo << 4 | lo));
        EXPECT_EQ(Word(c, 1, 0) >> 24, 0xFFu);   // the pixel stays opaque
        EXPECT_EQ(c.Point(0, 0), kOld);
        EXPECT_EQ(c.Point(2, 0), kOld);
    }
}

TEST(CanvasPen, DotsAndStraightLinesOfEachWidth)
{
    // Width 4 is the square 3..6 without its corners; width 5 rows of 3, 5, 5, 5, 3 pixels.
    const struct { int16_t width; float x0, y0, x1, y1; PixelSet expected; } cases[] = {
        {1, 5, 5, 5, 5, {{5, 5}}},
        {3, 5, 5, 5, 5, Rect(4, 4, 6, 6)},
        {4, 5, 5, 5, 5, WithoutCorners(3, 3, 6, 6)},
        {5, 10, 10, 10, 10, WithoutCorners(8, 8, 12, 12)},
        {1, 2, 3, 6, 3, Rect(2, 3, 6, 3)},        // both ends covered
        {3, 5, 5, 10, 5, Rect(4, 4, 11, 6)},      // the union of the stamps
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.width);
        Canvas c(20, 20);
        c.setDrawWidth(k.width);
        if (k.x0 == k.x1 && k.y0 == k.y1) c.PSet(k.x0, k.y0, kBlack);
        else c.Line(k.x0, k.y0, k.x1, k.y1, kBlack, LineMode::Line);
        EXPECT_EQ(Marked(c), k.expected);
        EXPECT_EQ(c.CurrentX(), k.x1);
        EXPECT_EQ(c.CurrentY(), k.y1);
    }
}

TEST(CanvasLine, SlopedLineRoundsHalvesDownwardInEitherDirection)
{
    // (0,0)-(4,2): y = x / 2, so 0.5 and 1.5 round to 1 and 2.
    const PixelSet expected{{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}};
    Canvas a(6, 4), b(6, 4);
    a.Line(0, 0, 4, 2, kBlack, LineMode::Line);
    b.Line(4, 2, 0, 0, kBlack, LineMode::Line);
    EXPECT_EQ(Marked(a), expected);
    EXPECT_EQ(Marked(b), expected);

    // Steep: (1,0)-(2,3): x = 1 + y / 3 gives 1, 1, 2, 2.
    Canvas s(4, 4);
    s.Line(2, 3, 1, 0, kBlack, LineMode::Line);
    EXPECT_EQ(Marked(s), (PixelSet{{1, 0}, {1, 1}, {2, 2}, {2, 3}}));
}

TEST(CanvasBox, OutlineIsTheSameForAnyCornerOrder)
{
    PixelSet expected = Rect(2, 2, 6, 5);
    for (const auto& inner : Rect(3, 3, 5, 4)) expected.erase(inner);
    const float corners[4][4] = {{2, 2, 6, 5}, {6, 5, 2, 2}, {2, 5, 6, 2}, {6, 2, 2, 5}};
    for (const auto& k : corners) {
        Canvas c(10, 8);
        c.Line(k[0], k[1], k[2], k[3], kBlack, LineMode::Box);
        EXPECT_EQ(Marked(c), expected);
    }
    // Width 3 around (5,5)-(10,9): the frame 4..11 x 4..10 leaves only 7..8 x 7 open.
    Canvas c(16, 14);
    c.setDrawWidth(3);
    c.Line(5, 5, 10, 9, kBlack, LineMode::Box);
    expected = Rect(4, 4, 11, 10);
    expected.erase({7, 7});
    expected.erase({8, 7});
    EXPECT_EQ(Marked(c), expected);
}

TEST(CanvasBox, FilledBoxUsesPenColourAndOutlineBoxUsesFillColour)
{
    Canvas c(8, 8);
    c.setFillStyle(kFillSolid);
    c.setFillColor(kRed);
    c.Line(4, 3, 2, 2, kBlack, LineMode::FilledBox);
    EXPECT_EQ(Marked(c), Rect(2, 2, 4, 3));
    EXPECT_EQ(Marked(c, kBlack).size(), 64u - 6u);

    c.Cls();
    c.Line(1, 1, 5, 4, kBlack, LineMode::Box);
    for (auto [x, y, colour] : {std::tuple{1, 1, kBlack}, {3, 2, kRed}, {4, 3, kRed}, {5, 3, kBlack}})
        EXPECT_EQ(c.Point(x, y), colour) << x << "," << y;
    EXPECT_EQ(Marked(c).size(), 20u);   // 5 x 4 box
}

TEST(CanvasEllipse, SmallCircleOutlineAndInterior)
{
    // Radius 2 at (5,5): rows 3..7 span 5, 4..6, 3..7, 4..6, 5; the outline is what has a
    // neighbour outside.
    const PixelSet ring{{5, 3}, {4, 4}, {6, 4}, {3, 5}, {7, 5}, {4, 6}, {6, 6}, {5, 7}};
    const PixelSet inside{{5, 4}, {4, 5}, {5, 5}, {6, 5}, {5, 6}};
    Canvas c(11, 11);
    c.Circle(5, 5, 2, kBlack);
    EXPECT_EQ(Marked(c), ring);

    Canvas f(11, 11);
    f.setFillStyle(kFillSolid);
    f.setFillColor(kRed);
    f.Circle(5, 5, 2, kBlack);
    EXPECT_EQ(Marked(f), [&] { PixelSet all = ring; all.insert(inside.begin(), inside.end()); return all; }());
    for (const auto& [x, y] : inside) EXPECT_EQ(f.Point(x, y), kRed);
    EXPECT_EQ(f.CurrentX(), 5.0f);
}

TEST(CanvasEllipse, SemiAxesFollowTheAspect)
{
    // r = 50, aspect 0.5: semi-axes 50 and 25 around (60,40).
    // Aspect 2: semi-axes 25 and 50 around (60,60). Each list: black points, then white ones.
    Canvas c(130, 90), t(130, 130);
    c.Circle(60, 40, 50, kBlack, 0.5f);
    t.Circle(60, 60, 50, kBlack, 2.0f);
    for (auto [x, y] : {std::pair{10, 40}, {110, 40}, {60, 15}, {60, 65}}) EXPECT_EQ(c.Point(x, y), kBlack) << x << "," << y;
    for (auto [x, y] : {std::pair{9, 40}, {111, 40}, {60, 14}, {60, 66}, {60, 40}}) EXPECT_EQ(c.Point(x, y), kWhite) << x << "," << y;
    for (auto [x, y] : {std::pair{35, 60}, {85, 60}, {60, 10}, {60, 110}}) EXPECT_EQ(t.Point(x, y), kBlack) << x << "," << y;
    for (auto [x, y] : {std::pair{34, 60}, {60, 111}}) EXPECT_EQ(t.Point(x, y), kWhite) << x << "," << y;
}

TEST(CanvasEllipse, DegenerateAndHalfPixelCentres)
{
    // Radius 0: one dot, a centre between pixels rounded halves to even. Flat at 10.5: columns
    // 8.5..12.5 hold the pixels 9..12. Aspect 10000: a vertical segment of 2 r + 1 pixels.
    const struct { float x, y, r, aspect; PixelSet expected; } cases[] = {
        {4, 4, 0, 1, {{4, 4}}},          {10.5f, 4, 2, 0, Rect(9, 4, 12, 4)},
        {10.5f, 4, 0, 1, {{10, 4}}},     {4, 10, 5, 10000, Rect(4, 5, 4, 15)},
    };
    for (const auto& k : cases) {
        Canvas c(20, 20);
        c.Circle(k.x, k.y, k.r, kBlack, k.aspect);
        EXPECT_EQ(Marked(c), k.expected) << k.x << " " << k.r << " " << k.aspect;
    }
}

TEST(CanvasInvert, EveryShapeDrawnTwiceRestoresThePixels)
{
    Canvas c = Patterned(64, 48);
    const std::vector<uint32_t> before = AllPixels(c);
    c.setDrawMode(kDrawModeNotXorPen);
    c.setFillStyle(kFillTransparent);
    for (int16_t width : {1, 2, 5}) {
        c.setDrawWidth(width);
        auto twice = [&](auto draw) {
            draw();
            EXPECT_NE(AllPixels(c), before) << "width " << width;
            draw();
            EXPECT_EQ(AllPixels(c), before) << "width " << width;
        };
        // Shallow, steep, a dot, one past both edges, boxes small and clipped.
        const struct { float x0, y0, x1, y1; LineMode mode; } lines[] = {
            {3, 4, 50, 9, LineMode::Line},  {40, 2, 33, 45, LineMode::Line},    {10, 10, 10, 10, LineMode::Line},
            {-20, 30, 90, 31, LineMode::Line}, {20, 20, 22, 21, LineMode::Box}, {60, 44, 70, 50, LineMode::FilledBox}};
        for (const auto& l : lines) twice([&] { c.Line(l.x0, l.y0, l.x1, l.y1, kRed, l.mode); });
        const float circles[][4] = {{30, 24, 20, 0.5f}, {30.5f, 24, 9, 1}, {60, 5, 30, 0.3f}};
        for (const auto& k : circles) twice([&] { c.Circle(k[0], k[1], k[2], kBlack, k[3]); });
        twice([&] { c.PSet(20, 30, kBlack); });
    }
    // A filled ellipse and a box with an interior invert the interior too.
    c.setDrawWidth(2);
    c.setFillStyle(kFillSolid);
    c.setFillColor(0x808080);
    for (int i = 0; i < 2; ++i) c.Circle(32, 20, 15, kBlack, 0.7f);
    for (int i = 0; i < 2; ++i) c.Line(4, 4, 25, 30, kBlack, LineMode::Box);
    EXPECT_EQ(AllPixels(c), before);
}

TEST(CanvasUnits, TwipsMapToPixelsAndAbsurdCoordinatesAreHarmless)
{
    Canvas t(20, 20);
    t.setScaleMode(kScaleTwips);
    EXPECT_EQ(t.ScaleWidth(), 300.0f);
    t.PSet(150, 150, kBlack);
    EXPECT_EQ(Marked(t), (PixelSet{{10, 10}}));
    EXPECT_EQ(t.Point(157, 143), kBlack);   // 10.47 and 9.53 round to 10
    EXPECT_EQ(t.Point(142, 150), kWhite);   // 9.47 rounds to 9
    EXPECT_EQ(t.Point(300, 0), kInvalidColor);

    Canvas c(16, 10);
    for (auto [x, y] : {std::pair{-1.f, 0.f}, {16.f, 0.f}, {0.f, 10.f}, {NAN, 1.f}, {1e30f, 1.f}})
        EXPECT_EQ(c.Point(x, y), kInvalidColor) << x << "," << y;

    c.Line(NAN, 1, 5, 5, kBlack, LineMode::Line);
    c.Circle(5, 5, NAN, kBlack);
    c.PSet(1e9f, -1e9f, kBlack);
    c.Line(1e9f, 1e9f, 2e9f, 3e9f, kBlack, LineMode::FilledBox);
    EXPECT_TRUE(Marked(c).empty());

    // A very long line is clipped before it is walked.
    c.Line(-1e6f, 4, 1e6f, 4, kBlack, LineMode::Line);
    EXPECT_EQ(Marked(c), Rect(0, 4, 15, 4));
    c.Cls();
    c.setDrawWidth(3);
    c.Line(-1e9f, -1e9f, 1e9f, 1e9f, kBlack, LineMode::Line);
    EXPECT_EQ(c.Point(5, 5), kBlack);
    EXPECT_EQ(c.Point(12, 2), kWhite);
    c.Circle(8, 5, 1e9f, kBlack, 0.5f);
    c.Line(-5e8f, -5e8f, 5e8f, 5e8f, kBlack, LineMode::Box);
    c.setDrawWidth(32767);
    c.PSet(8, 5, kRed);
    EXPECT_TRUE(Marked(c, kRed).empty());
}

TEST(CanvasDirty, ReportsOnlyTheChangedPixels)
{
    Canvas c(100, 80);
    std::vector<QRect> dirty;
    c.onDirty = [&](const QRect& r) { dirty.push_back(r); };

    c.PSet(5, 6, kBlack);
    c.Line(2, 3, 6, 3, kBlack, LineMode::Line);
    c.Circle(50, 40, 2, kBlack);
    c.Line(-10, 70, 3, 75, kBlack, LineMode::Box);
    EXPECT_EQ(dirty, (std::vector<QRect>{{5, 6, 1, 1}, {2, 3, 5, 1}, {48, 38, 5, 5}, {0, 70, 4, 6}}));

    // Pixels that already have the pen colour are not changes.
    dirty.clear();
    c.Line(2, 3, 6, 3, kBlack, LineMode::Line);
    c.setDrawMode(kDrawModeNotXorPen);
    c.Line(0, 0, 99, 79, kWhite, LineMode::Line);
    EXPECT_TRUE(dirty.empty());

    c.markDirty(QRect(90, 70, 50, 50));
    c.Cls();
    EXPECT_EQ(dirty, (std::vector<QRect>{{90, 70, 10, 10}, {0, 0, 100, 80}}));
}

TEST(CanvasSize, ResizeKeepsPixelsAndShowsBackColour)
{
    Canvas c(4, 3, kWhite);
    int resizes = 0;
    c.onResize = [&] { ++resizes; };
    c.setBackColor(kRed);
    c.PSet(3, 2, kBlack);
    c.resizePixels(6, 5);
    EXPECT_EQ(resizes, 1);
    EXPECT_EQ(c.Point(3, 2), kBlack);
    EXPECT_EQ(c.Point(0, 0), kWhite);
    for (auto [x, y] : {std::pair{4, 0}, {0, 4}, {5, 4}}) EXPECT_EQ(c.Point(x, y), kRed);

    c.resizePixels(6, 5);
    EXPECT_EQ(resizes, 1);
    c.resizePixels(3, 2);
    EXPECT_EQ(resizes, 2);
    EXPECT_EQ(c.Point(3, 2), kInvalidColor);
    c.resizePixels(4, 3);
    EXPECT_EQ(c.Point(3, 2), kRed);   // the cut-off pixel is gone
    c.resizePixels(0, -5);
    EXPECT_EQ(c.pixelWidth(), 1);
    EXPECT_EQ(c.pixelHeight(), 1);
}

// Red, green / blue, black in another pixel format than the canvas's.
QImage TwoByTwo(QImage::Format format) { return test::Rows({{kRed, 0x00FF00}, {0xFF0000, kBlack}}).convertToFormat(format); }

TEST(CanvasPictures, SetPictureFillsTheRestAndAutoSizes)
{
    Canvas c(4, 3, kBlack);
    c.setBackColor(0x00FFFF);
    c.setPicture(TwoByTwo(QImage::Format_RGB32));
    const std::pair<QPoint, ColorRef> expected[] = {
        {{0, 0}, kRed}, {{1, 0}, 0x00FF00}, {{0, 1}, 0xFF0000}, {{2, 0}, 0x00FFFF}, {{3, 2}, 0x00FFFF}};
    for (auto [p, colour] : expected) EXPECT_EQ(c.Point(p.x(), p.y()), colour) << p.x() << "," << p.y();

    int resizes = 0;
    c.onResize = [&] { ++resizes; };
    c.setAutoSize(true);
    c.setPicture(TwoByTwo(QImage::Format_ARGB32));
    EXPECT_EQ(resizes, 1);
    EXPECT_EQ(c.pixelWidth(), 2);
    EXPECT_EQ(c.Point(1, 1), kBlack);
    EXPECT_EQ(c.buffer().format(), kPixelFormat);
}

TEST(CanvasPictures, PaintPictureNaturalStretchedAndClipped)
{
    Canvas c(6, 6);
    c.PaintPicture(TwoByTwo(QImage::Format_RGB32), 1, 1);
    EXPECT_EQ(c.Point(1, 1), kRed);
    EXPECT_EQ(c.Point(2, 2), kBlack);
    EXPECT_EQ(Marked(c).size(), 4u);

    Canvas s(6, 6);
    s.PaintPicture(TwoByTwo(QImage::Format_RGB32), 1, 1, 4, 4);
    const std::pair<QPoint, ColorRef> stretched[] = {
        {{1, 1}, kRed}, {{2, 2}, kRed}, {{3, 1}, 0x00FF00}, {{1, 4}, 0xFF0000}, {{4, 4}, kBlack}, {{5, 5}, kWhite}};
    for (auto [p, colour] : stretched) EXPECT_EQ(s.Point(p.x(), p.y()), colour) << p.x() << "," << p.y();

    // Negative width mirrors: the block covers x-2 .. x-1.
    Canvas m(4, 2);
    m.PaintPicture(TwoByTwo(QImage::Format_RGB32), 3, 0, -2, 2);
    EXPECT_EQ(m.Point(2, 0), kRed);
    EXPECT_EQ(m.Point(1, 0), 0x00FF00);

    Canvas edge(3, 3);
    edge.PaintPicture(TwoByTwo(QImage::Format_RGB32), 2, -1, 1e9f, 1e9f);
    // Each source pixel covers 5e8 x 5e8 pixels: the visible part is all top-left red.
    EXPECT_EQ(Marked(edge), Rect(2, 0, 2, 2));
    EXPECT_EQ(edge.Point(2, 2), kRed);
}

TEST(CanvasPictures, ShrinkingTakesTheSourcePixelNearestEachCentre)
{
    // Source pixel (x, y) is RGB(x, y, 0). Onto 2 x 2, destination i takes source
    // floor((i + 0.5) * 4 / 2): 1 and 3. Onto 3 x 3: floor((i + 0.5) * 4 / 3): 0, 2 and 3.
    const QImage source = test::Numbered(4, 4);
    const struct { int size; std::vector<int> from; } cases[] = {{2, {1, 3}}, {3, {0, 2, 3}}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.size);
        Canvas c(5, 5);
        c.PaintPicture(source, 0, 0, float(k.size), float(k.size));
        for (int y = 0; y < k.size; ++y)
            for (int x = 0; x < k.size; ++x) EXPECT_EQ(c.Point(x, y), RGB(k.from[x], k.from[y], 0)) << x << "," << y;
        EXPECT_EQ(c.Point(k.size, 0), kWhite);
    }
}

TEST(CanvasText, PrintDrawsInForeColourAndAdvances)
{
    Canvas c = Patterned(120, 40);
    const std::vector<uint32_t> before = AllPixels(c);
    QFont f;
    f.setPixelSize(16);
    c.setFont(f);
    c.setForeColor(kRed);
    const float w = c.TextWidth("Hi!");
    EXPECT_GT(c.TextHeight("Hi!"), 10.0f);
    c.setCurrentX(10);
    c.setCurrentY(5);
    c.Print("Hi!");
    EXPECT_FLOAT_EQ(c.CurrentX(), 10 + w);

    int drawn = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x)
            if (Word(c, x, y) != before[size_t(y * 120 + x)]) {
                ++drawn;
                EXPECT_EQ(c.Point(x, y), kRed);
                EXPECT_GE(x, 9);
                EXPECT_GE(y, 5);
            }
    EXPECT_GT(drawn, 10);

    // Inverted text drawn twice leaves the picture as it was.
    Canvas inv = Patterned(120, 40);
    inv.setFont(f);
    inv.setDrawMode(kDrawModeNotXorPen);
    for (int i = 0; i < 2; ++i) {
        inv.setCurrentX(-3);
        inv.setCurrentY(30);
        inv.Print("Hi!");
    }
    EXPECT_EQ(AllPixels(inv), before);

    inv.setScaleMode(kScaleTwips);
    EXPECT_FLOAT_EQ(inv.TextWidth("Hi!"), 15 * w);
}

} // namespace
} // namespace orv
