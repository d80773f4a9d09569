// The colour panel, the tool toolbar and drawing on the canvas, driven with mouse and key
// events on the real main window.
#include "documents/ui/canvas_view.h"
#include "gui_fixture.h"
#include "shell/ui/color_panel.h"
#include "tools/draw_tools.h"
#include "tools/text_tool.h"
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSlider>
#include <QTest>

namespace orv::test {

namespace {

class ToolsTest : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        start();
        RubberBand = RubberBandRecord{};
    }
    frmDocument& doc() { return *frame->ActiveDocument(); }
    Canvas& canvas() { return doc().canvas(); }
    ColorPanel& panel() { return *frame->colors(); }
    void tool(int button) { frame->toolButton(button)->trigger(); }
    void press(QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mousePress(doc().DrawIMG, b, {}, p); }
    void move(QPoint p) { QTest::mouseMove(doc().DrawIMG, p); }
    void release(QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mouseRelease(doc().DrawIMG, b, {}, p); }
    void drag(QPoint from, QPoint to)
    {
        press(from);
        move((from + to) / 2);
        move(to);
        release(to);
    }
    // Drags a resize handle from (4, 4) to `to` with `button`.
    void dragHandle(QWidget* handle, QPoint to, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(handle, button, {}, QPoint(4, 4));
        QTest::mouseMove(handle, to);
        QTest::mouseRelease(handle, button, {}, to);
    }
    bool undoEnabled() { return doc().menuAction(QStringLiteral("mnuEditUndo"))->isEnabled(); }
    int borderedCells()
    {
        int n = 0;
        for (ColorCell* c : panel().Picture2) n += c->selected();
        return n;
    }
};

// The image of a fresh canvas of the document's size after `draw`.
template <class F>
QImage Expected(const Canvas& like, F draw)
{
    Canvas c(like.pixelWidth(), like.pixelHeight());
    draw(c);
    return c.Image();
}

} // namespace

TEST_F(ToolsTest, PaletteCellSevenGivesPureRedAndBordersOnlyItself)
{
    QTest::mouseClick(panel().Picture2[7], Qt::LeftButton);
    EXPECT_EQ(canvas().ForeColor(), 255);
    EXPECT_TRUE(panel().Picture2[7]->selected());
    EXPECT_EQ(borderedCells(), 1);
    EXPECT_FALSE(panel().Picture7->selected());
    EXPECT_EQ(panel().Picture8->color(), 0);
    EXPECT_EQ(panel().Slider1[0]->value(), 0);

    QTest::mouseClick(panel().Picture8, Qt::LeftButton);   // back to the custom colour
    EXPECT_EQ(canvas().ForeColor(), 0);
    EXPECT_EQ(borderedCells(), 0);
    EXPECT_TRUE(panel().Picture7->selected());
}

TEST_F(ToolsTest, ValueBoxesNormaliseAndDriveSwatchAndPen)
{
    QLineEdit* green = panel().RGBText[1];
    green->selectAll();
    QTest::keyClicks(green, QStringLiteral("300"));
    EXPECT_EQ(green->text(), QStringLiteral("255"));
    EXPECT_EQ(panel().Slider1[1]->value(), 255);
    EXPECT_EQ(panel().Picture8->color(), RGB(0, 255, 0));
    EXPECT_EQ(canvas().ForeColor(), RGB(0, 255, 0));

    QLineEdit* red = panel().RGBText[0];
    red->setText(QStringLiteral("12a"));
    EXPECT_EQ(red->text(), QStringLiteral("12"));
    red->setText(QString());
    EXPECT_EQ(red->text(), QStringLiteral("0"));
}

