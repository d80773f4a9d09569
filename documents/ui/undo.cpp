// The Edit menu's Undo and Redo over the document's history, and the steps changes take.
#include "documents/ui/frmDocument.h"
#include "shell/settings_store.h"
#include "shell/ui/frmMain.h"
#include <QAction>

namespace orv {

void frmDocument::TakeUndoSnapshot()
{
    history_->recordWhole(stepName_.isEmpty() ? QStringLiteral("Change") : stepName_);
    IsUndo = true;
    Changed = true;
    updateUndoEntries();
}

void frmDocument::TakeUndoSnapshot(const QRect& area, const QString& name)
{
    history_->recordArea(name, area);
    IsUndo = true;
    Changed = true;
    updateUndoEntries();
}

void frmDocument::mnuEditUndo_Click()
{
    if (history_->undo()) historyMoved();
}

void frmDocument::mnuEditRedo_Click()
{
    if (history_->redo()) historyMoved();
}

void frmDocument::historyMoved()
{
    Changed = !history_->atSaved();
    updateUndoEntries();
    emit changeNoted();   // back at the saved state the recovery copy goes
}

void frmDocument::updateUndoEntries()
{
    for (auto [entry, word, name, can] :
         {std::tuple{"mnuEditUndo", "Undo", history_->undoName(), history_->canUndo()},
          std::tuple{"mnuEditRedo", "Redo", history_->redoName(), history_->canRedo()}}) {
        QAction* a = menuAction(QString::fromLatin1(entry));
        a->setEnabled(can);
        a->setText(can ? QString::fromLatin1(word) + QLatin1Char(' ') + name : QString::fromLatin1(word));
    }
}

void TakeUndoSnapshot()
{
    if (frmMain* main = frmMain::instance())
        if (frmDocument* doc = main->ActiveDocument()) doc->TakeUndoSnapshot();
}

} // namespace orv
