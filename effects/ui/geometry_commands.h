#pragma once
// The Edit menu's commands that run at once: Convert to > Grayscale, Flip > Flip Horizontal and
// Flip Vertical, and Rotate 90°.
namespace orv {

class frmDocument;

void mnuEditConvertGrayscale_Click(frmDocument* doc);
// The flips take no undo snapshot but mark the document changed, so closing still asks.
void mnuEditFlipHorizontal_Click(frmDocument* doc);
void mnuEditFlipVertical_Click(frmDocument* doc);
// A clockwise quarter turn; the canvas takes the turned size and the handles follow it.
void mnuEditRotate90_Click(frmDocument* doc);

} // namespace orv