TEST_F(ToolsTest, LineWidthBoxFiltersKeysAndSetsThePenWidth)
{
    QLineEdit* box = panel().LineWidthText;
    box->setText(QStringLiteral("5"));
    box->setFocus();
    box->end(false);
    EXPECT_EQ(canvas().DrawWidth(), 6);
    QTest::keyClick(box, Qt::Key_0);
    EXPECT_EQ(box->text(), QStringLiteral("50"));
    QTest::keyClick(box, Qt::Key_0);   // 500: refused
    QTest::keyClick(box, Qt::Key_A);   // letters: refused
    EXPECT_EQ(box->text(), QStringLiteral("50"));
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(box->text(), QStringLiteral("5"));
    box->setText(QStringLiteral("0"));
    EXPECT_EQ(canvas().DrawWidth(), 1);
}

TEST_F(ToolsTest, ToolButtonsSetTheToolAndTheirOptionPanel)
{
    tool(5);
    EXPECT_EQ(doc().ToolName, QStringLiteral("Line"));
    EXPECT_EQ(doc().ToolIndex, 4);
    EXPECT_EQ(panel().currentOptions(), 4);
    tool(13);   // Polygon keeps the line tool
    EXPECT_EQ(doc().ToolName, QStringLiteral("Line"));
    EXPECT_EQ(doc().ToolIndex, 12);
    EXPECT_TRUE(frame->toolButton(13)->isChecked());
    EXPECT_FALSE(frame->toolButton(5)->isChecked());
    EXPECT_EQ(frame->toolButton(10)->objectName(), QStringLiteral("Delete"));
    EXPECT_EQ(frame->toolButton(10)->toolTip(), QStringLiteral("Delete"));
}

TEST_F(ToolsTest, LineClickWithoutMovingDrawsTheDegenerateLine)
{
    tool(5);
    QTest::mouseClick(doc().DrawIMG, Qt::LeftButton, {}, QPoint(20, 30));
    EXPECT_EQ(canvas().Image(), Expected(canvas(), [](Canvas& c) { c.PSet(20, 30); }));
    EXPECT_EQ(canvas().DrawMode(), kDrawModeCopyPen);
    EXPECT_TRUE(doc().Changed);
    EXPECT_TRUE(undoEnabled());
}

TEST_F(ToolsTest, RectangleDraggedEitherWayGivesTheSamePixels)
{
    tool(3);
    drag(QPoint(10, 12), QPoint(60, 40));
    const QImage forward = canvas().Image();
    EXPECT_EQ(forward, Expected(canvas(), [](Canvas& c) { c.Line(10, 12, 60, 40, 0, LineMode::Box); }));
    canvas().Cls();
    drag(QPoint(60, 40), QPoint(10, 12));
    EXPECT_EQ(canvas().Image(), forward);
}

TEST_F(ToolsTest, EllipsePreviewLeavesNoTraceAfterRelease)
{
    tool(2);
    panel().LineWidthText->setText(QStringLiteral("2"));
    press(QPoint(20, 20));
    for (int i = 1; i <= 8; ++i) move(QPoint(20 + 9 * i, 20 + 4 * i));
    move(QPoint(70, 50));
    release(QPoint(99, 99));   // the release position is not used
    EXPECT_EQ(canvas().Image(), Expected(canvas(), [](Canvas& c) {
                  c.setDrawWidth(3);
                  DrawEllipseInBox(c, 20, 20, 70, 50);
              }));
}

TEST_F(ToolsTest, EffectsAndZoomTakeTheSnapshotAndDrawNothing)
{
    for (int button : {12, 9}) {
        tool(button);
        doc().Changed = false;
        const QImage before = canvas().Image();
        QTest::mouseClick(doc().DrawIMG, Qt::LeftButton, {}, QPoint(15, 15));
        EXPECT_TRUE(doc().Changed);
        EXPECT_TRUE(undoEnabled());
        EXPECT_EQ(canvas().Image(), before);
    }
}

