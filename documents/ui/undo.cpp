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
    // The canvas keeps its size: the held picture goes to the top-left corner.
    if (undo->text() == QLatin1String("Undo")) {
        imgReDo = canvas().Image();
        canvas().setPicture(imgUnDo);
        undo->setText(QStringLiteral("Redo"));
    } else if (undo->text() == QLatin1String("Redo")) {
        imgUnDo = canvas().Image();
        canvas().setPicture(imgReDo);
        undo->setText(QStringLiteral("Undo"));
    }
}

void TakeUndoSnapshot()
{
    if (frmMain* main = frmMain::instance())
        if (frmDocument* doc = main->ActiveDocument()) doc->TakeUndoSnapshot();
}

} // namespace orv
