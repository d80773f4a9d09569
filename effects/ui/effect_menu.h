#pragma once
namespace orv {
class frmDocument;
// Enables the document's effect entries whose commands exist and connects them to their
// launchers.
void ConnectEffectMenus(frmDocument* doc);
}
