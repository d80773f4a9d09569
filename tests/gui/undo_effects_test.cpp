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
    void brightness(int value, std::function<void()> whileRunning = {})
    {
        runDialog<frmBrithnest>("mnuEditBrithnest", [=](frmBrithnest* d) {
            d->HScroll1->setValue(value);
            if (whileRunning) whileRunning();
            d->Command1->click();
        });
    }
};

} // namespace

// Undo after a change of size (Rotate 90, a handle drag) is checked by the LifecycleTest tests.
TEST_F(EffectsTest, UndoAndRedoWalkTheHistoryAndANewStrokeDropsTheRedoSteps)
{
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    stroke(2, RGB(255, 0, 0));   // A
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_TRUE(doc->Changed);
    stroke(4, RGB(0, 0, 255));   // B
    undo->trigger();   // back to just A
    EXPECT_EQ(at(5, 2), RGB(255, 0, 0));
    EXPECT_EQ(at(5, 4), 0xFFFFFF);
    undo->trigger();   // before A
    EXPECT_EQ(at(5, 2), 0xFFFFFF);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(doc->Changed);   // back at the picture the document started with
    redo->trigger();
    redo->trigger();   // A and B again
    EXPECT_EQ(at(5, 4), RGB(0, 0, 255));
    EXPECT_FALSE(redo->isEnabled());
    undo->trigger();   // just A
    stroke(6, RGB(0, 255, 0));
    EXPECT_FALSE(redo->isEnabled());
    undo->trigger();   // the state before the new stroke: A, not A and B
    EXPECT_EQ(at(5, 6), 0xFFFFFF);
    EXPECT_EQ(at(5, 4), 0xFFFFFF);
    EXPECT_EQ(at(5, 2), RGB(255, 0, 0));
}

// Every channel mix is checked by the core InvertEffect tests; here the dialog's ticks reach it.
TEST_F(EffectsTest, InvertFromTheMenuRunsWithProgressAndUndoOnTheTickedChannels)
{
    doc->canvas().resizePixels(30, 20);
    doc->canvas().Line(0, 0, 29, 0, RGB(10, 200, 30), LineMode::Line);
    doc->canvas().setScaleMode(kScaleTwips);
    runDialog<frmEffectsInvert>("mnuInvert", [](frmEffectsInvert* d) { EXPECT_TRUE(d->Option1->isChecked()); d->Command1->click(); });
    EXPECT_EQ(at(5, 0), RGB(245, 55, 225));
    expectRunFinishedCleanly();
    EXPECT_EQ(doc->canvas().ScaleMode(), kScalePixels);
    undo->trigger();
    EXPECT_EQ(at(5, 0), RGB(10, 200, 30));

    runDialog<frmEffectsInvert>("mnuInvert", [](frmEffectsInvert* d) {
        d->Check2->setChecked(false); d->Check3->setChecked(false); d->Command1->click();
    });
    EXPECT_EQ(at(3, 0), RGB(245, 0, 0));   // red alone: red inverted, the others zeroed
}

TEST_F(EffectsTest, CancelInTheDialogKeepsTheLaunchersSnapshotOnly)
{
    runDialog<frmBrithnest>("mnuEditBrithnest", [](frmBrithnest* d) { d->Command2->click(); });
    EXPECT_FALSE(doc->Changed);   // brightness takes it only at OK
    EXPECT_FALSE(undo->isEnabled());

    runDialog<frmEffectsInvert>("mnuInvert", [](frmEffectsInvert* d) { d->Command2->click(); });
    EXPECT_TRUE(doc->Changed);   // Invert's launcher took the snapshot
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(at(1, 1), 0xFFFFFF);
}

TEST_F(EffectsTest, CancelDuringARunLeavesTheCanvasAndALaterRunCoversEveryColumn)
{
    doc->canvas().resizePixels(1500, 1200);   // several bands
    const QImage before = doc->canvas().Image();
    bool mainDisabledDuringRun = false;
    QString caption;
    brightness(-100, [&] {
        QTimer::singleShot(0, [&] { mainDisabledDuringRun = !frame->isEnabled(); });
        CancelRunAtFirstChance(&caption);
    });
    EXPECT_TRUE(mainDisabledDuringRun);
    EXPECT_EQ(caption, QStringLiteral("Brithnest..."));
    EXPECT_EQ(doc->canvas().Image(), before);
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_TRUE(doc->Changed);
    EXPECT_EQ(VisibleWindow(QStringLiteral("frmBrithnest")), nullptr);
    expectRunFinishedCleanly();

    brightness(-100);
    EXPECT_EQ(at(1499, 1199), RGB(155, 155, 155));

    // Escape on the progress dialog cancels as its button does, and the run still closes it.
    brightness(100, [] {
        QTimer::singleShot(0, [] { QTest::keyClick(VisibleWindow(QStringLiteral("frmProccessing")), Qt::Key_Escape); });
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
