#include "shell/ui/effects_toolbar.h"
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

namespace orv {

EffectsToolbar::EffectsToolbar(QMdiArea* documents, QAction* effctsButton, QWidget* parent)
    : QToolBar(QStringLiteral("Effects"), parent), documents_(documents), effctsButton_(effctsButton)
{
    setObjectName(QStringLiteral("tblEffects"));
    setAccessibleName(QStringLiteral("Effects toolbar"));
    setMovable(false);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    connect(documents_, &QMdiArea::subWindowActivated, this, &EffectsToolbar::documentActivated);
    connect(effctsButton_, &QAction::toggled, this, &EffectsToolbar::updateVisibility);
    hide();
}

void EffectsToolbar::documentActivated(QMdiSubWindow* window)
{
    if (!window) {
        // The frame losing the focus also reports no active window: the last menu stays
        // while a document is still shown.
        for (QMdiSubWindow* w : documents_->subWindowList())
            if (w->isVisible()) return;
        showEffectsOf(nullptr);
        return;
    }
    if (QWidget* doc = window->widget()) showEffectsOf(doc->findChild<QMenu*>(QStringLiteral("mnuEffects")));
}

void EffectsToolbar::showEffectsOf(QMenu* menu)
{
    if (menu == menu_) return;
    if (menu_) menu_->removeEventFilter(this);
    menu_ = menu;
    if (menu_) {
        menu_->installEventFilter(this);
        // A closed document takes its menu with it; the toolbar then waits for the next one.
        connect(menu_, &QObject::destroyed, this, [this] {
            if (menu_) return;   // an earlier document's menu
            clear();
            updateVisibility();
        });
    }
    fill();
    updateVisibility();
}

void EffectsToolbar::fill()
{
    clear();   // takes the actions off the toolbar; they stay the menu's
    if (!menu_) return;
    for (QAction* a : menu_->actions()) addAction(a);
}

void EffectsToolbar::updateVisibility()
{
    setVisible(effctsButton_->isChecked() && menu_ && !actions().isEmpty());
}

bool EffectsToolbar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == menu_ && (event->type() == QEvent::ActionAdded || event->type() == QEvent::ActionRemoved)) {
        fill();
        updateVisibility();
    }
    return QToolBar::eventFilter(watched, event);
}

} // namespace orv
