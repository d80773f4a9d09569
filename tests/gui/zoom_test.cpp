// The view zoom of a document window: where presses land, drawing and handles at a zoom, the
// wheel, the Zoom tool and a large picture opened whole.
#include "documents/ui/canvas_view.h"
#include "gui_fixture.h"
#include "shell/ui/color_panel.h"
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>

namespace orv::test {

namespace {

class ZoomTest : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        storeSettings({{"MainState", "0"}, {"MainWidth", "15000"}, {"MainHeight", "12000"}});
        start();
    }
    frmDocument& doc() { return *frame->ActiveDocument(); }
    CanvasView* view() { return doc().DrawIMG; }
    void tool(int button) { frame->toolButton(button)->trigger(); }
    // Step `step`, shown at a 60 x 40 picture.
    void zoomTo(int step)
    {
        doc().canvas().resizePixels(60, 40);
        doc().zoomTo(step, {});
    }
    // Draws a line with the Line tool from screen point a to b.
    void drawLine(QPoint a, QPoint b)
    {
        tool(5);
        QTest::mousePress(view(), Qt::LeftButton, {}, a);
        QTest::mouseMove(view(), b);
        QTest::mouseRelease(view(), Qt::LeftButton, {}, b);
    }
};

int Step(int num, int den)
{
    for (int i = 0; i < kZoomStepCount; ++i)
        if (kZoomSteps[i].num == num && kZoomSteps[i].den == den) return i;
    return -1;
}

} // namespace

TEST_F(ZoomTest, APressLandsOnThePicturePixelUnderThePointer)
{
    struct Case {
        int num, den;
    };
    for (Case c : {Case{1, 4}, Case{1, 1}, Case{3, 1}, Case{8, 1}}) {
        zoomTo(Step(c.num, c.den));
        QPointF landed;
        auto connection = QObject::connect(view(), &CanvasView::mouseMove, [&](int, float x, float y) { landed = {x, y}; });
        doc().canvas().setScaleMode(kScalePixels);
        // Every screen pixel of picture pixel (5, 7) (at 1/4: the screen pixel that holds it).
        const int from = 5 * c.num / c.den, to = std::max(from + 1, 6 * c.num / c.den);
        for (int sx = from; sx < to; ++sx) {
            QTest::mouseMove(view(), QPoint(sx, 7 * c.num / c.den));
            const int expectX = c.den > 1 ? sx * c.den : 5;
            EXPECT_EQ(landed.x(), expectX) << c.num << "/" << c.den << " at screen x " << sx;
            EXPECT_EQ(landed.y(), c.den > 1 ? (7 * c.num / c.den) * c.den : 7);
        }
        QObject::disconnect(connection);
        EXPECT_EQ(frame->statusPanel(5), ZoomPercentText(Step(c.num, c.den)));
    }
}

TEST_F(ZoomTest, ALineDrawnAtAZoomIsTheLineDrawnAtActualSize)
{
    zoomTo(kActualSizeStep);
    drawLine(QPoint(4, 8), QPoint(40, 24));
    const QImage atOne = doc().canvas().Image();
    doc().canvas().Cls();
    zoomTo(Step(4, 1));
    drawLine(QPoint(4 * 4 + 3, 8 * 4 + 1), QPoint(40 * 4 + 2, 24 * 4));
    EXPECT_EQ(doc().canvas().Image(), atOne);
    doc().canvas().Cls();
    zoomTo(Step(1, 4));
    drawLine(QPoint(1, 2), QPoint(10, 6));
    EXPECT_EQ(doc().canvas().Image(), atOne);
}

TEST_F(ZoomTest, AHandleDragAtOneHalfResizesByWholePixels)
{
    zoomTo(Step(1, 2));
    QTest::mousePress(doc().Picture2, Qt::LeftButton, {}, QPoint(4, 4));
    QTest::mouseMove(doc().Picture2, QPoint(4 + 7, 4 + 5));
    QTest::mouseRelease(doc().Picture2, Qt::LeftButton, {}, QPoint(4 + 7, 4 + 5));
    EXPECT_EQ(doc().canvas().buffer().size(), QSize(60 + 14, 40 + 10));
    // The handle sits at the canvas's corner on the screen.
    EXPECT_EQ(doc().Picture2->x(), view()->x() + view()->width() + 10);
}

