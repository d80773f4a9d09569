// Circlize against circles worked out by hand and against drawing every circle in turn with
// the canvas's circle primitive.
#include "documents/canvas.h"
#include "effects/circlize.h"
#include "tests/support/test_pictures.h"
#include <gtest/gtest.h>

namespace orv {

namespace {

using test::At;

using test::NumberedColor;

QImage Circlized(const QImage& picture, const CirclizeParams& p)
{
    QImage out = picture;
    EXPECT_TRUE(RunOnWorkingCopy(out, [&p](WorkingCopy& w) { return CirclizePasses(w, p); }, nullptr));
    return out;
}

} // namespace

TEST(Circlize, EachCircleTakesItsCentresColourOnItsRing)
{
    // Steps of 10 on a 30 x 30 picture: centres at 0, 10 and 20 across and down, radius 3.
    const QImage start = test::Numbered(30, 30);
    const QImage out = Circlized(start, {10, 10, 3});
    for (QPoint p : {QPoint(13, 10), QPoint(7, 10), QPoint(10, 7), QPoint(12, 12)})
        EXPECT_EQ(At(out, p.x(), p.y()), NumberedColor(10, 10)) << p.x() << "," << p.y();
    // Inside the ring and beyond it the picture shows through.
    for (QPoint p : {QPoint(11, 11), QPoint(14, 10)})
        EXPECT_EQ(At(out, p.x(), p.y()), NumberedColor(p.x(), p.y())) << p.x() << "," << p.y();
    // Circles at the edge are cut off there.
    EXPECT_EQ(At(out, 3, 0), NumberedColor(0, 0));
    EXPECT_EQ(At(out, 0, 3), NumberedColor(0, 0));
    EXPECT_EQ(At(out, 29, 29), NumberedColor(29, 29));
}

TEST(Circlize, RadiusZeroLeavesThePictureAndAHugeRadiusMissesIt)
{
    const QImage start = test::Numbered(17, 13);
    EXPECT_EQ(Circlized(start, {1, 1, 0}), start);
    EXPECT_EQ(Circlized(start, {3.5, 2, 100}), start);
}

TEST(Circlize, MatchesDrawingEveryCircleInTurn)
{
    const struct { int w, h; CirclizeParams p; } cases[] = {
        {61, 47, {3.5, 2, 20}}, {40, 30, {2.25, 1.75, 4.6}}, {23, 31, {0.5, 0.3, 2.5}}, {50, 12, {7, 9, 0.4}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h << " steps " << c.p.ystep << ", " << c.p.xstep
                                        << " radius " << c.p.radius);
        const QImage start = test::Numbered(c.w, c.h);
        Canvas original(c.w, c.h), drawn(c.w, c.h);
        original.buffer() = start;
        drawn.buffer() = start.copy();
        for (double y = 20; y - 20 <= c.h - 1; y += c.p.ystep)
            for (double x = 10; x <= c.w + 9; x += c.p.xstep) {
                const float px = float(x - 10), py = float(y - 20);
                drawn.Circle(px, py, float(c.p.radius), original.Point(px, py));
            }
        EXPECT_EQ(Circlized(start, c.p), drawn.buffer());
    }
}

} // namespace orv
