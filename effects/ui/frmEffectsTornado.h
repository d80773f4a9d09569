#pragma once
// "Effects: Tornado": the swirl's angle in degrees and its radius in pixels in two text boxes,
// and a thumbnail preview. OK takes the undo snapshot and runs "Tornado..."; both texts are
// remembered in the section "Tornado".
#include "effects/ui/thumbnail_effect_dialog.h"

class QLineEdit;

namespace orv {

class frmEffectsTornado : public ThumbnailEffectDialog {
    Q_OBJECT
public:
    explicit frmEffectsTornado(frmDocument* doc);

    QLineEdit* Text1;   // the angle
    QLineEdit* Text2;   // the radius

    void done(int result) override;

protected:
    MakePasses currentPasses() override;
};

void mnuEffectsTornado_Click(frmDocument* doc);

} // namespace orv
