#pragma once
// "Effects: Waving": the phase and frequency of the ripple on two scroll bars, each with its
// value shown beside it, and a thumbnail preview. OK takes the undo snapshot and runs
// "Waving..."; nothing is remembered between openings.
#include "effects/ui/thumbnail_effect_dialog.h"

class QLabel;
class QScrollBar;

namespace orv {

class frmEffectsWaveing : public ThumbnailEffectDialog {
    Q_OBJECT
public:
    explicit frmEffectsWaveing(frmDocument* doc);

    QScrollBar* HScroll1;   // the phase
    QLabel* Label2;         // the phase / 100
    QScrollBar* HScroll2;   // the frequency x 10
    QLabel* Label3;         // the frequency

protected:
    MakePasses currentPasses() override;
};

void mnuEffectsWaveing_Click(frmDocument* doc);

} // namespace orv
