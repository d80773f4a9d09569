// One step of history per document: the snapshot taken before a change, and the Edit menu
// entry that swaps between it and the current picture, its caption flipping Undo / Redo.
#include "documents/ui/frmDocument.h"
#include "shell/ui/frmMain.h"
#include <QAction>

namespace orv {

void frmDocument::TakeUndoSnapshot()
{
    imgUnDo = canvas().Image();   // shares the pixels until the canvas is drawn on
    IsUndo = true;
    Changed = true;
    QAction* undo = menuAction(QStringLiteral("mnuEditUndo"));
    undo->setEnabled(true);
    undo->setText(QStringLiteral("Undo"));
}

void frmDocument::mnuEditUndo_Click()
{
    QAction* undo = menuAction(QStringLiteral("mnuEditUndo"));
    if (undo->text() == QLatin1String("Undo")) {
        imgReDo = canvas().Image();
        restorePicture(imgUnDo);
        undo->setText(QStringLiteral("Redo"));
    } else if (undo->text() == QLatin1String("Redo")) {
        imgUnDo = canvas().Image();
        restorePicture(imgReDo);
        undo->setText(QStringLiteral("Undo"));
    }
}

void frmDocument::restorePicture(const Picture& held)
{
    // The held picture comes back whole, with its own size: a change of size (a turn, a
    // handle drag) is undone like any other, and nothing of either picture is cut away. The
    // canvas's resize handling places the handles and scroll bars and writes the size texts.
    Canvas& c = canvas();
    const bool autoSize = c.AutoSize();
    c.setAutoSize(true);
    c.setPicture(held);
    c.setAutoSize(autoSize);
}

void TakeUndoSnapshot()
{
    if (frmMain* main = frmMain::instance())
        if (frmDocument* doc = main->ActiveDocument()) doc->TakeUndoSnapshot();
}

} // namespace orv
