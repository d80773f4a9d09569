// A display with a scale factor of 2: the test runs itself again in a process started with
// QT_SCALE_FACTOR=2.
#include "documents/ui/canvas_view.h"
#include "gui_fixture.h"
#include "tests/support/test_pictures.h"
#include <QProcess>

namespace orv::test {

namespace {

class HiDpiTest : public FrameTest {
protected:
    // Runs this test again at a scale of 2; false when this already is that run.
    bool ranAtScaleTwo()
    {
        if (qgetenv("QT_SCALE_FACTOR") == "2") return false;
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=%1.%2").arg(info->test_suite_name(), info->name())});
        EXPECT_TRUE(child.waitForFinished(120000));
        const QByteArray output = child.readAll();
        EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
        EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
        return true;
    }
};

} // namespace

TEST_F(HiDpiTest, StrokeLandsUnderThePointerAndEachPicturePixelIsOneLogicalPixel)
{
    if (ranAtScaleTwo()) return;
    ASSERT_DOUBLE_EQ(qApp->devicePixelRatio(), 2.0);
    start();
    frmDocument* doc = frame->ActiveDocument();
    frame->toolButton(1)->trigger();   // freehand
    CanvasView* view = doc->DrawIMG;
    const ColorRef paper = test::At(doc->canvas().buffer(), 0, 0);

    // The pointer half-way into logical pixels (11, 7) .. (21, 7) draws there, never beside.
    SendMouse(view, QEvent::MouseButtonPress, {11.5, 7.5}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(view, QEvent::MouseMove, {16.5, 7.5}, Qt::NoButton, Qt::LeftButton);
    SendMouse(view, QEvent::MouseMove, {21.5, 7.5}, Qt::NoButton, Qt::LeftButton);
    SendMouse(view, QEvent::MouseButtonRelease, {21.5, 7.5}, Qt::LeftButton, Qt::NoButton);
    const QImage& picture = doc->canvas().buffer();
    for (int x = 11; x <= 21; ++x) {
        EXPECT_NE(test::At(picture, x, 7), paper) << x;
        EXPECT_EQ(test::At(picture, x, 8), paper) << x;
        EXPECT_EQ(test::At(picture, x, 6), paper) << x;
    }
    EXPECT_EQ(test::At(picture, 10, 7), paper);
    EXPECT_EQ(test::At(picture, 22, 7), paper);

    // On screen: every picture pixel is the 2 x 2 block of device pixels under it.
    const QImage shown = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), picture.size() * 2);
    int wrong = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb p = shown.pixel(x, y);
            wrong += RGB(qRed(p), qGreen(p), qBlue(p)) != test::At(picture, x / 2, y / 2);
        }
    EXPECT_EQ(wrong, 0);

    // The tool icons come drawn for twice the size, not enlarged.
    const QIcon icon = frame->toolButton(1)->icon();
    EXPECT_TRUE(icon.availableSizes().contains(QSize(48, 48)));
    const QPixmap sharp = icon.pixmap(QSize(24, 24), 2.0);
    EXPECT_EQ(sharp.size(), QSize(48, 48));
    EXPECT_DOUBLE_EQ(sharp.devicePixelRatio(), 2.0);
}

TEST_F(HiDpiTest, AtTwiceTheSizeAPressLandsOnItsPixelAndEachPixelIsFourByFourDevicePixels)
{
    if (ranAtScaleTwo()) return;
    start();
    frmDocument* doc = frame->ActiveDocument();
    doc->canvas().resizePixels(30, 20);
    for (int i = 0; i < kZoomStepCount; ++i)
        if (kZoomSteps[i].num == 2 && kZoomSteps[i].den == 1) doc->zoomTo(i, {});
    CanvasView* view = doc->DrawIMG;
    // Every device pixel (logical half pixel) of picture pixel (5, 3): logical 10 .. 11.5.
    doc->canvas().setScaleMode(kScalePixels);
    QPointF landed;
    QObject::connect(view, &CanvasView::mouseMove, [&](int, float x, float y) { landed = {x, y}; });
    for (double at : {10.0, 10.5, 11.0, 11.5}) {
        SendMouse(view, QEvent::MouseMove, {at, at - 4}, Qt::NoButton, Qt::NoButton);
        EXPECT_EQ(landed, QPointF(5, 3)) << at;
    }
    // A picture of distinct pixels shows each as the 4 x 4 block of device pixels under it.
    QImage picture = doc->canvas().buffer().copy();
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x) reinterpret_cast<uint32_t*>(picture.scanLine(y))[x] = ToPixel(RGB(x * 8, y * 12, 90));
    doc->canvas().setPicture(picture);
    const QImage shown = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_GE(shown.width(), 120);
    ASSERT_GE(shown.height(), 80);
    int wrong = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 120; ++x) {
            const QRgb p = shown.pixel(x, y);
            wrong += RGB(qRed(p), qGreen(p), qBlue(p)) != RGB(x / 4 * 8, y / 4 * 12, 90);
        }
    EXPECT_EQ(wrong, 0);
}

} // namespace orv::test
