#pragma once
// Edit > Fill > Image: asks for a picture file and covers the canvas with copies of it, laid
// edge to edge from the top-left corner. No undo snapshot is taken; the document counts as
// changed.
#include <QString>

namespace orv {

class frmDocument;

void mnuEditFillImage_Click(frmDocument* doc);

// The command after the file was chosen. A file that cannot be read gives a message and
// leaves the canvas as it was.
void FillWithImage(frmDocument* doc, const QString& path);

} // namespace orv
