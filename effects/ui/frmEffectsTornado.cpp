#include "effects/ui/frmEffectsTornado.h"
#include "documents/ui/frmDocument.h"
#include "effects/tornado.h"
#include "effects/ui/dialog_buttons.h"
#include "effects/ui/effect_run.h"
#include "shell/number_text.h"
#include "shell/settings_store.h"
#include <QGridLayout>
#include <QLabel>

namespace orv {

namespace {
const QString kSection = QStringLiteral("Tornado");
const QString kAngleKey = QStringLiteral("Angle");
const QString kRadiusKey = QStringLiteral("Radius");
}

frmEffectsTornado::frmEffectsTornado(frmDocument* doc)
    : ThumbnailEffectDialog(doc, QStringLiteral("frmEffectsTornado"), QStringLiteral("Effects: Tornado"),
                            QStringLiteral("Tornado..."))
{
    const TornadoParams initial;
    auto* grid = new QGridLayout(frmSetting);
    Text1 = AddLabelledBox(frmSetting, grid, 0, "Text1", QStringLiteral("Angle:"), QStringLiteral("Angle"),
                           GetSetting(kAppTitle, kSection, kAngleKey, NumberText(initial.angle)));
    Text2 = AddLabelledBox(frmSetting, grid, 1, "Text2", QStringLiteral("Radius:"), QStringLiteral("Radius"),
                           GetSetting(kAppTitle, kSection, kRadiusKey, NumberText(initial.radius)));
}

MakePasses frmEffectsTornado::currentPasses()
{
    TornadoParams p;
    if (!TornadoAngleFromText(Text1->text(), &p.angle)) {
        RefuseText(this, Text1, QStringLiteral("The angle must be a number of degrees from -3600 to 3600."));
        return {};
    }
    if (!TornadoRadiusFromText(Text2->text(), &p.radius)) {
        RefuseText(this, Text2, QStringLiteral("The radius must be a number of pixels above 0 and at most 32768."));
        return {};
    }
    // On the thumbnail the radius shrinks with the picture.
    const int pw = doc_->canvas().pixelWidth();
    return [p, pw](WorkingCopy& work) {
        TornadoParams scaled = p;
        scaled.radius = p.radius * work.width() / pw;
        return TornadoPasses(work, scaled);
    };
}

void frmEffectsTornado::done(int result)
{
    SaveSetting(kAppTitle, kSection, kAngleKey, Text1->text());
    SaveSetting(kAppTitle, kSection, kRadiusKey, Text2->text());
    ThumbnailEffectDialog::done(result);
}

void mnuEffectsTornado_Click(frmDocument* doc)
{
    frmEffectsTornado dialog(doc);
    ShowEffectDialog(&dialog);
}

} // namespace orv
