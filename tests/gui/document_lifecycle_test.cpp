// Documents over their whole life on the real main window: exit with several changed documents,
// which document is active after a close, a close request while an effect runs, Undo and Redo
// across a change of size, and what a new or closed document leaves behind.
#include "documents/ui/canvas_view.h"
#include "effects/ui/frmBrithnest.h"
#include "gui_fixture.h"
#include "shell/ui/window_bar.h"
#include "tests/support/test_pictures.h"
#include "tools/draw_tools.h"
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTest>

namespace orv::test {

namespace {

class LifecycleTest : public DocumentTest {
protected:
    Canvas& canvas() { return doc->canvas(); }
    // Answers the next message boxes in turn, recording their texts.
    void answer(std::vector<QMessageBox::StandardButton> buttons)
    {
        QTimer::singleShot(0, [this, buttons] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr) << "no message box is open";
            questions << box->text();
            if (buttons.size() > 1) answer({buttons.begin() + 1, buttons.end()});
            box->button(buttons.front())->click();
        });
    }
    QStringList questions;
};

// A 160 x 120 picture of all-different pixels on the document's canvas.
QImage PutNumbered(Canvas& canvas)
{
    const QImage picture = Numbered(160, 120);
    canvas.setScaleMode(kScalePixels);
    canvas.resizePixels(160, 120);
    canvas.PaintPicture(picture, 0, 0);
    return canvas.Image();
}

} // namespace

TEST_F(LifecycleTest, ExitAsksEveryQuestionFirstAndACancelKeepsEveryDocument)
{
    frame->mnuFileNew_Click();
    frmDocument* second = frame->ActiveDocument();
    doc->Changed = true;
    second->Changed = true;

    // No for Image1, then Cancel for Image2: both stay, nothing of the exit happened.
    answer({QMessageBox::No, QMessageBox::Cancel});
    EXPECT_FALSE(frame->close());
    EXPECT_EQ(questions, (QStringList{"Do you want to save the file Image1?", "Do you want to save the file Image2?"}));
    QApplication::processEvents();
    EXPECT_EQ(Captions(*frame), (QStringList{"Image1", "Image2"}));
    EXPECT_TRUE(doc->Changed);
    EXPECT_EQ(setting(QStringLiteral("MainState")), QStringLiteral("<none>"));
    EXPECT_FALSE(frame->windowBar()->barSlots().at(0).Free);

    // No for both: the exit goes through, and no question comes twice.
    questions.clear();
    answer({QMessageBox::No, QMessageBox::No});
    EXPECT_TRUE(frame->close());
    EXPECT_EQ(questions.size(), 2);
    QApplication::processEvents();
    EXPECT_EQ(frame->documentCount(), 0);
    EXPECT_NE(setting(QStringLiteral("MainState")), QStringLiteral("<none>"));
}

TEST_F(LifecycleTest, ClosingADocumentActivatesTheOneUsedBeforeIt)
{
    frame->mnuFileNew_Click();
    frame->mnuFileNew_Click();
    QMdiArea* area = frame->mdiArea();
    const QList<QMdiSubWindow*> windows = area->subWindowList();
    ASSERT_EQ(windows.size(), 3);
    for (QMdiSubWindow* w : windows) area->setActiveSubWindow(w);   // used in the order 1, 2, 3
    windows[2]->close();
    QApplication::processEvents();
    ASSERT_NE(frame->ActiveDocument(), nullptr);
    EXPECT_EQ(frame->ActiveDocument()->windowTitle(), QStringLiteral("Image2"));

    // Used in the order Image2, Image4, Image1: closing Image1 activates Image4.
    frame->mnuFileNew_Click();   // Image4
    area->setActiveSubWindow(windows[0]);
    frame->ActiveDocument()->subWindow()->close();
    QApplication::processEvents();
    EXPECT_EQ(frame->ActiveDocument()->windowTitle(), QStringLiteral("Image4"));
}

TEST_F(LifecycleTest, CloseRequestsDuringARunCancelItAndThenAskAsUsual)
{
    canvas().resizePixels(1500, 1200);   // several bands, so the run lets events in
    const QImage before = canvas().Image();
    bool frameStayed = false, documentStayed = false;
    questions.clear();
    runDialog<frmBrithnest>("mnuEditBrithnest", [&](frmBrithnest* d) {
        d->HScroll1->setValue(-100);
        // The window manager's close button and the document's own close, at the first chance
        // the run gives; the run still writes into this document's canvas.
        QTimer::singleShot(0, [&] {
            ASSERT_NE(VisibleWindow(QStringLiteral("frmProccessing")), nullptr);
            QCloseEvent byWindowManager;
            QApplication::sendEvent(frame.get(), &byWindowManager);
            EXPECT_FALSE(byWindowManager.isAccepted());
            EXPECT_FALSE(doc->subWindow()->close());
            frameStayed = frame->isVisible();
            documentStayed = frame->documentCount() == 1;
        });
        d->Command1->click();
    });
    EXPECT_TRUE(frameStayed);
    EXPECT_TRUE(documentStayed);
    EXPECT_EQ(canvas().Image(), before);   // the run was cancelled, nothing written back
    expectRunFinishedCleanly();

    // Once the run has ended the closes come back with the usual question: Cancel keeps all.
    answer({QMessageBox::Cancel, QMessageBox::Cancel});
    QTest::qWait(50);
    EXPECT_EQ(questions, (QStringList{"Do you want to save the file Image1?", "Do you want to save the file Image1?"}));
    EXPECT_TRUE(frame->isVisible());
    ASSERT_EQ(frame->documentCount(), 1);
    EXPECT_EQ(frame->ActiveDocument()->canvas().Image(), before);
}

