#pragma once
// "Fill: Plasma": the seed and the turbulence of the cloud in two text boxes, a "New seed"
// button and a thumbnail preview. OK takes the undo snapshot and runs "Plasma..."; both values
// are remembered in the section "Plasma".
#include "effects/ui/thumbnail_effect_dialog.h"

class QLineEdit;

namespace orv {

class frmEditPlasma : public ThumbnailEffectDialog {
    Q_OBJECT
public:
    explicit frmEditPlasma(frmDocument* doc);

    QLineEdit* Text1;          // the seed
    QLineEdit* Text2;          // the turbulence
    QPushButton* cmdNewSeed;

    void done(int result) override;

protected:
    MakePasses currentPasses() override;
};

void mnuEditPlasma_Click(frmDocument* doc);

} // namespace orv
