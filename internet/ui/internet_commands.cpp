// The frame's Internet commands: File > Open URL and Help > Check for update.
#include "documents/ui/frmDocument.h"
#include "internet/ui/frmCheckforUpdate.h"
#include "internet/ui/frmOpenURL.h"
#include "internet/version_check.h"
#include "shell/ui/frmMain.h"

namespace orv {

void frmMain::mnuOpenURL_Click()
{
    // An empty document comes first; it stays whatever the dialog ends in.
    LoadNewDoc();
    frmOpenURL dialog([this](const QString& path) { OpenFile(path); }, this);
    dialog.exec();
    if (frmDocument* d = ActiveDocument()) {
        d->canvas().Refresh();
        FitWindowToPicture(d);
    }
}

void frmMain::mnuHelpCheckForUpdate_Click()
{
    frmCheckforUpdate dialog(UpdateAddress(), this);
    dialog.exec();
}

} // namespace orv
