// The plasma cloud: without turbulence every point is the rounded mean of its neighbours, worked
// out by hand on small pictures; a seed gives one picture whatever the canvas held and on every
// instruction set; progress and Cancel act while the cloud is made.
#include "fills/plasma.h"
#include "tests/support/kernel_targets.h"
#include "tests/support/test_pictures.h"

namespace orv {
namespace {

QImage Cloud(QImage canvas, const PlasmaParams& p, ProgressSink* sink = nullptr)
{
    RunOnWorkingCopy(canvas, [&](WorkingCopy& work) { return PlasmaPasses(work, p); }, sink);
    return canvas;
}

TEST(Plasma, WithoutTurbulenceEveryPointIsTheMeanOfItsNeighbours)
{
    struct Point {
        int x, y;
    };
    struct Case {
        int w, h;
        Point point;
        Point neighbours[4];
    };
    // Cells of side 4; the points at multiples of 4 are the seed's random colours. A neighbour
    // beyond an edge counts as the one opposite it, so past the last of those points (x = 4 of
    // the 7 x 4 picture) the cloud repeats it.
    const Case cases[] = {
        {5, 5, {2, 2}, {{0, 0}, {4, 0}, {0, 4}, {4, 4}}}, {5, 5, {2, 0}, {{2, 2}, {2, 2}, {0, 0}, {4, 0}}},
        {5, 5, {0, 2}, {{0, 0}, {0, 4}, {2, 2}, {2, 2}}}, {5, 5, {4, 2}, {{4, 0}, {4, 4}, {2, 2}, {2, 2}}},
        {5, 5, {2, 4}, {{2, 2}, {2, 2}, {0, 4}, {4, 4}}}, {5, 5, {1, 1}, {{0, 0}, {2, 0}, {0, 2}, {2, 2}}},
        {5, 5, {3, 3}, {{2, 2}, {4, 2}, {2, 4}, {4, 4}}}, {5, 5, {1, 0}, {{1, 1}, {1, 1}, {0, 0}, {2, 0}}},
        {5, 5, {2, 1}, {{2, 0}, {2, 2}, {1, 1}, {3, 1}}}, {5, 5, {4, 3}, {{4, 2}, {4, 4}, {3, 3}, {3, 3}}},
        {7, 4, {2, 2}, {{0, 0}, {4, 0}, {0, 0}, {4, 0}}}, {7, 4, {6, 2}, {{4, 0}, {4, 0}, {4, 0}, {4, 0}}},
        {7, 4, {6, 0}, {{4, 0}, {4, 0}, {4, 0}, {4, 0}}}, {7, 4, {0, 2}, {{0, 0}, {0, 0}, {2, 2}, {2, 2}}},
    };
    for (const Case& c : cases) {
        const QImage cloud = Cloud(NewPixelBuffer(c.w, c.h, 0), PlasmaParams{7, 0});
        for (int shift = 0; shift < 24; shift += 8) {
            uint32_t sum = 2;
            for (const Point& n : c.neighbours) sum += test::At(cloud, n.x, n.y) >> shift & 0xFF;
            EXPECT_EQ(test::At(cloud, c.point.x, c.point.y) >> shift & 0xFF, sum / 4)
                << c.w << "x" << c.h << " at " << c.point.x << "," << c.point.y << " shift " << shift;
        }
    }
    const QImage five = Cloud(NewPixelBuffer(5, 5, 0), PlasmaParams{7, 0});
    EXPECT_NE(test::At(five, 0, 0), test::At(five, 4, 4));   // random, not all alike
}

TEST(Plasma, ASeedGivesOnePictureWhateverTheCanvasAndOnEveryInstructionSet)
{
    const QImage a = Cloud(NewPixelBuffer(70, 50, 0), PlasmaParams{});
    EXPECT_EQ(Cloud(NewPixelBuffer(70, 50, 0xFFFFFF), PlasmaParams{}), a);
    EXPECT_NE(Cloud(NewPixelBuffer(70, 50, 0), PlasmaParams{NextPlasmaSeed(1), 50}), a);
    std::vector<QImage> clouds;
    test::ForEachKernelTarget([&] { clouds.push_back(Cloud(NewPixelBuffer(133, 67, 0), PlasmaParams{12345, 100})); });
    for (const QImage& cloud : clouds) EXPECT_EQ(cloud, clouds.back());   // the plain code comes last
}

TEST(Plasma, ProgressMovesAndCancelActsWhileTheCloudIsMade)
{
    // 64 x 64: one band of columns, so only a pass for each step reports before the end.
    test::RecordingSink sink;
    Cloud(NewPixelBuffer(64, 64, 0), PlasmaParams{}, &sink);
    ASSERT_GE(sink.values.size(), 13u);   // the first points and both steps of six cell sizes
    EXPECT_TRUE(std::is_sorted(sink.values.begin(), sink.values.end()));
    EXPECT_LT(sink.values.front(), 1.0f);
    const QImage canvas = test::Numbered(64, 64);
    test::RecordingSink cancelling(2);
    EXPECT_EQ(Cloud(canvas, PlasmaParams{}, &cancelling), canvas);
    EXPECT_EQ(cancelling.values.size(), 2u);
}

} // namespace
} // namespace orv