TEST_F(LifecycleTest, UndoAndRedoOfRotateRestoreSizeAndEveryPixel)
{
    const QImage original = PutNumbered(canvas());
    trigger("mnuEditRotate90");
    ASSERT_EQ(canvas().pixelWidth(), 120);
    const QImage turned = canvas().Image();

    undo->trigger();
    EXPECT_EQ(canvas().Image(), original);
    EXPECT_EQ(doc->DrawIMG->size(), QSize(160, 120));
    EXPECT_EQ(frame->statusPanel(2), QStringLiteral("Height: 120"));
    EXPECT_EQ(doc->Picture1->x(), doc->DrawIMG->x() + 160 + 10);   // the right-edge handle follows

    redo->trigger();
    EXPECT_EQ(canvas().Image(), turned);
    EXPECT_EQ(frame->statusPanel(3), QStringLiteral("Width: 120"));
}

TEST_F(LifecycleTest, UndoAfterAHandleShrinkBringsBackTheWholePicture)
{
    const QImage original = PutNumbered(canvas());
    doc->Changed = false;
    // The right-edge handle dragged 100 pixels to the left, in two moves of one drag.
    QWidget* handle = doc->Picture1;
    QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(4, 4));
    QTest::mouseMove(handle, QPoint(-46, 4));
    QTest::mouseMove(handle, QPoint(-46, 4));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(-46, 4));
    ASSERT_EQ(canvas().pixelWidth(), 60);
    EXPECT_TRUE(doc->Changed);

    undo->trigger();   // the picture before the drag, cut columns included
    EXPECT_EQ(canvas().Image(), original);
    redo->trigger();   // the shrunk picture again
    EXPECT_EQ(canvas().Image(), original.copy(0, 0, 60, 120));
}

TEST_F(LifecycleTest, ANewDocumentStartsWithoutAHalfDoneShapeDrag)
{
    // A rectangle drag in Image1 left half done (ended by the right button).
    RubberBand = RubberBandRecord{1, 5, 5, 20, 20};
    frame->mnuFileNew_Click();
    EXPECT_EQ(RubberBand.State, 0);
    frmDocument* next = frame->ActiveDocument();
    frame->toolButton(3)->trigger();
    QTest::mousePress(next->DrawIMG, Qt::LeftButton, {}, QPoint(30, 30));
    QTest::mouseRelease(next->DrawIMG, Qt::LeftButton, {}, QPoint(30, 30));
    // The click drew the degenerate box at (30, 30), not a box from Image1's start point.
    EXPECT_EQ(next->canvas().Point(30, 30), 0);
    EXPECT_EQ(next->canvas().Point(5, 30), 0xFFFFFF);
}

TEST_F(LifecycleTest, TheColourReadOutFollowsThePointerWithoutButtonsAndIsClearedWithTheLastDocument)
{
    canvas().PSet(7, 8, RGB(1, 2, 3));
    SendMouse(doc->DrawIMG, QEvent::MouseMove, QPointF(7, 8));
    EXPECT_EQ(frame->statusPanel(4), QStringLiteral("Color: R: 1. G: 2. B: 3"));
    doc->subWindow()->close();
    QApplication::processEvents();
    EXPECT_EQ(frame->statusPanel(4), QString());
}

TEST_F(FrameTest, ACommandLineFileOpensInsteadOfImage1AndNewWindowsStartWithTheirTopLeftInView)
{
    // A frame of 6000 x 6000 twips: its workspace is narrower than a new document window.
    storeSettings({{"MainState", "0"}, {"MainWidth", "6000"}, {"MainHeight", "6000"}});
    QTemporaryDir dir;
    start(WriteBmp(dir.filePath(QStringLiteral("wide picture.bmp")), NewPixelBuffer(1500, 80, RGB(255, 0, 255))));
    EXPECT_EQ(Captions(*frame), QStringList{QStringLiteral("wide picture.bmp")});   // placed when the frame shows
    const QWidget* view = frame->mdiArea()->viewport();
    const QMdiSubWindow* first = frame->ActiveDocument()->subWindow();
    // Wider than the workspace: the window fills it and shows the whole picture.
    EXPECT_EQ(first->geometry(), view->rect());
    EXPECT_LE(frame->ActiveDocument()->DrawIMG->width(), view->width());

    frame->mnuFileNew_Click();   // placed at once, in a workspace already shown
    const QPoint next = frame->ActiveDocument()->subWindow()->pos();
    EXPECT_TRUE(QRect(QPoint(0, 0), view->size()).contains(next)) << next.x() << "," << next.y();
}

} // namespace orv::test
