#include "effects/ui/frmBrithnest.h"
#include "effects/brightness.h"
#include "effects/contrast.h"
#include "effects/ui/effect_run.h"
#include "effects/working_copy.h"

namespace orv {

frmBrithnest::frmBrithnest(frmDocument* doc)
    : ScrollValueDialog(QStringLiteral("frmBrithnest"), QStringLiteral("Brithnest"), -100, 100,
                        BrightnessParams{}.value)
{
    connect(this, &ScrollValueDialog::okClicked, this, [this, doc](int value) {
        const BrightnessParams p{value};
        EffectRun(doc, {QStringLiteral("Brithnest..."), this, false,
                        [p](WorkingCopy& work) { return BrightnessPasses(work, p); }});
    });
}

frmContrast::frmContrast(frmDocument* doc)
    : ScrollValueDialog(QStringLiteral("frmContrast"), QStringLiteral("Contrast"), -200, 200,
                        ContrastParams{}.value)
{
    connect(this, &ScrollValueDialog::okClicked, this, [this, doc](int value) {
        const ContrastParams p{value};
        EffectRun(doc, {QStringLiteral("Contrast..."), this, false,
                        [p](WorkingCopy& work) { return ContrastPasses(work, p); }});
    });
}

void mnuEditBrithnest_Click(frmDocument* doc)
{
    frmBrithnest dialog(doc);
    ShowEffectDialog(&dialog);
}

void mnuEditContrast_Click(frmDocument* doc)
{
    frmContrast dialog(doc);
    ShowEffectDialog(&dialog);
}

} // namespace orv