TEST_F(ZoomTest, CtrlWheelZoomsAboutThePointerAndThePlainWheelScrolls)
{
    doc().canvas().resizePixels(1000, 800);
    QPointF landed;
    QObject::connect(view(), &CanvasView::mouseMove, [&](int, float x, float y) { landed = {x, y}; });
    const QPoint at = view()->mapTo(&doc(), QPoint(90, 60));   // a fixed place in the window
    const auto wheel = [&](Qt::KeyboardModifiers modifiers, int notches) {
        const QPoint here = view()->mapFrom(&doc(), at);
        QWheelEvent e(here, view()->mapToGlobal(here), {}, QPoint(0, 120 * notches), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(view(), &e);
    };
    for (int notches : {2, 1, -4}) {
        const int before = view()->zoomStep();
        wheel(Qt::ControlModifier, notches);
        EXPECT_EQ(view()->zoomStep(), before + notches);
        QTest::mouseMove(view(), view()->mapFrom(&doc(), at));
        EXPECT_NEAR(landed.x(), 90, 1) << "after " << notches;
        EXPECT_NEAR(landed.y(), 60, 1);
    }
    const int top = doc().VScroll1->value();
    wheel(Qt::NoModifier, -1);
    EXPECT_GT(doc().VScroll1->value(), top);
}

TEST_F(ZoomTest, TheZoomToolChangesOnlyTheView)
{
    tool(9);
    const QImage before = doc().canvas().Image();
    QTest::mouseClick(view(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(view()->zoomStep(), kActualSizeStep + 3);   // the level's three steps
    frame->colors()->Text2->setText(QString());
    QTest::keyClicks(frame->colors()->Text2, QStringLiteral("1"));
    QTest::mouseClick(view(), Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(view()->zoomStep(), kActualSizeStep + 2);
    EXPECT_FALSE(doc().Changed);
    EXPECT_FALSE(doc().menuAction(QStringLiteral("mnuEditUndo"))->isEnabled());
    EXPECT_EQ(doc().canvas().Image(), before);
}

TEST_F(ZoomTest, TheLevelBarsUpArrowRaisesTheLevel)
{
    tool(9);
    QScrollBar* bar = frame->colors()->VScroll1;
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = Qt::Vertical;
    option.minimum = bar->minimum(), option.maximum = bar->maximum(), option.sliderValue = bar->value();
    option.sliderPosition = bar->value();
    const auto arrow = [&](QStyle::SubControl part) {
        return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar).center();
    };
    const QPoint up = arrow(QStyle::SC_ScrollBarSubLine), down = arrow(QStyle::SC_ScrollBarAddLine);
    ASSERT_LT(up.y(), down.y());
    QTest::mouseClick(bar, Qt::LeftButton, {}, up);
    EXPECT_EQ(frame->colors()->zoomLevel(), 4);
    EXPECT_EQ(frame->colors()->Text2->text(), "4");
    QTest::mouseClick(bar, Qt::LeftButton, {}, down);
    QTest::mouseClick(bar, Qt::LeftButton, {}, down);
    EXPECT_EQ(frame->colors()->zoomLevel(), 2);
}

TEST_F(ZoomTest, APhonePhotoOpensWholeInAWindowFillingTheWorkspace)
{
    QTemporaryDir dir;
    frame->OpenFile(WriteBmp(dir.filePath(QStringLiteral("photo.bmp")), NewPixelBuffer(6000, 4000, RGB(9, 99, 199))));
    const QWidget* workspace = frame->mdiArea()->viewport();
    EXPECT_EQ(doc().subWindow()->geometry(), workspace->rect());
    EXPECT_LT(view()->zoomStep(), kActualSizeStep);
    EXPECT_LE(view()->x() + view()->width(), doc().Picture4->width());
    EXPECT_LE(view()->y() + view()->height(), doc().Picture4->height());
    EXPECT_FALSE(doc().HScroll1->isVisible());
    // The next larger step would not show it whole with its corner handle.
    const ZoomStep next = kZoomSteps[view()->zoomStep() + 1];
    const int handle = doc().Picture2->x() + doc().Picture2->width() - view()->x() - view()->width();
    EXPECT_TRUE(ZoomedExtent(6000, next) + handle > doc().Picture4->width() - view()->x()
                || ZoomedExtent(4000, next) + handle > doc().Picture4->height() - view()->y());
}

} // namespace orv::test
