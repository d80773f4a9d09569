#pragma once
namespace orv {
class frmDocument;
// Effects > Crystal Shaper: takes the undo snapshot and reshapes the canvas's rows in place at
// once, without a dialog, progress or cancel.
void mnuEffectsCrystalShaper_Click(frmDocument* doc);
}
