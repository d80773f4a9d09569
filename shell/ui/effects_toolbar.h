#pragma once
// The effects toolbar tblEffects: one button per entry of the active document's Effects menu.
// Each button is the menu entry's own action, so it runs what the entry runs and is disabled
// while the entry is; entries added to the menu later get a button too. The toolbar shows
// while the tool toolbar's "Effcts" button is pressed and a document is active.
#include <QMenu>
#include <QPointer>
#include <QToolBar>

class QMdiArea;
class QMdiSubWindow;

namespace orv {

class EffectsToolbar : public QToolBar {
    Q_OBJECT
public:
    // `effctsButton` is the tool toolbar's checkable "Effcts" button.
    EffectsToolbar(QMdiArea* documents, QAction* effctsButton, QWidget* parent);

    QMenu* effectsMenu() const { return menu_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void documentActivated(QMdiSubWindow* window);
    void showEffectsOf(QMenu* menu);
    void fill();
    void updateVisibility();

    QMdiArea* documents_;
    QAction* effctsButton_;
    QPointer<QMenu> menu_;
};

} // namespace orv
