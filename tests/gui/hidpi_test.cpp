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

// At zoom 1 and 2 a press anywhere on a picture pixel's device pixels lands on that pixel, and
// the pixel shows as the block of 2 x zoom device pixels under it; a stroke lands under the
// pointer; the tool icons come drawn for twice the size, not enlarged.
TEST_F(HiDpiTest, PressesLandOnTheirPixelAndEachPixelIsItsBlockOfDevicePixelsAtEveryZoom)
{
    if (ranAtScaleTwo()) return;
    ASSERT_DOUBLE_EQ(qApp->devicePixelRatio(), 2.0);
    start();
    frmDocument* doc = frame->ActiveDocument();
    CanvasView* view = doc->DrawIMG;
    doc->canvas().resizePixels(30, 20);
    doc->canvas().setScaleMode(kScalePixels);
    QPointF landed;
    QObject::connect(view, &CanvasView::mouseMove, [&](int, float x, float y) { landed = {x, y}; });
    for (int zoom : {1, 2}) {
        SCOPED_TRACE(zoom);
        for (int i = 0; i < kZoomStepCount; ++i)
            if (kZoomSteps[i].num == zoom && kZoomSteps[i].den == 1) doc->zoomTo(i, {});
        // Every device pixel (logical half pixel) of picture pixel (5, 3).
        for (double half = 0; half < zoom; half += 0.5) {
            SendMouse(view, QEvent::MouseMove, {5 * zoom + half, 3 * zoom + half}, Qt::NoButton, Qt::NoButton);
            EXPECT_EQ(landed, QPointF(5, 3)) << half;
        }
        QImage picture = doc->canvas().buffer().copy();
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 30; ++x) Put(picture, x, y, RGB(x * 8, y * 12, 90));
        doc->canvas().setPicture(picture);
        const int block = 2 * zoom;
        const QImage shown = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_GE(shown.width(), 30 * block);
        ASSERT_GE(shown.height(), 20 * block);
        int wrong = 0;
        for (int y = 0; y < 20 * block; ++y)
            for (int x = 0; x < 30 * block; ++x) {
                const QRgb p = shown.pixel(x, y);
                wrong += RGB(qRed(p), qGreen(p), qBlue(p)) != RGB(x / block * 8, y / block * 12, 90);
            }
        EXPECT_EQ(wrong, 0);
    }

    // The pointer half-way into logical pixels (11, 7) .. (21, 7) at zoom 1 draws there, never beside.
    doc->zoomTo(kActualSizeStep, {});
    doc->canvas().Cls();
    frame->toolButton(1)->trigger();   // freehand
    SendMouse(view, QEvent::MouseButtonPress, {11.5, 7.5}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(view, QEvent::MouseMove, {16.5, 7.5}, Qt::NoButton, Qt::LeftButton);
    SendMouse(view, QEvent::MouseMove, {21.5, 7.5}, Qt::NoButton, Qt::LeftButton);
    SendMouse(view, QEvent::MouseButtonRelease, {21.5, 7.5}, Qt::LeftButton, Qt::NoButton);
    const QImage& drawn = doc->canvas().buffer();
    const ColorRef paper = test::At(drawn, 0, 0);
    for (int x = 10; x <= 22; ++x) {
        EXPECT_EQ(test::At(drawn, x, 7) != paper, x >= 11 && x <= 21) << x;
        EXPECT_EQ(test::At(drawn, x, 8), paper) << x;
        EXPECT_EQ(test::At(drawn, x, 6), paper) << x;
    }

    const QIcon icon = frame->toolButton(1)->icon();
    EXPECT_TRUE(icon.availableSizes().contains(QSize(48, 48)));
    const QPixmap sharp = icon.pixmap(QSize(24, 24), 2.0);
    EXPECT_EQ(sharp.size(), QSize(48, 48));
    EXPECT_DOUBLE_EQ(sharp.devicePixelRatio(), 2.0);
}

} // namespace orv::test
