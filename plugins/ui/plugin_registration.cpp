// The start-up scan of the main window: the plug-in table is built through the helper
// process, and each library that cannot be created is reported once per session, as are the
// libraries that did not answer (together, in one message).
#include "plugins/plugin_host.h"
#include "shell/file_names.h"
#include "shell/ui/frmMain.h"
#include <QMessageBox>

namespace orv {

void frmMain::RgstrPlgns()
{
    HostPlugInCalls calls;
    const PlugInScanResult scan = ScanPlugIns(PlugInFiles(PlugInFolders()), calls, &PlugIns.records);
    const auto unreported = [this](const QStringList& libraries) {
        QStringList names;
        for (const QString& library : libraries) {
            if (PlugIns.reported.contains(library)) continue;
            PlugIns.reported.insert(library);
            names.append(GetFileName(library));
        }
        return names;
    };
    for (const QString& name : unreported(scan.notCreated))
        QMessageBox::critical(this, QStringLiteral("Error loading plugin"), PlugInRegistrationError(name));
    if (const QStringList names = unreported(scan.unanswered); !names.isEmpty())
        QMessageBox::critical(this, QStringLiteral("Error loading plugin"), PlugInsUnansweredError(names));
}

} // namespace orv
