#include "shell/number_text.h"
#include "tools/draw_tools.h"
#include "tools/text_tool.h"
#include "tools/tool.h"
#include <gtest/gtest.h>
#include <set>
#include <utility>

namespace orv {
namespace {

constexpr ColorRef kWhite = 0xFFFFFF;
constexpr ColorRef kBlack = 0;
using PixelSet = std::set<std::pair<int, int>>;

PixelSet Marked(const Canvas& c, ColorRef background = kWhite)
{
    PixelSet out;
    for (int y = 0; y < c.pixelHeight(); ++y)
        for (int x = 0; x < c.pixelWidth(); ++x)
            if (c.Point(float(x), float(y)) != background) out.insert({x, y});
    return out;
}

TEST(EllipseInBoxTest, RadiusAspectAndCentreFollowTheDragBox)
{
    // Halves: x keeps them, y and the radius round to even (2.5 -> 2, 3.5 -> 4); corners may
    // come in either order and lie beyond sixteen bits.
    const struct { int x0, y0, x1, y1, radius; float aspect; double cx; int cy; } cases[] = {
        {0, 0, 100, 50, 50, 0.5f, 50, 25},          {0, 0, 50, 100, 50, 2.0f, 25, 50},
        {10, 0, 21, 5, 6, 5.0f / 11, 15.5, 2},      {0, 0, 5, 0, 2, 0, 2.5, 0},
        {0, 0, 7, 0, 4, 0, 3.5, 0},                 {20, 10, 0, 0, 10, 0.5f, 10, 5},
        {3, 0, 3, 40, 20, 10000.0f, 3, 20},         {-30000, 0, 40000, 20000, 35000, 2.0f / 7, 5000, 10000},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(testing::Message() << k.x0 << "," << k.y0 << " " << k.x1 << "," << k.y1);
        const EllipseInBox e = EllipseFor(k.x0, k.y0, k.x1, k.y1);
        EXPECT_EQ(e.radius, k.radius);
        EXPECT_FLOAT_EQ(e.aspect, k.aspect);
        EXPECT_DOUBLE_EQ(e.cx, k.cx);
        EXPECT_EQ(e.cy, k.cy);
    }
    Canvas c(10, 10);
    DrawShape(c, kShapeLine, -40000, 5, 40000, 5);
    PixelSet row;
    for (int x = 0; x < 10; ++x) row.insert({x, 5});
    EXPECT_EQ(Marked(c), row);
}

TEST(ShapeToolTest, PreviewRemovesItselfAndTheReleaseDrawsTheLastShape)
{
    for (auto [name, kind] : {std::pair{"Circle", kShapeEllipse}, {"Line", kShapeLine}, {"Rectangle", kShapeBox},
                              {"FillRectangle", kShapeFilledBox}}) {
        SCOPED_TRACE(name);
        Canvas c(60, 40);
        Tool* tool = FindTool(QString::fromLatin1(name));
        ASSERT_NE(tool, nullptr);
        ToolContext ctx;
        tool->press(c, ctx, 10, 8);
        for (auto [x, y] : {std::pair{15.f, 12.f}, {30.4f, 25.6f}, {44.f, 30.f}, {40.f, 20.f}})
            tool->move(c, ctx, 1, x, y);
        tool->release(c, 1);
        EXPECT_EQ(c.DrawMode(), kDrawModeCopyPen);
        EXPECT_EQ(RubberBand.State, 0);

        Canvas expected(60, 40);
        DrawShape(expected, kind, 10, 8, 40, 20);
        EXPECT_EQ(Marked(c), Marked(expected));
    }
}

TEST(ShapeToolTest, ARightReleaseKeepsTheDragForTheNextPress)
{
    Canvas c(40, 40);
    Tool* line = FindTool(QStringLiteral("Line"));
    ToolContext ctx;
    line->press(c, ctx, 5, 5);
    line->move(c, ctx, 1, 20, 5);
    line->release(c, 2);
    EXPECT_EQ(RubberBand.State, 1);
    line->press(c, ctx, 30, 30);   // resumes from (5, 5)
    EXPECT_EQ(RubberBand.X1, 5);
    line->move(c, ctx, 1, 5, 20);
    line->release(c, 1);
    Canvas expected(40, 40);
    DrawShape(expected, kShapeLine, 5, 5, 5, 20);
    EXPECT_EQ(Marked(c), Marked(expected));
}

TEST(ToolTest, EraserPaintsWhiteAtItsWidthAndGivesThePenBack)
{
    Canvas c(20, 20, kBlack);
    c.setForeColor(0x0000FF);
    c.setDrawWidth(5);
    Tool* eraser = FindTool(QStringLiteral("Eraser"));
    ToolContext ctx;
    ctx.eraserWidth = 1;
    eraser->press(c, ctx, 2, 10);
    eraser->move(c, ctx, 1, 12, 10);
    EXPECT_EQ(Marked(c, kBlack).size(), 11u);   // one pixel wide, both ends included
    EXPECT_EQ(c.Point(7, 10), kWhite);
    EXPECT_EQ(c.ForeColor(), 0x0000FF);
    EXPECT_EQ(c.DrawWidth(), 5);
    eraser->move(c, ctx, 2, 12, 15);   // not the left button: nothing
    EXPECT_EQ(Marked(c, kBlack).size(), 11u);
}

TEST(ToolTest, FloodFillChangesOnlyWhatDiffers)
{
    Canvas c(30, 20);
    c.Line(15, 0, 15, 19);   // a wall splitting the picture
    c.setForeColor(kWhite);
    Tool* fill = FindTool(QStringLiteral("Fill"));
    fill->press(c, ToolContext{}, 3, 3);   // already white: nothing changes
    EXPECT_EQ(Marked(c).size(), 20u);
    c.setForeColor(0x00FF00);
    fill->press(c, ToolContext{}, 3.4f, 3.6f);
    EXPECT_EQ(c.Point(0, 0), 0x00FF00);
    EXPECT_EQ(c.Point(14, 19), 0x00FF00);
    EXPECT_EQ(c.Point(15, 5), kBlack);
    EXPECT_EQ(c.Point(16, 5), kWhite);
}

TEST(ToolTest, ChalkSpecklesStayWithinTwelvePixels)
{
    Canvas c(100, 100);
    Tool* chalk = FindTool(QStringLiteral("Chalk"));
    chalk->press(c, ToolContext{}, 50, 50);
    chalk->move(c, ToolContext{}, 1, 50, 50);
    for (auto [x, y] : Marked(c)) {
        EXPECT_LE(std::abs(x - 50), 12);
        EXPECT_LE(std::abs(y - 50), 12);
    }
    EXPECT_EQ(c.DrawWidth(), 1);   // restored
}

TEST(ToolTest, PointerToolsConvertTwipsWhenTheyTurnTheCanvasToPixels)
{
    Canvas c(40, 40);
    c.setScaleMode(kScaleTwips);
    c.setForeColor(0x00FF00);
    c.Line(300, 0, 300, 585);   // a wall at pixel 20
    FindTool(QStringLiteral("Fill"))->press(c, ToolContext{}, 450, 150);   // pixel (30, 10)
    EXPECT_EQ(c.ScaleMode(), kScalePixels);
    EXPECT_EQ(c.Point(39, 0), 0x00FF00);
    EXPECT_EQ(c.Point(0, 0), kWhite);
}

TEST(TextCommitTest, ShadowLiesUnderTheTextAtTheOffset)
{
    Canvas plain(120, 40);
    CommitText(plain, QStringLiteral("Hg"), 10, 5, TextShadow{});
    const PixelSet text = Marked(plain);
    ASSERT_FALSE(text.empty());

    Canvas shaded(120, 40);
    shaded.setScaleMode(kScaleTwips);
    const ColorRef grey = 0x808080;
    CommitText(shaded, QStringLiteral("Hg"), 10, 5, TextShadow{true, 3, grey});
    EXPECT_EQ(shaded.ScaleMode(), kScaleTwips);
    EXPECT_EQ(shaded.ForeColor(), kBlack);
    shaded.setScaleMode(kScalePixels);
    for (auto [x, y] : text) {
        EXPECT_EQ(shaded.Point(float(x), float(y)), kBlack);
        if (!text.count({x + 3, y + 3})) {
            EXPECT_EQ(shaded.Point(float(x + 3), float(y + 3)), grey);
        }
    }
    PixelSet both = text;
    for (auto [x, y] : text) both.insert({x + 3, y + 3});
    EXPECT_EQ(Marked(shaded), both);
}

TEST(NumberTextTest, LeadingNumberAndTheWidthKeyFilter)
{
    for (auto [text, number] : {std::pair{"12a", 12.0}, {"", 0.0}, {"abc", 0.0}, {" -2.5e1x", -25.0}})
        EXPECT_EQ(LeadingNumber(QString::fromLatin1(text)), number) << text;
    EXPECT_TRUE(LineWidthKeyAccepted(QStringLiteral("5"), u'0'));    // 50
    EXPECT_FALSE(LineWidthKeyAccepted(QStringLiteral("50"), u'0'));  // 500
    EXPECT_FALSE(LineWidthKeyAccepted(QStringLiteral("5"), u'x'));
    EXPECT_TRUE(LineWidthKeyAccepted(QStringLiteral("50"), QChar(8)));
}

} // namespace
} // namespace orv
