#pragma once
// "Effects: Round wobbly": direction, angle (digits only, at most 360), strip width and height,
// and a thumbnail preview. OK refuses values the effect cannot use, then takes the undo
// snapshot and runs "Round wobbly..." on a working copy, so Cancel leaves the picture as it
// was. Nothing is remembered between openings.
#include "effects/ui/thumbnail_effect_dialog.h"
#include <array>

class QLineEdit;
class QRadioButton;
class QScrollBar;

namespace orv {

class frmEffectsWobbly2 : public ThumbnailEffectDialog {
    Q_OBJECT
public:
    explicit frmEffectsWobbly2(frmDocument* doc);

    std::array<QRadioButton*, 3> Option1;   // "Top", "Left", "Both"
    QLineEdit* Text1;                       // the angle
    QScrollBar* VScroll1;                   // 360 at the top, 0 at the bottom; changes nothing
    QLineEdit* Text2;                       // strip width
    QLineEdit* Text3;                       // strip height

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // None, after saying which value is refused, when the effect cannot use the values.
    MakePasses currentPasses() override;
};

void mnuEffectsRndWobbly_Click(frmDocument* doc);

} // namespace orv
