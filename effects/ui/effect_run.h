#pragma once
// The one run sequence of every pixel effect on the active document: hide the effect's
// dialog, take the undo snapshot (unless the launcher took it), show the progress dialog,
// disable the main window, run the effect's passes on a working copy with progress and Cancel,
// write the result back in one block only when every column was done, then enable the main
// window and close both dialogs.
#include "effects/column_passes.h"
#include <QString>
#include <functional>

class QDialog;
class QWidget;

namespace orv {

class WorkingCopy;
class frmDocument;

struct EffectRunRequest {
    QString caption;                  // progress dialog caption, e.g. "Inverting..."
    QDialog* dialog = nullptr;        // the effect's dialog, or none for menu effects
    bool snapshotTaken = false;       // the launcher already took the undo snapshot
    std::function<std::vector<ColumnPass>(WorkingCopy&)> makePasses;
};

// Returns true when the effect ran to its end, false when cancelled.
bool EffectRun(frmDocument* doc, const EffectRunRequest& request);

// True from the start of a run to its end. The run writes into its document's canvas at the
// end, so no document may close meanwhile.
bool EffectRunning();

// Asks the running effect to stop (as its Cancel button does) and runs `then` once the run has
// ended and its callers have returned to the event loop.
void CancelEffectRunThen(std::function<void()> then);

// The message of a run that found no memory for its working copy; the picture is unchanged.
void ShowOutOfMemory(QWidget* owner);

// Shows an effect dialog modally, owned by the main window; returns when it has closed.
void ShowEffectDialog(QDialog* dialog);

} // namespace orv
