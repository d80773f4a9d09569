#include "documents/ui/canvas_view.h"
#include "effects/ui/frmBrithnest.h"
#include "effects/ui/frmEffectsInvert.h"
#include "effects/ui/frmProccessing.h"
#include "gui_fixture.h"
#include "tests/support/test_pictures.h"
#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

namespace orv::test {

namespace {

class EffectsTest : public DocumentTest {
protected:
    // A stroke as the drawing tools make it: the snapshot, then the drawing.
    void stroke(int y, ColorRef color)
    {
        doc->TakeUndoSnapshot();
        doc->canvas().Line(0, y, 20, y, color, LineMode::Line);
    }
};

} // namespace

TEST_F(EffectsTest, UndoAndRedoAlternateAndANewStrokeStartsAFreshStep)
{
    EXPECT_FALSE(undo->isEnabled());
    stroke(2, RGB(255, 0, 0));   // A
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_TRUE(doc->Changed);
    stroke(4, RGB(0, 0, 255));   // B

    undo->trigger();   // back to just A
    EXPECT_EQ(undo->text(), QStringLiteral("Redo"));
    EXPECT_EQ(at(5, 2), RGB(255, 0, 0));
    EXPECT_EQ(at(5, 4), 0xFFFFFF);
    undo->trigger();   // A and B again
    EXPECT_EQ(undo->text(), QStringLiteral("Undo"));
    EXPECT_EQ(at(5, 4), RGB(0, 0, 255));
    undo->trigger();   // just A
    stroke(6, RGB(0, 255, 0));
    EXPECT_EQ(undo->text(), QStringLiteral("Undo"));
    undo->trigger();   // the state before the new stroke: A, not A and B
    EXPECT_EQ(at(5, 6), 0xFFFFFF);
    EXPECT_EQ(at(5, 4), 0xFFFFFF);
    EXPECT_EQ(at(5, 2), RGB(255, 0, 0));
}

TEST_F(EffectsTest, HeldPicturesAreNotChangedByLaterDrawing)
{
    stroke(2, RGB(255, 0, 0));
    doc->canvas().Line(0, 8, 20, 8, RGB(0, 0, 0), LineMode::Line);
    EXPECT_EQ(At(doc->imgUnDo, 5, 8), 0xFFFFFF);
}

TEST_F(EffectsTest, UndoAndRedoAfterASizeChangeRestoreEachPictureWithItsSize)
{
    doc->canvas().resizePixels(40, 30);
    doc->canvas().Line(0, 0, 39, 0, RGB(0, 0, 0), LineMode::Line);
    doc->TakeUndoSnapshot();
    doc->canvas().resizePixels(60, 50);
    doc->canvas().Line(0, 45, 59, 45, RGB(255, 0, 0), LineMode::Line);
    doc->Changed = false;   // as after a save
    undo->trigger();
    EXPECT_EQ(doc->canvas().pixelWidth(), 40);
    EXPECT_EQ(doc->canvas().pixelHeight(), 30);
    EXPECT_EQ(at(39, 0), 0);           // the old picture, whole
    undo->trigger();                   // Redo: the larger picture, whole
    EXPECT_EQ(doc->canvas().pixelWidth(), 60);
    EXPECT_EQ(at(59, 45), RGB(255, 0, 0));
    EXPECT_FALSE(doc->Changed);        // undo never touches Changed
}

TEST_F(EffectsTest, InvertFromTheMenuRunsWithProgressAndUndoOnTheTickedChannels)
{
    doc->canvas().resizePixels(30, 20);
    doc->canvas().Line(0, 0, 29, 0, RGB(10, 200, 30), LineMode::Line);
    doc->canvas().setScaleMode(kScaleTwips);
    runDialog<frmEffectsInvert>("mnuInvert", [](frmEffectsInvert* d) {
        EXPECT_TRUE(d->Option1->isChecked());
        d->Command1->click();
    });
    EXPECT_EQ(at(5, 0), RGB(245, 55, 225));
    expectRunFinishedCleanly();
    EXPECT_EQ(doc->canvas().ScaleMode(), kScalePixels);
    undo->trigger();
    EXPECT_EQ(at(5, 0), RGB(10, 200, 30));

    // Red alone: red inverted, the others zeroed (every channel mix is in the core Invert tests).
    runDialog<frmEffectsInvert>("mnuInvert", [](frmEffectsInvert* d) {
        d->Check2->setChecked(false);
        d->Check3->setChecked(false);
        d->Command1->click();
    });
    EXPECT_EQ(at(3, 0), RGB(245, 0, 0));
}

TEST_F(EffectsTest, CancelInTheDialogKeepsTheLaunchersSnapshotOnly)
{
    runDialog<frmEffectsInvert>("mnuInvert", [](frmEffectsInvert* d) { d->Command2->click(); });
    EXPECT_TRUE(doc->Changed);   // Invert's launcher took the snapshot
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(at(1, 1), 0xFFFFFF);

    FrameTest::closeWithoutQuestions();
    start();
    doc = frame->ActiveDocument();
    runDialog<frmBrithnest>("mnuEditBrithnest", [](frmBrithnest* d) { d->Command2->click(); });
    EXPECT_FALSE(doc->Changed);   // brightness takes it only at OK
    EXPECT_FALSE(doc->menuAction(QStringLiteral("mnuEditUndo"))->isEnabled());
}

TEST_F(EffectsTest, CancelDuringARunLeavesTheCanvasAndALaterRunCoversEveryColumn)
{
    doc->canvas().resizePixels(1500, 1200);   // several bands
    const QImage before = doc->canvas().Image();
    bool mainDisabledDuringRun = false;
    QString caption;
    runDialog<frmBrithnest>("mnuEditBrithnest", [&](frmBrithnest* d) {
        d->HScroll1->setValue(-100);
        QTimer::singleShot(0, [&] { mainDisabledDuringRun = !frame->isEnabled(); });
        CancelRunAtFirstChance(&caption);
        d->Command1->click();
    });
    EXPECT_TRUE(mainDisabledDuringRun);
    EXPECT_EQ(caption, QStringLiteral("Brithnest..."));
    EXPECT_EQ(doc->canvas().Image(), before);
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_TRUE(doc->Changed);
    EXPECT_EQ(VisibleWindow(QStringLiteral("frmBrithnest")), nullptr);
    expectRunFinishedCleanly();

    runDialog<frmBrithnest>("mnuEditBrithnest", [](frmBrithnest* d) {
        d->HScroll1->setValue(-100);
        d->Command1->click();
    });
    EXPECT_EQ(at(1499, 1199), RGB(155, 155, 155));

    // Escape on the progress dialog cancels as its button does, and the run still closes it.
    runDialog<frmBrithnest>("mnuEditBrithnest", [&](frmBrithnest* d) {
        QTimer::singleShot(0, [] { QTest::keyClick(VisibleWindow(QStringLiteral("frmProccessing")), Qt::Key_Escape); });
        d->HScroll1->setValue(100);
        d->Command1->click();
    });
    EXPECT_EQ(at(0, 0), RGB(155, 155, 155));
    expectRunFinishedCleanly();
}

TEST_F(EffectsTest, ContrastAtItsLowestTurnsWhiteToMiddleGrey)
{
    doc->canvas().resizePixels(4, 4);
    runDialog<frmContrast>("mnuEditContrast", [](frmContrast* d) {
        EXPECT_EQ(d->HScroll1->value(), 1);
        EXPECT_EQ(d->HScroll1->minimum(), -200);
        d->HScroll1->setValue(-200);
        d->Command1->click();
    });
    EXPECT_EQ(at(2, 2), RGB(128, 128, 128));
    expectRunFinishedCleanly();
}

} // namespace orv::test
