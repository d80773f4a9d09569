#include "documents/ui/canvas_view.h"
#include "effects/ui/frmEffectsStainedGlass.h"
#include "effects/ui/frmEffectsTypical.h"
#include "gui_fixture.h"
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace orv::test {

namespace {

class GeometryEffectsTest : public DocumentTest {
protected:
    Canvas& canvas() { return doc->canvas(); }
    // A blank canvas of w x h in twips, with one coloured pixel.
    void blank(int w, int h, QPoint p = {}, ColorRef c = 0xFFFFFF)
    {
        canvas().resizePixels(w, h);
        canvas().Cls();
        canvas().PSet(p.x(), p.y(), c);
        canvas().setScaleMode(kScaleTwips);
    }
    QString effectSetting() { return setting(QStringLiteral("Effect"), QStringLiteral("TypicalEffcts")); }
};

} // namespace

// The gray levels themselves are checked by the core Grayscale tests.
TEST_F(GeometryEffectsTest, GrayscaleFromTheMenu)
{
    blank(6, 4, {1, 1}, RGB(255, 0, 0));
    trigger("mnuEditConvertGrayscale");
    EXPECT_EQ(canvas().ScaleMode(), kScalePixels);
    EXPECT_EQ(at(1, 1), RGB(76, 76, 76));
    EXPECT_TRUE(doc->Changed);
    expectRunFinishedCleanly();
    undo->trigger();
    EXPECT_EQ(at(1, 1), RGB(255, 0, 0));
}

TEST_F(GeometryEffectsTest, FlipsMirrorAndAreUndoable)
{
    blank(10, 6, {1, 2}, RGB(0, 0, 255));
    trigger("mnuEditFlipHorizontal");
    EXPECT_EQ(at(8, 2), RGB(0, 0, 255));
    EXPECT_EQ(canvas().ScaleMode(), kScalePixels);
    EXPECT_TRUE(doc->Changed);
    trigger("mnuEditFlipVertical");
    EXPECT_EQ(at(8, 3), RGB(0, 0, 255));
    EXPECT_EQ(undo->text(), QStringLiteral("Undo Flip Vertical"));
    undo->trigger();
    undo->trigger();
    EXPECT_EQ(at(1, 2), RGB(0, 0, 255));
    EXPECT_EQ(redo->text(), QStringLiteral("Redo Flip Horizontal"));
}

TEST_F(GeometryEffectsTest, Rotate90TurnsTheCanvasAndMovesTheHandles)
{
    blank(30, 20, {0, 0}, RGB(255, 0, 0));
    const QPoint right = doc->Picture1->pos() - doc->DrawIMG->pos();
    const QPoint bottom = doc->Picture3->pos() - doc->DrawIMG->pos();
    trigger("mnuEditRotate90");
    EXPECT_EQ(canvas().pixelWidth(), 20);
    EXPECT_EQ(canvas().pixelHeight(), 30);
    EXPECT_EQ(doc->DrawIMG->size(), QSize(20, 30));
    EXPECT_EQ(at(19, 0), RGB(255, 0, 0));   // clockwise: top-left to top-right
    // The handles follow the edges: 10 pixels nearer on the right, 10 further down.
    EXPECT_EQ((doc->Picture1->pos() - doc->DrawIMG->pos()).x(), right.x() - 10);
    EXPECT_EQ((doc->Picture3->pos() - doc->DrawIMG->pos()).y(), bottom.y() + 10);
    EXPECT_TRUE(undo->isEnabled());
    expectRunFinishedCleanly();
}

TEST_F(GeometryEffectsTest, StainedGlassRefusesACellOfNothingThenRuns)
{
    blank(12, 7, {5, 5}, 0);
    QString message;
    runDialog<frmEffectsStainedGlass>("mnuEffectsStndGlass", [&](frmEffectsStainedGlass* d) {
        EXPECT_EQ(d->Text1->text() + d->Text2->text(), QStringLiteral("55"));
        d->Text2->setText(QStringLiteral("0"));
        AnswerNextMessageBox(QMessageBox::Ok, &message);
        d->cmdOK->click();
        EXPECT_TRUE(d->isVisible());
        EXPECT_FALSE(doc->Changed);   // refused before the snapshot
        d->Text2->setText(QStringLiteral("5"));
        d->cmdOK->click();
    });
    EXPECT_EQ(message, QStringLiteral("The cell height must be a number greater than 0."));
    EXPECT_EQ(at(9, 6), 0);   // the cell at (5, 5)
    EXPECT_TRUE(doc->Changed);
    expectRunFinishedCleanly();
}

TEST_F(GeometryEffectsTest, TypicalRemembersTheChoiceAndEndsInTwips)
{
    blank(8, 6);
    canvas().setScaleMode(kScalePixels);
    EXPECT_EQ(effectSetting(), QStringLiteral("<none>"));
    runDialog<frmEffectsTypical>("mnuEffectsTypical", [](frmEffectsTypical* d) {
        EXPECT_EQ(d->Combo1->currentText(), QStringLiteral("Emboss"));
        d->Combo1->setCurrentIndex(d->Combo1->findText(QStringLiteral("Smooth")));
        d->Command2->click();
    });
    EXPECT_EQ(effectSetting(), QStringLiteral("Smooth"));
    EXPECT_TRUE(doc->Changed);   // the launcher's snapshot

    store(QStringLiteral("TypicalEffcts"), QStringLiteral("Effect"), QStringLiteral("Emboss"));
    runDialog<frmEffectsTypical>("mnuEffectsTypical", [](frmEffectsTypical* d) {
        EXPECT_EQ(d->Combo1->currentText(), QStringLiteral("Emboss")); d->Command1->click();
    });
    EXPECT_EQ(at(3, 3), RGB(128, 128, 128));
    EXPECT_EQ(canvas().ScaleMode(), kScaleTwips);
    EXPECT_EQ(VisibleWindow(QStringLiteral("frmEffectsTypical")), nullptr);

    // A stored text that is no item: nothing is chosen and OK changes nothing.
    store(QStringLiteral("TypicalEffcts"), QStringLiteral("Effect"), QStringLiteral("Blur"));
    canvas().setScaleMode(kScalePixels);
    canvas().PSet(2, 2, RGB(1, 2, 3));
    const QImage before = canvas().Image();
    runDialog<frmEffectsTypical>("mnuEffectsTypical", [](frmEffectsTypical* d) { EXPECT_EQ(d->Combo1->currentIndex(), -1); d->Command1->click(); });
    EXPECT_EQ(canvas().Image(), before);
    EXPECT_EQ(canvas().ScaleMode(), kScaleTwips);
}

} // namespace orv::test
