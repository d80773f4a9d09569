#include "effects/ui/frmBrithnest.h"
#include "effects/brightness.h"
#include "effects/contrast.h"
#include "effects/ui/effect_run.h"
#include "effects/working_copy.h"

namespace orv {

frmBrithnest::frmBrithnest(frmDocument* doc)
    : ScrollValueDialog(QStringLiteral("frmBrithnest"), QStringLiteral("Brithnest"), -100, 100,
                        BrightnessParams{}.value, doc, QStringLiteral("Brithnest..."),
                        [](WorkingCopy& work, int value) { return BrightnessPasses(work, BrightnessParams{value}); })
{
}

frmContrast::frmContrast(frmDocument* doc)
    : ScrollValueDialog(QStringLiteral("frmContrast"), QStringLiteral("Contrast"), -200, 200,
                        ContrastParams{}.value, doc, QStringLiteral("Contrast..."),
                        [](WorkingCopy& work, int value) { return ContrastPasses(work, ContrastParams{value}); })
{
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