TEST_F(ToolsTest, FreehandAndEraserDrawWithTheLeftButtonOnly)
{
    press(QPoint(10, 10), Qt::RightButton);
    EXPECT_FALSE(doc().Changed);
    EXPECT_FALSE(undoEnabled());
    EXPECT_FALSE(doc().ButtonPressed);
    move(QPoint(40, 10));
    release(QPoint(40, 10), Qt::RightButton);
    EXPECT_EQ(canvas().Image(), Expected(canvas(), [](Canvas&) {}));

    drag(QPoint(10, 10), QPoint(30, 10));
    EXPECT_EQ(canvas().Image(), Expected(canvas(), [](Canvas& c) {
                  c.Line(10, 10, 20, 10);
                  c.Line(20, 10, 30, 10);
              }));
    QTest::mouseClick(panel().Picture2[7], Qt::LeftButton);
    tool(10);
    panel().LineWidthText->setText(QStringLiteral("4"));
    panel().Text4->setText(QStringLiteral("3"));
    drag(QPoint(5, 10), QPoint(35, 10));
    EXPECT_EQ(canvas().Image(), Expected(canvas(), [](Canvas&) {}));
    EXPECT_EQ(canvas().ForeColor(), 255);
    EXPECT_EQ(canvas().DrawWidth(), 5);
}

