#pragma once
// Edit > Brithnest and Edit > Contrast: one scroll bar each; OK takes the snapshot and runs.
#include "effects/ui/scroll_value_dialog.h"

namespace orv {

class frmDocument;

class frmBrithnest : public ScrollValueDialog {
    Q_OBJECT
public:
    explicit frmBrithnest(frmDocument* doc);
};

class frmContrast : public ScrollValueDialog {
    Q_OBJECT
public:
    explicit frmContrast(frmDocument* doc);
};

void mnuEditBrithnest_Click(frmDocument* doc);
void mnuEditContrast_Click(frmDocument* doc);

} // namespace orv
