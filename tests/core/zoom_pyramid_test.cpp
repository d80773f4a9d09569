// What a document window shows at a zoom: sharp squares zoomed in, area averages zoomed out,
// and the cached half-size levels kept up to date where the picture changes.
#include "documents/view_zoom.h"
#include "documents/zoom_pyramid.h"
#include "platform/color.h"
#include "tests/support/kernel_targets.h"
#include <gtest/gtest.h>

namespace orv::test {

namespace {

// A picture of one row per list, red channel as given (green and blue 0).
QImage Reds(std::initializer_list<std::initializer_list<int>> rows)
{
    QImage img = NewPixelBuffer(int(rows.begin()->size()), int(rows.size()), 0);
    int y = 0;
    for (auto row : rows) {
        int x = 0;
        for (int v : row) reinterpret_cast<uint32_t*>(img.scanLine(y))[x++] = ToPixel(RGB(v, 0, 0));
        ++y;
    }
    return img;
}

QList<int> RedsOf(const QImage& img)
{
    QList<int> out;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) out << RedOf(FromPixel(reinterpret_cast<const uint32_t*>(img.constScanLine(y))[x]));
    return out;
}

QList<int> Render(const QImage& picture, double scale, int x0, int w, int h)
{
    ZoomPyramid pyramid;
    QImage out = NewPixelBuffer(w, h, 0);
    pyramid.render(picture, scale, x0, 0, out);
    return RedsOf(out);
}

} // namespace

TEST(ZoomPyramid, ZoomedOutPixelsAreAreaAveragesAndZoomedInOnesSharpSquares)
{
    const QImage picture = Reds({{0, 4, 8, 12}, {1, 3, 5, 7}});
    struct Case {
        double scale;
        int x0, w, h;
        QList<int> expected;
    };
    const Case cases[] = {
        {0.5, 0, 2, 1, {2, 8}},           // (0+4+1+3)/4 = 2, (8+12+5+7)/4 = 8
        {0.25, 0, 1, 1, {5}},             // all eight: 40 / 8
        {3.0, 2, 4, 1, {0, 4, 4, 4}},     // screen x 2 shows pixel 0, 3..5 pixel 1
        {1.0, 1, 3, 2, {4, 8, 12, 3, 5, 7}},
    };
    for (const Case& c : cases) EXPECT_EQ(Render(picture, c.scale, c.x0, c.w, c.h), c.expected) << c.scale;
    // An odd last column averages with itself.
    EXPECT_EQ(Render(Reds({{10, 20, 40}}), 0.5, 0, 2, 1), (QList<int>{15, 40}));
    // Between two halvings, a plain area stays plain.
    EXPECT_EQ(Render(Reds({{90, 90, 90, 90, 90, 90}}), 2.0 / 3.0, 0, 4, 1), (QList<int>{90, 90, 90, 90}));
}

TEST(ZoomPyramid, LevelsFollowTheChangedPixelsOnEveryInstructionSet)
{
    QImage picture = NewPixelBuffer(77, 9, 0);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 77; ++x)
            reinterpret_cast<uint32_t*>(picture.scanLine(y))[x] = ToPixel(RGB(x * 37 % 256, y * 91 % 256, (x * y) % 256));
    const auto average = [&](int x, int y, int shift) {
        int sums[3] = {};
        for (int yy = y * 2; yy < y * 2 + 2; ++yy)
            for (int xx = x * 2; xx < x * 2 + 2; ++xx) {
                const ColorRef c = FromPixel(reinterpret_cast<const uint32_t*>(picture.constScanLine(std::min(yy, 8)))[std::min(xx, 76)]);
                sums[0] += RedOf(c), sums[1] += GreenOf(c), sums[2] += BlueOf(c);
            }
        return (sums[shift] + 2) / 4;
    };
    ForEachKernelTarget([&] {
        ZoomPyramid pyramid;
        pyramid.level(picture, 2);
        // One changed pixel, told to the pyramid, reaches every level.
        reinterpret_cast<uint32_t*>(picture.scanLine(4))[70] = ToPixel(RGB(255, 255, 255));
        pyramid.invalidate(QRect(70, 4, 1, 1));
        const QImage& one = pyramid.level(picture, 1);
        ASSERT_EQ(one.size(), QSize(39, 5));
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 39; ++x) {
                const ColorRef c = FromPixel(reinterpret_cast<const uint32_t*>(one.constScanLine(y))[x]);
                ASSERT_EQ(RedOf(c), average(x, y, 0)) << x << "," << y;
                ASSERT_EQ(GreenOf(c), average(x, y, 1));
                ASSERT_EQ(BlueOf(c), average(x, y, 2));
            }
        ZoomPyramid fresh;
        EXPECT_EQ(pyramid.level(picture, 2), fresh.level(picture, 2));
        reinterpret_cast<uint32_t*>(picture.scanLine(4))[70] = ToPixel(0);
    });
}

TEST(ViewZoom, PercentTextAndFit)
{
    EXPECT_EQ(ZoomPercentText(kActualSizeStep), "100%");
    EXPECT_EQ(ZoomPercentText(0), "6.25%");
    EXPECT_EQ(ZoomPercentText(6), "66.67%");
    EXPECT_EQ(ZoomPercentText(kZoomStepCount - 1), "3200%");
    // 6000 x 4000 in 1500 x 900: 1/6 shows 1000 x 667, 1/4 would need 1000 rows.
    EXPECT_EQ(kZoomSteps[FitZoomStep(QSize(6000, 4000), QSize(1500, 900))].den, 6);
    EXPECT_EQ(FitZoomStep(QSize(100, 100), QSize(1500, 900)), kActualSizeStep);   // never above 1:1
    EXPECT_EQ(PictureCoordinate(-0.5, kZoomSteps[10]), -1);   // left of the canvas at 3:1
}

} // namespace orv::test
