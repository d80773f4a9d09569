#include "fills/ui/frmEditPlasma.h"
#include "documents/ui/frmDocument.h"
#include "effects/ui/dialog_buttons.h"
#include "effects/ui/effect_run.h"
#include "fills/plasma.h"
#include "shell/settings_store.h"
#include <QGridLayout>
#include <QLabel>

namespace orv {

namespace {
const QString kSection = QStringLiteral("Plasma");
const QString kSeedKey = QStringLiteral("Seed");
const QString kTurbulenceKey = QStringLiteral("Turbulence");
}

frmEditPlasma::frmEditPlasma(frmDocument* doc)
    : ThumbnailEffectDialog(doc, QStringLiteral("frmEditPlasma"), QStringLiteral("Fill: Plasma"),
                            QStringLiteral("Plasma..."))
{
    const PlasmaParams initial;
    auto* grid = new QGridLayout(frmSetting);
    Text1 = AddLabelledBox(frmSetting, grid, 0, "Text1", QStringLiteral("Seed:"), QStringLiteral("Seed"),
                           GetSetting(kAppTitle, kSection, kSeedKey, QString::number(initial.seed)));
    Text2 = AddLabelledBox(frmSetting, grid, 1, "Text2", QStringLiteral("Turbulence:"), QStringLiteral("Turbulence"),
                           GetSetting(kAppTitle, kSection, kTurbulenceKey, QString::number(initial.turbulence)));
    cmdNewSeed = new QPushButton(QStringLiteral("New seed"), frmSetting);
    cmdNewSeed->setObjectName(QStringLiteral("cmdNewSeed"));
    cmdNewSeed->setAccessibleName(cmdNewSeed->text());
    grid->addWidget(cmdNewSeed, 0, 2);
    connect(cmdNewSeed, &QPushButton::clicked, this, [this] {
        int seed = 0;
        if (!PlasmaValueFromText(Text1->text(), kPlasmaSeedMax, &seed)) seed = PlasmaParams{}.seed;
        Text1->setText(QString::number(NextPlasmaSeed(seed)));
        cmdPreview_Click();
    });
}

MakePasses frmEditPlasma::currentPasses()
{
    PlasmaParams p;
    if (!PlasmaValueFromText(Text1->text(), kPlasmaSeedMax, &p.seed)) {
        RefuseText(this, Text1, QStringLiteral("The seed must be a whole number from 0 to %1.").arg(kPlasmaSeedMax));
        return {};
    }
    if (!PlasmaValueFromText(Text2->text(), kPlasmaTurbulenceMax, &p.turbulence)) {
        RefuseText(this, Text2,
                   QStringLiteral("The turbulence must be a whole number from 0 to %1.").arg(kPlasmaTurbulenceMax));
        return {};
    }
    return [p](WorkingCopy& work) { return PlasmaPasses(work, p); };
}

void frmEditPlasma::done(int result)
{
    SaveSetting(kAppTitle, kSection, kSeedKey, Text1->text());
    SaveSetting(kAppTitle, kSection, kTurbulenceKey, Text2->text());
    ThumbnailEffectDialog::done(result);
}

void mnuEditPlasma_Click(frmDocument* doc)
{
    frmEditPlasma dialog(doc);
    ShowEffectDialog(&dialog);
}

} // namespace orv
