#pragma once
// The plug-ins in the editor: the scan at start-up (frmMain::RgstrPlgns), the Plugins menu
// of each document and the run of a chosen plug-in (frmDocument::mnuPlugIn_Click).
#include "plugins/plugin_table.h"

class QAction;

namespace orv {

class frmDocument;

// Fills the document's Plugins menu from the table: one enabled item per plug-in, tagged
// with its class name, when the plug-in folders hold a library and the table has records;
// otherwise the single disabled item "(None)".
void BuildPlugInsMenu(frmDocument* doc, const PlugInTable& table);

// The items of the document's Plugins menu, in order.
QList<QAction*> PlugInItems(const frmDocument* doc);

} // namespace orv