TEST_F(ToolsTest, FloodFillOfAFilledRegionChangesNothing)
{
    tool(7);
    QTest::mouseClick(panel().Picture2[1], Qt::LeftButton);   // white on white
    QTest::mouseClick(doc().DrawIMG, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(canvas().Image(), Expected(canvas(), [](Canvas&) {}));
    QTest::mouseClick(panel().Picture2[22], Qt::LeftButton);
    QTest::mouseClick(doc().DrawIMG, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(canvas().Image(), Expected(canvas(), [](Canvas& c) {
                  c.setBackColor(RGB(0, 255, 0));
                  c.Cls();
              }));
}

TEST_F(ToolsTest, PickColorSetsPenSwatchAndSliders)
{
    canvas().PSet(12, 14, RGB(255, 0, 15));
    QTest::mouseClick(panel().Picture2[3], Qt::LeftButton);
    tool(8);
    QTest::mouseClick(doc().DrawIMG, Qt::LeftButton, {}, QPoint(12, 14));
    EXPECT_EQ(canvas().ForeColor(), RGB(255, 0, 15));
    EXPECT_EQ(panel().Picture8->color(), RGB(255, 0, 15));
    for (auto [i, v] : {std::pair{0, 255}, {1, 0}, {2, 15}}) EXPECT_EQ(panel().Slider1[i]->value(), v);
    EXPECT_EQ(panel().RGBText[2]->text(), QStringLiteral("15"));
    EXPECT_EQ(borderedCells(), 0);
    EXPECT_TRUE(panel().Picture7->selected());
}

TEST_F(ToolsTest, TextIsPrintedOnEnterWithOrWithoutShadowAndDiscardedOnEscape)
{
    tool(11);
    QTest::mouseClick(doc().DrawIMG, Qt::LeftButton, {}, QPoint(10, 12));
    QLineEdit* box = doc().Text1;
    ASSERT_TRUE(box->isVisible());
    EXPECT_EQ(box->pos(), QPoint(10, 12));
    QTest::keyClicks(box, QStringLiteral("Hi"));
    EXPECT_EQ(box->width(), int(canvas().TextWidth(QStringLiteral("Hi"))) + 40);
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_FALSE(box->isVisible());
    EXPECT_EQ(canvas().Image(), Expected(canvas(), [](Canvas&) {}));

    QTest::mouseClick(doc().DrawIMG, Qt::LeftButton, {}, QPoint(10, 12));
    QTest::keyClicks(box, QStringLiteral("Hi"));
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_FALSE(box->isVisible());
    EXPECT_TRUE(box->text().isEmpty());
    const QFont font = canvas().font();
    const auto printed = [&](const TextShadow& shadow) {
        return Expected(canvas(), [&](Canvas& c) {
            c.setFont(font);
            CommitText(c, QStringLiteral("Hi"), 10, 12, shadow);
        });
    };
    EXPECT_EQ(canvas().Image(), printed(TextShadow{}));

    canvas().Cls();
    tool(11);
    panel().Check1->click();
    panel().Text1->setText(QStringLiteral("x"));   // not a number: no offset
    panel().Text1->setText(QStringLiteral("3"));
    QTest::mouseClick(doc().DrawIMG, Qt::LeftButton, {}, QPoint(10, 12));
    QTest::keyClicks(box, QStringLiteral("Hi"));
    QTest::keyClick(box, Qt::Key_Enter);
    const TextShadow shadow = panel().shadow();
    EXPECT_EQ(shadow.offset, 3);
    EXPECT_EQ(canvas().Image(), printed(shadow));
    panel().Text1->setText(QStringLiteral("x"));
    EXPECT_EQ(panel().shadow().offset, 0);
}

TEST_F(ToolsTest, HandleDragsResizeTheCanvasInTwipsAndMarkItChanged)
{
    const int w = canvas().pixelWidth(), h = canvas().pixelHeight();
    QWidget* right = doc().Picture1;
    dragHandle(right, QPoint(34, 4));   // 450 twips to the right
    EXPECT_EQ(canvas().pixelWidth(), w + 30);
    EXPECT_EQ(canvas().pixelHeight(), h);
    EXPECT_EQ(right->x(), doc().DrawIMG->x() + w + 30 + 10);
    EXPECT_EQ(frame->statusPanel(3), QStringLiteral("Width: %1").arg(w + 30));
    EXPECT_TRUE(doc().Changed);

    doc().Changed = false;
    dragHandle(right, QPoint(40, 4), Qt::RightButton);
    EXPECT_EQ(canvas().pixelWidth(), w + 30);
    EXPECT_FALSE(doc().Changed);

    dragHandle(doc().Picture2, QPoint(-16, -6));   // the corner
    EXPECT_EQ(canvas().pixelWidth(), w + 10);
    EXPECT_EQ(canvas().pixelHeight(), h - 10);

    dragHandle(doc().Picture3, QPoint(4, -5000));   // the bottom: never below one pixel
    EXPECT_EQ(canvas().pixelHeight(), 1);
    EXPECT_EQ(frame->statusPanel(2), QStringLiteral("Height: 1"));
}

TEST_F(ToolsTest, ActivationShowsTheDocumentsPenInThePanel)
{
    frmDocument& first = doc();
    first.canvas().setForeColor(RGB(10, 20, 30));   // not in the palette
    frame->LoadNewDoc();
    QTest::mouseClick(panel().Picture2[7], Qt::LeftButton);
    EXPECT_EQ(borderedCells(), 1);
    frame->mdiArea()->setActiveSubWindow(first.subWindow());
    QApplication::processEvents();
    EXPECT_EQ(borderedCells(), 0);
    EXPECT_TRUE(panel().Picture7->selected());
    EXPECT_EQ(panel().Picture8->color(), RGB(10, 20, 30));
    EXPECT_EQ(panel().Slider1[2]->value(), 30);
    frame->mdiArea()->activateNextSubWindow();
    QApplication::processEvents();
    EXPECT_TRUE(panel().Picture2[7]->selected());
    EXPECT_EQ(borderedCells(), 1);
    EXPECT_FALSE(panel().Picture7->selected());
}

TEST_F(ToolsTest, SwatchDoubleClickTogglesTheSliderPanel)
{
    const bool shown = frame->optionsPanel()->isVisible();
    QTest::mouseDClick(panel().Picture8, Qt::LeftButton);
    EXPECT_EQ(frame->optionsPanel()->isVisible(), !shown);
    QTest::mouseDClick(panel().Picture8, Qt::LeftButton);
    EXPECT_EQ(frame->optionsPanel()->isVisible(), shown);
}

} // namespace orv::test
