// Rotate by any angle, Resize and Border against pixels worked out by hand, their refusals,
// and their orvane-batch entries.
#include "effects/geometry_kernels.h"
#include "effects/rotate90.h"
#include "tests/support/test_pictures.h"
#include <gtest/gtest.h>

namespace orv {
namespace {

using test::At;
using test::Numbered;
using test::Rows;

QImage Applied(QImage image, const std::function<std::vector<ColumnPass>(WorkingCopy&)>& passes)
{
    EXPECT_TRUE(RunOnWorkingCopy(image, passes, nullptr));
    return image;
}

QImage Rotated(const QImage& image, double angle, ColorRef back = 0xFFFFFF)
{
    return Applied(image, [=](WorkingCopy& w) { return RotatePasses(w, {angle, back}); });
}

TEST(GeometryKernels, QuarterTurnsAreExactAndA90DegreeTurnEqualsRotate90)
{
    const QImage picture = Numbered(137, 71);   // more than one tile of the turn each way
    const QImage once = Applied(picture, [](WorkingCopy& w) { return Rotate90Passes(w); });
    EXPECT_EQ(Rotated(picture, 90), once);
    EXPECT_EQ(Rotated(picture, -270), once);
    EXPECT_EQ(Rotated(Rotated(picture, 180), 180), picture);
    EXPECT_EQ(Rotated(Rotated(picture, -90), 90), picture);
    EXPECT_EQ(Rotated(picture, 180), Rotated(once, 90));
}

TEST(GeometryKernels, A45DegreeTurnGrowsTheCanvasAndItsCornersTakeTheBackground)
{
    const QImage red = NewPixelBuffer(10, 10, RGB(255, 0, 0));
    const ColorRef back = RGB(0, 0, 255);
    for (const double angle : {45.0, -45.0}) {
        const QImage turned = Rotated(red, angle, back);
        ASSERT_EQ(turned.size(), QSize(15, 15)) << angle;   // 10 sqrt 2 = 14.14
        for (const QPoint corner : {QPoint(0, 0), QPoint(14, 0), QPoint(0, 14), QPoint(14, 14), QPoint(2, 2)})
            EXPECT_EQ(At(turned, corner.x(), corner.y()), back) << angle;
        for (const QPoint inside : {QPoint(7, 7), QPoint(7, 2), QPoint(2, 7), QPoint(12, 7), QPoint(7, 12)})
            EXPECT_EQ(At(turned, inside.x(), inside.y()), RGB(255, 0, 0)) << angle;
    }
    EXPECT_EQ(RotatedSize(60, 40, 30), QSize(72, 65));
}

TEST(GeometryKernels, HalvingA2x2CheckerAveragesItAndNearestPicksOnePixel)
{
    const ColorRef b = 0, w = 0xFFFFFF;
    const QImage checker = Rows({{b, w}, {w, b}});
    const auto resized = [&](ResizeFilter f, int width, int height) {
        return Applied(checker, [=](WorkingCopy& work) { return ResizePasses(work, {width, height, f}); });
    };
    // Each row: black and white weigh alike, 127.5 rounds up; then the two grey rows.
    EXPECT_EQ(At(resized(ResizeFilter::Lanczos, 1, 1), 0, 0), RGB(128, 128, 128));
    EXPECT_EQ(At(resized(ResizeFilter::Nearest, 1, 1), 0, 0), b);   // pixel (1, 1)
    // Doubling with Nearest repeats every pixel twice across and down.
    EXPECT_EQ(resized(ResizeFilter::Nearest, 4, 4), Rows({{b, b, w, w}, {b, b, w, w}, {w, w, b, b}, {w, w, b, b}}));
    // A flat picture stays flat through Lanczos's negative lobes, in both directions.
    const QImage flat = NewPixelBuffer(7, 5, RGB(10, 200, 90));
    for (const QSize to : {QSize(3, 2), QSize(20, 13), QSize(7, 9)}) {
        const QImage r = Applied(flat, [=](WorkingCopy& work) { return ResizePasses(work, {to.width(), to.height(), ResizeFilter::Lanczos}); });
        EXPECT_EQ(r, NewPixelBuffer(to.width(), to.height(), RGB(10, 200, 90))) << to.width() << "x" << to.height();
    }
}

TEST(GeometryKernels, TheBorderSurroundsThePictureOnEverySide)
{
    const ColorRef r = RGB(255, 0, 0), a = RGB(1, 2, 3), c = RGB(4, 5, 6);
    const QImage bordered = Applied(Rows({{a, c}}), [=](WorkingCopy& w) { return BorderPasses(w, {2, r}); });
    EXPECT_EQ(bordered, Rows({{r, r, r, r, r, r}, {r, r, r, r, r, r}, {r, r, a, c, r, r}, {r, r, r, r, r, r}, {r, r, r, r, r, r}}));
}

TEST(GeometryKernels, UnusableValuesAreRefusedWithTheirMessages)
{
    double angle = 0;
    int side = 0;
    const QString angleRule = QStringLiteral("The angle must be a number of degrees that is not 0 or a whole number of turns.");
    const std::pair<QString, QString> cases[] = {
        {AngleRefusal(QStringLiteral("abc"), &angle), angleRule},
        {AngleRefusal(QStringLiteral("0"), &angle), angleRule},
        {AngleRefusal(QStringLiteral("-720"), &angle), angleRule},
        {AngleRefusal(QStringLiteral("-12.5"), &angle), QString()},
        {RotateSizeRefusal(30000, 30000, 45),
         QStringLiteral("The turned picture would measure 42427 x 42427 pixels: a picture may have at most 32768 pixels a side and 400000000 pixels in all.")},
        {RotateSizeRefusal(30000, 100, 90), QString()},
        {SideRefusal(QStringLiteral("0"), false, 10, "width", &side), QStringLiteral("The width must be a number of pixels from 1 to 32768.")},
        {SideRefusal(QStringLiteral("x"), false, 10, "height", &side), QStringLiteral("The height must be a number of pixels from 1 to 32768.")},
        {SideRefusal(QStringLiteral("4"), true, 10, "width", &side), QStringLiteral("The width must be a percentage that gives 1 to 32768 pixels.")},
        {ResizeSizeRefusal(30000, 20000),
         QStringLiteral("The resized picture would measure 30000 x 20000 pixels: a picture may have at most 32768 pixels a side and 400000000 pixels in all.")},
        {BorderWidthRefusal(QStringLiteral("0.4"), 10, 10, &side), QStringLiteral("The border width must be a number of pixels from 1 to 32768.")},
        {BorderWidthRefusal(QStringLiteral("10"), 32760, 10, &side),
         QStringLiteral("The picture with its border would measure 32780 x 30 pixels: a picture may have at most 32768 pixels a side and 400000000 pixels in all.")},
    };
    for (const auto& [got, want] : cases) EXPECT_EQ(got, want);
    EXPECT_EQ(SideRefusal(QStringLiteral("50"), true, 9, "width", &side), QString());
    EXPECT_EQ(side, 4);   // 4.5 rounds to even
}

TEST(GeometryKernels, BatchEntriesReadTheirParametersAsTheDialogsDo)
{
    const QImage picture = Numbered(40, 20);
    struct Case {
        const char* effect;
        EffectParams params;
        QSize size;       // empty: refused with `error`
        const char* error;
    };
    const Case cases[] = {
        {"rotate", {}, {20, 40}, ""},
        {"rotate", {{"angle", "30"}}, RotatedSize(40, 20, 30), ""},
        {"rotate", {{"angle", "0"}}, {}, "rotate: The angle must be a number of degrees that is not 0 or a whole number of turns."},
        {"resize", {{"width", "50%"}}, {20, 10}, ""},
        {"resize", {{"height", "60"}, {"filter", "nearest"}}, {120, 60}, ""},
        {"resize", {{"width", "10"}, {"height", "10"}}, {10, 10}, ""},
        {"resize", {{"width", "0"}}, {}, "resize: The width must be a number of pixels from 1 to 32768."},
        {"resize", {{"filter", "cubic"}}, {}, "resize: filter must be lanczos or nearest"},
        {"border", {{"width", "3"}, {"color", "255"}}, {46, 26}, ""},
        {"border", {{"size", "3"}}, {}, "border: unknown parameter size"},
    };
    for (const Case& c : cases) {
        const BatchEffect* effect = FindBatchEffect(QString::fromLatin1(c.effect));
        ASSERT_NE(effect, nullptr);
        QImage image = picture;
        QString error;
        EXPECT_EQ(effect->run(image, c.params, nullptr, &error), !c.size.isEmpty()) << c.effect;
        EXPECT_EQ(error, QString::fromLatin1(c.error));
        EXPECT_EQ(image.size(), c.size.isEmpty() ? picture.size() : c.size) << c.effect;
    }
    QImage turned = picture;
    QString error;
    FindBatchEffect(QStringLiteral("rotate"))->run(turned, {}, nullptr, &error);
    EXPECT_EQ(turned, Applied(picture, [](WorkingCopy& w) { return Rotate90Passes(w); }));
}

} // namespace
} // namespace orv
