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
    void click(QPoint p) { QTest::mouseClick(doc().DrawIMG, Qt::LeftButton, {}, p); }
    void clickCell(QWidget* cell) { QTest::mouseClick(cell, Qt::LeftButton); }
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
    // The image of a fresh canvas of the document's size after `draw`.
    QImage expected(const std::function<void(Canvas&)>& draw = {})
    {
        Canvas c(canvas().pixelWidth(), canvas().pixelHeight());
        if (draw) draw(c);
        return c.Image();
    }
};

} // namespace

TEST_F(ToolsTest, PaletteCellSevenGivesPureRedAndBordersOnlyItselfAndTheSwatchTogglesTheSliders)
{
    clickCell(panel().Picture2[7]);
    EXPECT_EQ(canvas().ForeColor(), 255);
    EXPECT_EQ(borderedCells(), 1);
    EXPECT_TRUE(panel().Picture2[7]->selected());
    EXPECT_FALSE(panel().Picture7->selected());
    EXPECT_EQ(panel().Picture8->color(), 0);   // the custom swatch keeps its colour

    clickCell(panel().Picture8);   // back to the custom colour
    EXPECT_EQ(canvas().ForeColor(), 0);
    EXPECT_EQ(borderedCells(), 0);
    EXPECT_TRUE(panel().Picture7->selected());

    const bool shown = frame->optionsPanel()->isVisible();   // a double click toggles the sliders
    QTest::mouseDClick(panel().Picture8, Qt::LeftButton);
    EXPECT_EQ(frame->optionsPanel()->isVisible(), !shown);
    QTest::mouseDClick(panel().Picture8, Qt::LeftButton);
    EXPECT_EQ(frame->optionsPanel()->isVisible(), shown);
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
    panel().RGBText[0]->setText(QString());
    EXPECT_EQ(panel().RGBText[0]->text(), QStringLiteral("0"));
}

TEST_F(ToolsTest, LineWidthBoxFiltersKeysAndSetsThePenWidth)
{
    QLineEdit* box = panel().LineWidthText;
    box->setText(QStringLiteral("5"));
    box->setFocus();
    box->end(false);
    EXPECT_EQ(canvas().DrawWidth(), 6);
    QTest::keyClick(box, Qt::Key_0);
    QTest::keyClick(box, Qt::Key_0);   // 500: refused
    EXPECT_EQ(box->text(), QStringLiteral("50"));
    box->setText(QStringLiteral("0"));
    EXPECT_EQ(canvas().DrawWidth(), 1);
}

TEST_F(ToolsTest, ToolButtonsSetTheToolAndTheirOptionPanel)
{
    tool(5);
    EXPECT_EQ(doc().ToolName, QStringLiteral("Line"));
    EXPECT_EQ(panel().currentOptions(), 4);
    tool(13);   // Polygon keeps the line tool
    EXPECT_EQ(doc().ToolName, QStringLiteral("Line"));
    EXPECT_EQ(doc().ToolIndex, 12);
    EXPECT_FALSE(frame->toolButton(5)->isChecked());
}

