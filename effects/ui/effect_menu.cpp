#include "effects/ui/effect_menu.h"
#include "documents/ui/frmDocument.h"
#include "effects/ui/frmBrithnest.h"
#include "effects/ui/frmEffectsInvert.h"
#include "effects/ui/frmEffectsRoll.h"
#include "effects/ui/frmEffectsTornado.h"
#include "effects/ui/frmEffectsStainedGlass.h"
#include "effects/ui/frmEffectsTypical.h"
#include "effects/ui/geometry_commands.h"
#include "effects/ui/geometry_dialogs.h"
#include "effects/ui/crystal_shaper_command.h"
#include "effects/ui/frmEffectsCirclize.h"
#include "effects/ui/frmEffectsWaveing.h"
#include "effects/ui/frmEffectsWobbly.h"
#include "effects/ui/frmEffectsWobbly2.h"
#include "fills/ui/frmEditGrid.h"
#include "fills/ui/frmEditPlasma.h"
#include "fills/ui/frmEffectsDrip.h"
#include "fills/ui/frmEffectsInsertImage.h"
#include "fills/ui/frmEffectsMix.h"
#include "fills/ui/frmEffectsVideoFeedback.h"
#include "fills/ui/frmGradient.h"
#include "fills/ui/image_fill_command.h"
#include <QAction>

namespace orv {

void ConnectEffectMenus(frmDocument* doc)
{
    const std::pair<const char*, void (*)(frmDocument*)> launchers[] = {
        {"mnuInvert", &mnuInvert_Click},
        {"mnuEditBrithnest", &mnuEditBrithnest_Click},
        {"mnuEditContrast", &mnuEditContrast_Click},
        {"mnuEditConvertGrayscale", &mnuEditConvertGrayscale_Click},
        {"mnuEditFlipHorizontal", &mnuEditFlipHorizontal_Click},
        {"mnuEditFlipVertical", &mnuEditFlipVertical_Click},
        {"mnuEditRotate90", &mnuEditRotate90_Click},
        {"mnuEditRotate", &mnuEditRotate_Click},
        {"mnuEditResize", &mnuEditResize_Click},
        {"mnuEditBorder", &mnuEditBorder_Click},
        {"mnuEffectsStndGlass", &mnuEffectsStndGlass_Click},
        {"mnuEffectsTypical", &mnuEffectsTypical_Click},
        {"mnuEffectsWobbly", &mnuEffectsWobbly_Click},
        {"mnuEffectsCrystalShaper", &mnuEffectsCrystalShaper_Click},
        {"mnuEffectsWaveing", &mnuEffectsWaveing_Click},
        {"mnuEffectsRndWobbly", &mnuEffectsRndWobbly_Click},
        {"mnuEffectsTornado", &mnuEffectsTornado_Click},
        {"mnuRollPicture", &mnuRollPicture_Click},
        {"mnuEditFillGradient", &mnuEditFillGradient_Click},
        {"mnuEditFillImage", &mnuEditFillImage_Click},
        {"mnuEditPlasma", &mnuEditPlasma_Click},
        {"mnuEditGrid", &mnuEditGrid_Click},
        {"mnuEffectsInsertImage", &mnuEffectsInsertImage_Click},
        {"mnuEffectsMix", &mnuEffectsMix_Click},
        {"mnuEffectsCirclize", &mnuEffectsCirclize_Click},
        {"mnuEffectsDrip", &mnuEffectsDrip_Click},
        {"mnuVideoFeedBack", &mnuVideoFeedBack_Click},
    };
    for (auto [name, launch] : launchers) {
        QAction* action = doc->menuAction(QString::fromLatin1(name));
        action->setEnabled(true);
        // The command's caption names the history step its change takes.
        QObject::connect(action, &QAction::triggered, doc, [doc, action, launch = launch] {
            doc->setUndoStepName(action->text().remove(QLatin1Char('&')).remove(QStringLiteral("...")));
            launch(doc);
            doc->setUndoStepName({});
        });
    }
}

} // namespace orv
