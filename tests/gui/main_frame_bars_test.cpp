// The frame's slide button and main toolbar, the window bar, the View and Window commands,
// and the effects toolbar.
#include "effects/ui/frmEffectsInvert.h"
#include "gui_fixture.h"
#include "shell/ui/effects_toolbar.h"
#include "shell/ui/main_toolbar.h"
#include "shell/ui/window_bar.h"
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScrollBar>
#include <QToolBar>
#include <QToolButton>

namespace orv::test {

namespace {

// Button geometry of the window bar in twips (15 per pixel).
int LeftTwips(const WindowBar::Slot& s) { return PixelsToTwips(s.Button->x()); }
int TopTwips(const WindowBar::Slot& s) { return PixelsToTwips(s.Button->y()); }
bool Yellow(const WindowBar::Slot& s) { return s.Button->styleSheet().contains(QStringLiteral("255,255,0")); }
bool Frameless(const QWidget& w) { return w.windowFlags().testFlag(Qt::FramelessWindowHint); }

} // namespace

class FrameBarsTest : public FrameTest {
protected:
    WindowBar& bar() { return *frame->windowBar(); }
    const WindowBar::Slot& slot(size_t i) { return bar().barSlots().at(i); }
    MainToolbar& holder() { return *frame->toolbarHolder(); }
    void newDocuments(int n)
    {
        for (int i = 0; i < n; ++i) frame->mnuFileNew_Click();
    }
    void closeDocument(frmDocument* doc)
    {
        doc->subWindow()->close();
        QApplication::processEvents();
    }
    QString toolBarSetting() { return setting(QStringLiteral("ToolBar")); }
};

TEST_F(FrameBarsTest, BarButtonsSit30TwipsApartAndAFreedSlotIsReusedInPlace)
{
    start();
    newDocuments(2);
    const int w = PixelsToTwips(slot(0).Button->width());
    EXPECT_EQ(w, 1650);   // 110 pixels
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(LeftTwips(slot(i)), 30 + int(i) * (w + 30)) << i;
        EXPECT_EQ(TopTwips(slot(i)), 30) << i;
        EXPECT_TRUE(Yellow(slot(i)));
    }

    closeDocument(slot(1).Form);
    EXPECT_TRUE(slot(1).Free);
    EXPECT_TRUE(slot(1).Button->isHidden());
    EXPECT_EQ(LeftTwips(slot(2)), 30 + w + 30);   // the third moves up to the gap

    frame->mnuFileNew_Click();   // the counter never goes back; the freed slot is reused
    ASSERT_EQ(bar().barSlots().size(), 3u);
    EXPECT_EQ(slot(1).Button->text(), QStringLiteral("Image4"));
    EXPECT_EQ(LeftTwips(slot(1)), 30 + w + 30);   // between the other two again
    EXPECT_EQ(LeftTwips(slot(2)), 30 + 2 * (w + 30));
}

TEST_F(FrameBarsTest, ARowWrapsAtTheRightEdgeAndEachWrapAddsAScrollRow)
{
    start();
    const int holderTwips = PixelsToTwips(bar().holder()->width());
    const int w = PixelsToTwips(slot(0).Button->width());
    int perRow = 0;   // buttons that fit: the next one would pass the right edge
    while (30 + perRow * (w + 30) + w <= holderTwips) ++perRow;
    ASSERT_GE(perRow, 2);

    newDocuments(perRow - 1);
    EXPECT_EQ(bar().holderScroll()->maximum(), 0);
    frame->mnuFileNew_Click();   // the first button of the second row
    const int h = PixelsToTwips(slot(0).Button->height());
    EXPECT_EQ(bar().holderScroll()->maximum(), 1);
    EXPECT_EQ(LeftTwips(slot(perRow)), 30);
    EXPECT_EQ(TopTwips(slot(perRow)), 30 + h + 30);

    newDocuments(perRow);   // the second row full and one more: a third row
    EXPECT_EQ(bar().holderScroll()->maximum(), 2);
    bar().holderScroll()->setValue(1);   // scrolling moves the panel up by whole rows
    EXPECT_EQ(PixelsToTwips(bar().holder()->y()), -(h + 30));
    closeDocument(slot(2 * perRow).Form);   // the third row empties
    EXPECT_EQ(bar().holderScroll()->maximum(), 1);
}

TEST_F(FrameBarsTest, AClickBringsEveryDocumentOfThatCaptionForwardTheLaterOnTop)
{
    frmMain& f = start();
    newDocuments(2);
    frmDocument* first = slot(0).Form;
    frmDocument* middle = slot(1).Form;
    frmDocument* last = slot(2).Form;
    first->setWindowTitle(QStringLiteral("photo.bmp"));   // two files of the same name
    last->setWindowTitle(QStringLiteral("photo.bmp"));
    EXPECT_EQ(slot(2).Button->text(), QStringLiteral("photo.bmp"));   // buttons follow captions
    f.mdiArea()->setActiveSubWindow(middle->subWindow());

    slot(0).Button->click();
    const QList<QMdiSubWindow*> stack = f.mdiArea()->subWindowList(QMdiArea::StackingOrder);
    ASSERT_EQ(stack.size(), 3);
    EXPECT_EQ(stack[2], last->subWindow());
    EXPECT_EQ(stack[1], first->subWindow());
    slot(1).Button->click();
    EXPECT_EQ(f.ActiveDocument(), middle);
}

