#pragma once
// "Effects: Picture roll": the horizontal and vertical amounts on two scroll bars (0 to the
// picture's width or height less one), each with its value shown beside it, and a thumbnail
// preview. OK takes the undo snapshot and runs "Rolling..."; both amounts are remembered in
// the section "Picture roll".
#include "effects/ui/thumbnail_effect_dialog.h"

class QLabel;
class QScrollBar;

namespace orv {

class frmEffectsRoll : public ThumbnailEffectDialog {
    Q_OBJECT
public:
    explicit frmEffectsRoll(frmDocument* doc);

    QScrollBar* HScroll1;   // pixels to the right
    QLabel* Label1;
    QScrollBar* HScroll2;   // pixels down
    QLabel* Label2;

    void done(int result) override;

protected:
    MakePasses currentPasses() override;
};

void mnuRollPicture_Click(frmDocument* doc);

} // namespace orv