// Each tool's gesture on the canvas draws what the canvas calls it stands for draw on a fresh
// canvas, and is a step of its own; the Effects tool and a right-button freehand drag draw
// nothing and leave no step. A line click without moving draws the degenerate line; the
// ellipse's release position is not used and its preview leaves no trace.
TEST_F(ToolsTest, EachToolsGestureDrawsWhatItsCanvasCallsDraw)
{
    using Draw = std::function<void(Canvas&)>;
    const struct { const char* name; std::function<void()> gesture; Draw draw; } cases[] = {
        {"effects", [&] { tool(12); click(QPoint(15, 15)); }, {}},
        {"right-button freehand", [&] {
             tool(1);
             press(QPoint(10, 10), Qt::RightButton);
             move(QPoint(40, 10));
             release(QPoint(40, 10), Qt::RightButton);
         }, {}},
        {"line click", [&] { tool(5); click(QPoint(20, 30)); }, [](Canvas& c) { c.PSet(20, 30); }},
        {"freehand", [&] { tool(1); drag(QPoint(10, 10), QPoint(30, 10)); }, [](Canvas& c) {
             c.Line(10, 10, 20, 10);
             c.Line(20, 10, 30, 10);
         }},
        {"ellipse", [&] {
             tool(2);
             panel().LineWidthText->setText(QStringLiteral("2"));
             press(QPoint(20, 20));
             for (int i = 1; i <= 4; ++i) move(QPoint(20 + 18 * i, 20 + 8 * i));
             move(QPoint(70, 50));
             release(QPoint(99, 99));
         }, [](Canvas& c) {
             c.setDrawWidth(3);
             DrawEllipseInBox(c, 20, 20, 70, 50);
         }},
        {"flood fill in the palette colour", [&] {
             tool(7);
             clickCell(panel().Picture2[22]);
             click(QPoint(5, 5));
         }, [](Canvas& c) {
             c.setBackColor(RGB(0, 255, 0));
             c.Cls();
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        canvas().Cls();
        doc().Changed = false;
        c.gesture();
        EXPECT_EQ(canvas().Image(), expected(c.draw));
        EXPECT_EQ(doc().Changed, bool(c.draw));
        EXPECT_EQ(undoEnabled(), bool(c.draw));
    }
}

TEST_F(ToolsTest, PickColorSetsPenSwatchAndSliders)
{
    canvas().PSet(12, 14, RGB(255, 0, 15));
    clickCell(panel().Picture2[3]);
    tool(8);
    click(QPoint(12, 14));
    EXPECT_EQ(canvas().ForeColor(), RGB(255, 0, 15));
    EXPECT_EQ(panel().Picture8->color(), RGB(255, 0, 15));
    EXPECT_EQ(panel().RGBText[2]->text(), QStringLiteral("15"));
    EXPECT_EQ(borderedCells(), 0);
}

TEST_F(ToolsTest, TextIsPrintedOnEnterWithOrWithoutShadowAndDiscardedOnEscape)
{
    tool(11);
    QLineEdit* box = doc().Text1;
    const auto type = [&] {
        click(QPoint(10, 12));
        QTest::keyClicks(box, QStringLiteral("Hi"));
    };
    type();
    EXPECT_EQ(box->pos(), QPoint(10, 12));
    EXPECT_EQ(box->width(), int(canvas().TextWidth(QStringLiteral("Hi"))) + 40);
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_FALSE(box->isVisible());
    EXPECT_EQ(canvas().Image(), expected());

    const QFont font = canvas().font();
    const auto printed = [&](const TextShadow& shadow) {
        return expected([&](Canvas& c) {
            c.setFont(font);
            CommitText(c, QStringLiteral("Hi"), 10, 12, shadow);
        });
    };
    type();
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_FALSE(box->isVisible());
    EXPECT_TRUE(box->text().isEmpty());
    EXPECT_EQ(canvas().Image(), printed(TextShadow{}));

    canvas().Cls();
    tool(11);
    panel().Check1->click();
    panel().Text1->setText(QStringLiteral("3"));
    type();
    QTest::keyClick(box, Qt::Key_Enter);
    EXPECT_EQ(panel().shadow().offset, 3);
    EXPECT_EQ(canvas().Image(), printed(panel().shadow()));
    panel().Text1->setText(QStringLiteral("x"));   // not a number: no offset
    EXPECT_EQ(panel().shadow().offset, 0);
}

TEST_F(ToolsTest, HandleDragsResizeTheCanvasInTwipsAndMarkItChanged)
{
    const int w = canvas().pixelWidth(), h = canvas().pixelHeight();
    QWidget* right = doc().Picture1;
    dragHandle(right, QPoint(34, 4));   // 450 twips to the right
    EXPECT_EQ(canvas().pixelWidth(), w + 30);
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
}

TEST_F(ToolsTest, ActivationShowsTheDocumentsPenInThePanel)
{
    frmDocument& first = doc();
    first.canvas().setForeColor(RGB(10, 20, 30));   // not in the palette
    frame->LoadNewDoc();
    clickCell(panel().Picture2[7]);
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
}

} // namespace orv::test