TEST_F(FrameBarsTest, ADoubleClickSwitchesTheDocumentOffAndOnAgain)
{
    start();
    newDocuments(1);
    frmDocument* doc = slot(0).Form;
    frame->mdiArea()->setActiveSubWindow(doc->subWindow());
    DoubleClick(slot(0).Button);
    EXPECT_FALSE(Yellow(slot(0)));
    EXPECT_TRUE(doc->subWindow()->isHidden());
    EXPECT_EQ(frame->ActiveDocument(), slot(1).Form);   // commands go to a shown document
    DoubleClick(slot(0).Button);
    EXPECT_TRUE(Yellow(slot(0)));
    EXPECT_FALSE(doc->subWindow()->isHidden());
    EXPECT_EQ(frame->ActiveDocument(), doc);
}

TEST_F(FrameBarsTest, TheSlideButtonSlidesTheToolbarOutAndInAndSwitchesTheTitleBarAndARestartKeepsItOut)
{
    frmMain& f = start();
    const QRect placement = f.normalGeometry();
    EXPECT_EQ(holder().toolbarTopTwips(), 480);

    holder().Command1->click();
    EXPECT_EQ(holder().toolbarTopTwips(), -holder().toolbarHeightTwips());
    EXPECT_TRUE(Frameless(f));
    EXPECT_TRUE(f.isMaximized());   // the frame keeps its state and place
    EXPECT_EQ(f.normalGeometry(), placement);
    EXPECT_EQ(toolBarSetting(), QStringLiteral("False"));
    EXPECT_EQ(holder().height(), TwipsToPixels(480));   // only the band with the slide button

    holder().Command1->click();
    EXPECT_EQ(holder().toolbarTopTwips(), 480);
    EXPECT_FALSE(Frameless(f));
    EXPECT_EQ(toolBarSetting(), QStringLiteral("True"));

    // Slid out, it stays out after a restart, but every start has a title bar.
    holder().Command1->click();
    closeWithoutQuestions();
    start();
    EXPECT_EQ(holder().toolbarTopTwips(), -holder().toolbarHeightTwips());
    EXPECT_FALSE(Frameless(*frame));
}

TEST_F(FrameBarsTest, TheTitleBarSwitchKeepsANormalFrameWhereItIs)
{
    storeSettings({{"MainState", "0"}, {"MainLeft", "1500"}, {"MainTop", "3000"}, {"MainWidth", "9000"}, {"MainHeight", "7500"}});
    frmMain& f = start();
    for (bool frameless : {true, false}) {
        ToggleCaption(&f);
        QApplication::processEvents();
        EXPECT_EQ(Frameless(f), frameless);
        EXPECT_TRUE(f.isVisible());
        EXPECT_FALSE(f.isMaximized());
        EXPECT_EQ(f.pos(), QPoint(100, 200));
        EXPECT_EQ(f.size(), QSize(600, 500));
    }
}

TEST_F(FrameBarsTest, ASecondClickDuringTheSlideTurnsItRoundAndNothingIsLeftHalfWay)
{
    frmMain& f = start();
    int topAtSecondClick = 0;
    QTimer::singleShot(40, [this, &topAtSecondClick] {
        topAtSecondClick = holder().toolbarTopTwips();
        holder().Command1->click();
    });
    holder().Command1->click();
    EXPECT_LT(topAtSecondClick, 480);
    EXPECT_GT(topAtSecondClick, -holder().toolbarHeightTwips());
    EXPECT_EQ(holder().toolbarTopTwips(), 480);
    EXPECT_FALSE(Frameless(f));   // switched twice: as at the start
    EXPECT_EQ(toolBarSetting(), QStringLiteral("True"));
}

TEST_F(FrameBarsTest, ViewWindowsHidesTheBarAtOnceAndGrowsItBack)
{
    frmMain& f = start();
    QAction* windows = f.ActiveDocument()->menuAction(QStringLiteral("mnuViewWindows"));
    windows->trigger();
    EXPECT_FALSE(bar().isVisibleTo(&f));
    EXPECT_EQ(bar().height(), 0);
    windows->trigger();
    EXPECT_EQ(PixelsToTwips(bar().height()), 375);
    EXPECT_TRUE(windows->isChecked());

    // Hidden again while it grows: the later click has the last word.
    windows->trigger();
    QTimer::singleShot(20, [windows] { windows->trigger(); });
    windows->trigger();
    EXPECT_FALSE(windows->isChecked());
    EXPECT_FALSE(bar().isVisibleTo(&f));
    EXPECT_EQ(bar().height(), 0);
    EXPECT_EQ(setting(QStringLiteral("ShowWindows")), QStringLiteral("False"));
}

