#include "documents/ui/canvas_view.h"
#include "gui_fixture.h"
#include "shell/frame_placement.h"
#include "shell/ui/window_bar.h"
#include <QClipboard>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScrollBar>
#include <QToolBar>

namespace orv::test {

TEST_F(FrameTest, FirstStartOpensImage1MaximisedAndSavesStateOnExit)
{
    frmMain& f = start();
    EXPECT_EQ(Captions(f), QStringList{QStringLiteral("Image1")});
    EXPECT_TRUE(f.isMaximized());
    closeWithoutQuestions();
    EXPECT_EQ(setting(QStringLiteral("MainState")), QStringLiteral("2"));
    EXPECT_NE(setting(QStringLiteral("MainWidth")), QStringLiteral("<none>"));
}

TEST_F(FrameTest, StoredPlacementIsRestoredAndExitWhileMinimisedKeepsIt)
{
    storeSettings({{"MainState", "0"}, {"MainLeft", "1500"}, {"MainTop", "3000"}, {"MainWidth", "9000"}, {"MainHeight", "7500"}});
    frmMain& f = start();
    EXPECT_FALSE(f.isMaximized());
    EXPECT_EQ(f.pos(), QPoint(100, 200));
    EXPECT_EQ(f.size(), QSize(600, 500));
    f.showMinimized();
    QApplication::processEvents();
    closeWithoutQuestions();
    EXPECT_EQ(setting(QStringLiteral("MainState")), QStringLiteral("1"));
    EXPECT_EQ(setting(QStringLiteral("MainLeft")), QStringLiteral("1500"));
    EXPECT_EQ(setting(QStringLiteral("MainWidth")), QStringLiteral("9000"));
}

TEST_F(FrameTest, UnusableStoredValuesStillStartWithDefaults)
{
    store(QStringLiteral("Preferences"), QStringLiteral("SplshScrn"), QStringLiteral("7"));   // no choice
    EXPECT_EQ(ReadSplashChoice(), 1);

    const QList<QRect> screen{QRect(0, 0, 1280, 800)};
    storeSettings({{"MainState", "zero"}, {"MainLeft", "left"}});
    FramePlacement p = ReadFramePlacement(screen);
    EXPECT_EQ(p.state, kStateMaximized);
    EXPECT_EQ(p.twips, QRect(1000, 1000, 6500, 6500));
    storeSettings({{"MainState", "0"}, {"MainLeft", "-900000"}});   // off every screen
    EXPECT_EQ(ReadFramePlacement(screen).twips, QRect(1000, 1000, 6500, 6500));

    storeSettings({{"MainLeft", "3000"}});
    p = ReadFramePlacement(screen);
    EXPECT_EQ(p.state, kStateNormal);
    EXPECT_EQ(p.twips.x(), 3000);
    start();   // and the frame itself comes up
    EXPECT_EQ(frame->documentCount(), 1);
}

TEST_F(DocumentTest, CloseQuestionCancelKeepsTheDocumentNoClosesIt)
{
    frmMain& f = *frame;
    doc->Changed = true;

    QString text;
    AnswerNextMessageBox(QMessageBox::Cancel, &text);
    EXPECT_FALSE(doc->subWindow()->close());
    EXPECT_EQ(text, QStringLiteral("Do you want to save the file Image1?"));
    EXPECT_EQ(f.documentCount(), 1);
    EXPECT_TRUE(doc->Changed);
    EXPECT_FALSE(f.windowBar()->barSlots()[0].Free);

    AnswerNextMessageBox(QMessageBox::No);
    EXPECT_TRUE(doc->subWindow()->close());
    QApplication::processEvents();
    EXPECT_EQ(f.documentCount(), 0);
    EXPECT_TRUE(f.windowBar()->barSlots()[0].Free);
}

TEST_F(FrameTest, ABackgroundDoubleClickAddsADocumentAndMenusAndControlsFollowTheDocuments)
{
    frmMain& f = start();
    const auto menus = [&f] {
        QStringList m;
        for (QAction* a : f.menuBar()->actions()) m << a->text();
        return m;
    };
    EXPECT_EQ(menus(), (QStringList{"&File", "Edit", "View", "Effects", "Plugins", "Window", "Help"}));
    DoubleClick(f.mdiArea()->viewport());
    ASSERT_EQ(f.documentCount(), 2);
    EXPECT_TRUE(f.colorPanel()->isVisibleTo(&f));
    f.ActiveDocument()->subWindow()->close();
    QApplication::processEvents();
    EXPECT_TRUE(f.toolbarButton(10)->isEnabled());   // one of two closed
    EXPECT_TRUE(f.toolsToolbar()->isVisibleTo(&f));

    f.ActiveDocument()->subWindow()->close();
    QApplication::processEvents();
    for (int p : {3, 10}) EXPECT_FALSE(f.toolbarButton(p)->isEnabled()) << p;
    EXPECT_FALSE(f.toolsToolbar()->isVisibleTo(&f));
    EXPECT_FALSE(f.colorPanel()->isVisibleTo(&f));
    EXPECT_FALSE(f.optionsPanel()->isVisibleTo(&f));
    EXPECT_EQ(menus(), (QStringList{"&File", "View", "Help"}));   // the frame's own
}

TEST_F(DocumentTest, StatusTextsFollowActivationAndCanvasResize)
{
    frmMain& f = *frame;
    doc->canvas().resizePixels(640, 480);
    EXPECT_EQ(f.statusPanel(2), QStringLiteral("Height: 480"));
    EXPECT_EQ(f.statusPanel(3), QStringLiteral("Width: 640"));
    doc->canvas().setScaleMode(kScaleTwips);   // the texts are in pixels whatever the unit
    f.mnuFileNew_Click();
    f.mdiArea()->setActiveSubWindow(doc->subWindow());
    EXPECT_EQ(f.statusPanel(2), QStringLiteral("Height: 480"));
    EXPECT_EQ(doc->ToolName, QStringLiteral("FreeDraw"));
}

TEST_F(DocumentTest, ScrollBarsReachEveryEdgeOfAWidePicture)
{
    EXPECT_TRUE(doc->HScroll1->isHidden());   // the design-size canvas fits
    EXPECT_EQ(doc->canvasLeftTwips(), 100);

    doc->canvas().resizePixels(6000, 4000);
    ASSERT_FALSE(doc->HScroll1->isHidden());
    ASSERT_FALSE(doc->VScroll1->isHidden());
    EXPECT_GT(doc->HScroll1->maximum(), 32767);   // beyond the old 16-bit limit
    doc->HScroll1->setValue(1500);
    EXPECT_EQ(doc->canvasLeftTwips(), 100 - 1500);
    EXPECT_EQ(doc->DrawIMG->x(), -93);   // -1400 twips
    doc->HScroll1->setValue(doc->HScroll1->maximum());
    // At the end of the range the canvas's right edge is inside the viewport.
    EXPECT_LE(doc->DrawIMG->geometry().right(), doc->Picture4->width());
    doc->VScroll1->setValue(300);
    EXPECT_EQ(doc->canvasTopTwips(), -200);
    // The right-edge handle follows the canvas.
    EXPECT_EQ(doc->Picture1->x(), doc->DrawIMG->geometry().right() + 1 + 10);
}

TEST_F(DocumentTest, CopyPutsTheDrawnImageOnTheClipboard)
{
    doc->canvas().Line(0, 5, 30, 5, RGB(255, 0, 0), LineMode::Line);
    doc->mnuCopy_Click();
    const QImage clip = QApplication::clipboard()->image();
    ASSERT_EQ(clip.size(), QSize(doc->canvas().pixelWidth(), doc->canvas().pixelHeight()));
    EXPECT_EQ(clip.pixelColor(10, 5), QColor(255, 0, 0));
}

TEST_F(DocumentTest, ViewTogglesSaveTheirKeys)
{
    frmMain& f = *frame;
    // The Tools toggle: FrameBarsTest.MainToolbarButtonsActOnTheActiveDocument.
    doc->menuAction(QStringLiteral("mnuViewColors"))->trigger();
    EXPECT_EQ(setting(QStringLiteral("ShowColors")), QStringLiteral("False"));
    EXPECT_FALSE(f.colorPanel()->isVisibleTo(&f));
    doc->menuAction(QStringLiteral("mnuOptions"))->trigger();
    EXPECT_TRUE(f.optionsPanel()->isVisibleTo(&f));
    EXPECT_TRUE(doc->menuAction(QStringLiteral("mnuOptions"))->isChecked());
}

} // namespace orv::test
