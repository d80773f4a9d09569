#pragma once
// The strip above the documents. Its top band, 480 twips high, holds the slide button
// Command1 and, beside it, the window bar; below the band sits the main toolbar Toolbar1,
// which Command1 slides up out of sight (its top at minus its own height) and back down to
// 480 twips. The strip is as high as the band or the toolbar's bottom edge, whichever is
// lower, so a slid-out toolbar leaves no empty room behind.
#include "shell/ui/slide.h"
#include <QWidget>

class QAction;
class QToolBar;
class QToolButton;

namespace orv {

class WindowBar;

class MainToolbar : public QWidget {
    Q_OBJECT
public:
    // `viewWindows` is the frame's View > Windows entry, whose check state the slide button
    // saves.
    MainToolbar(WindowBar* windowBar, QAction* viewWindows, QWidget* parent);

    QToolBar* Toolbar1 = nullptr;
    QToolButton* Command1 = nullptr;

    QAction* button(int position) const;   // positions 1..10; nullptr for the gaps 4, 6, 9
    int toolbarTopTwips() const;
    int toolbarHeightTwips() const;
    // Puts the toolbar in (top 480 twips) or out (top minus its height) at once, as the
    // frame's load does from the ToolBar key.
    void placeToolbar(bool slidIn);

    // The slide button: slides the toolbar out or in, saves ToolBar, switches the frame's
    // title bar and saves ShowWindows. A click during a slide turns the slide round, so the
    // toolbar always comes to rest at one of its two places.
    void Command1_Click();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void buttonClicked(int position);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void moveToolbar(int topPixels);
    void layoutBand();

    WindowBar* windowBar_;
    QAction* viewWindows_;
    QList<QAction*> buttons_;   // positions 1..10
    SlideRun slide_;
    bool slidingIn_ = false;
};

// Removes the frame's title bar and border, or gives them back; the window keeps its place,
// size and state.
void ToggleCaption(QWidget* frame);

} // namespace orv