TEST_F(FrameBarsTest, MainToolbarButtonsActOnTheActiveDocument)
{
    frmMain& f = start();
    for (int p : {3, 5, 7, 8, 10}) EXPECT_TRUE(f.toolbarButton(p)->isEnabled()) << p;
    frmDocument* first = f.ActiveDocument();
    first->menuAction(QStringLiteral("mnuViewTools"))->trigger();   // hidden from the first
    f.toolbarButton(1)->trigger();   // New: the tools show again
    EXPECT_EQ(Captions(f), (QStringList{"Image1", "Image2"}));
    f.mdiArea()->setActiveSubWindow(first->subWindow());
    first->menuAction(QStringLiteral("mnuViewTools"))->trigger();   // the first click hides them
    EXPECT_FALSE(f.toolsToolbar()->isVisibleTo(&f));
    f.toolbarButton(8)->trigger();   // Tools
    EXPECT_TRUE(f.toolsToolbar()->isVisibleTo(&f));
    f.toolbarButton(8)->trigger();
    EXPECT_FALSE(f.toolsToolbar()->isVisibleTo(&f));
    for (frmDocument* doc : f.documents())
        EXPECT_FALSE(doc->menuAction(QStringLiteral("mnuViewTools"))->isChecked());
    f.toolbarButton(10)->trigger();   // Close
    QApplication::processEvents();
    EXPECT_EQ(Captions(f), QStringList{QStringLiteral("Image2")});
}

TEST_F(FrameBarsTest, WindowMenuTilesTheDocuments)
{
    frmMain& f = start();
    newDocuments(1);
    QMenu* window = f.ActiveDocument()->menus()[5];
    const auto choose = [window](const QString& caption) {
        for (QAction* a : window->actions())
            if (a->text() == caption) return a->trigger();
        FAIL() << caption.toStdString();
    };
    const QRect area = f.mdiArea()->viewport()->rect();
    const QList<QMdiSubWindow*> windows = f.mdiArea()->subWindowList();
    choose(QStringLiteral("Tile Vertical"));
    EXPECT_EQ(windows[1]->geometry(), QRect(area.width() / 2, 0, area.width() / 2, area.height()));
    choose(QStringLiteral("Tile Horizontal"));
    EXPECT_EQ(windows[1]->geometry(), QRect(0, area.height() / 2, area.width(), area.height() / 2));
}

TEST_F(FrameBarsTest, TheEffectsToolbarCarriesTheEffectsMenuWhileEffctsIsPressed)
{
    frmMain& f = start();
    EffectsToolbar& effects = *f.effectsToolbar();
    frmDocument* first = f.ActiveDocument();
    QMenu* menu = first->findChild<QMenu*>(QStringLiteral("mnuEffects"));
    EXPECT_FALSE(effects.isVisibleTo(&f));

    f.toolButton(12)->trigger();   // "Effcts"
    ASSERT_TRUE(effects.isVisibleTo(&f));
    EXPECT_EQ(effects.actions(), menu->actions());
    QAction* invert = first->menuAction(QStringLiteral("mnuInvert"));
    invert->setEnabled(false);   // the button follows its entry
    EXPECT_FALSE(effects.widgetForAction(invert)->isEnabled());
    invert->setEnabled(true);

    bool opened = false;   // a button runs what its entry runs
    WhenOpen<frmEffectsInvert>(QStringLiteral("frmEffectsInvert"), [&opened](frmEffectsInvert* d) {
        opened = true;
        d->reject();
    });
    qobject_cast<QToolButton*>(effects.widgetForAction(invert))->click();
    EXPECT_TRUE(opened);
    QAction* added = menu->addAction(QStringLiteral("Later effect"));   // a later entry gets its button
    EXPECT_TRUE(effects.actions().contains(added));

    // Another document shows its own entries; closing it brings back the first one's.
    f.mnuFileNew_Click();
    EXPECT_EQ(effects.effectsMenu(), f.ActiveDocument()->findChild<QMenu*>(QStringLiteral("mnuEffects")));
    closeDocument(f.ActiveDocument());
    f.mdiArea()->setActiveSubWindow(first->subWindow());
    EXPECT_EQ(effects.effectsMenu(), menu);

    f.toolButton(1)->trigger();   // another tool
    EXPECT_FALSE(effects.isVisibleTo(&f));
    f.toolButton(12)->trigger();
    first->Changed = false;   // the Invert launcher took its undo snapshot
    closeDocument(first);     // no document: nothing to run effects on
    EXPECT_FALSE(effects.isVisibleTo(&f));
    f.mnuFileNew_Click();
    EXPECT_EQ(effects.actions(), f.ActiveDocument()->findChild<QMenu*>(QStringLiteral("mnuEffects"))->actions());
}

} // namespace orv::test
