// The start-up scan of the main window: the plug-in table is built through the helper
// process, and each library that cannot be created is reported once per session.
#include "plugins/plugin_host.h"
#include "shell/file_names.h"
#include "shell/ui/frmMain.h"
#include <QMessageBox>

namespace orv {

void frmMain::RgstrPlgns()
{
    HostPlugInCalls calls;
    ScanPlugIns(PlugInFiles(PlugInFolders()), calls, [this](const QString& library) {
        if (PlugIns.reported.contains(library)) return;
        PlugIns.reported.insert(library);
        QMessageBox::critical(this, QStringLiteral("Error loading plugin"), PlugInRegistrationError(GetFileName(library)));
    }, &PlugIns.records);
}

} // namespace orv
