// The pixel grid: shown from 8x on, never below, its lines on the edges of picture pixels.
#include "documents/ui/canvas_view.h"
#include "gui_fixture.h"
#include "tests/support/test_pictures.h"

namespace orv::test {

namespace {

class PixelGridTest : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        start();
    }
    // The screen pixels of the picture shown at step num/den that are not its one colour.
    std::set<std::pair<int, int>> marked(int num, int den)
    {
        frmDocument& doc = *frame->ActiveDocument();
        doc.canvas().resizePixels(12, 10);
        for (int i = 0; i < kZoomStepCount; ++i)
            if (kZoomSteps[i].num == num && kZoomSteps[i].den == den) doc.zoomTo(i, {});
        doc.DrawIMG->setPixelGrid(true);
        const ColorRef paper = test::At(doc.canvas().buffer(), 0, 0);
        const QImage shown = doc.DrawIMG->grab().toImage().convertToFormat(QImage::Format_RGB32);
        std::set<std::pair<int, int>> points;
        const int w = std::min(shown.width(), 12 * num / den), h = std::min(shown.height(), 10 * num / den);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const QRgb p = shown.pixel(x, y);
                if (RGB(qRed(p), qGreen(p), qBlue(p)) == paper) continue;
                points.insert({x, y});
            }
        return points;
    }
};

} // namespace

TEST_F(PixelGridTest, ShownFromEightTimesOnItsLinesOnPixelEdges)
{
    for (auto [num, den] : {std::pair{6, 1}, std::pair{1, 1}, std::pair{1, 2}})
        EXPECT_TRUE(marked(num, den).empty()) << num << "/" << den;
    for (int f : {8, 16}) {
        SCOPED_TRACE(f);
        const auto points = marked(f, 1);
        // Every edge between picture pixels carries a line (looked at half-way along a pixel),
        // and nothing off the edges is marked.
        for (int k = 1; k < 12; ++k) EXPECT_TRUE(points.count({k * f, f / 2})) << "no line at column " << k * f;
        for (int k = 1; k < 10; ++k) EXPECT_TRUE(points.count({f / 2, k * f})) << "no line at row " << k * f;
        for (auto [x, y] : points) EXPECT_TRUE(x % f == 0 || y % f == 0) << "a mark off the edges at " << x << "," << y;
    }
}

} // namespace orv::test
