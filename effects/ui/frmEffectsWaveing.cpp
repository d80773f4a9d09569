#include "effects/ui/frmEffectsWaveing.h"
#include "documents/ui/frmDocument.h"
#include "effects/ui/effect_run.h"
#include "effects/waving.h"
#include "shell/number_text.h"
#include <QGridLayout>
#include <QLabel>
#include <QScrollBar>
#include <utility>

namespace orv {

frmEffectsWaveing::frmEffectsWaveing(frmDocument* doc)
    : ThumbnailEffectDialog(doc, QStringLiteral("frmEffectsWaveing"), QStringLiteral("Effects: Waving"),
                            QStringLiteral("Waving..."))
{
    const WavingParams initial;
    auto* grid = new QGridLayout(frmSetting);
    const QImage& picture = std::as_const(doc_->canvas()).buffer();
    HScroll1 = ValueScrollBar(frmSetting, "HScroll1", QStringLiteral("Angle"),
                         WavingPhaseMaximum(picture.width(), picture.height()), initial.phase);
    HScroll2 = ValueScrollBar(frmSetting, "HScroll2", QStringLiteral("Freq"), kWavingFreqMax, initial.freq);
    Label2 = new QLabel(QStringLiteral("0"), frmSetting);
    Label3 = new QLabel(NumberText(initial.freq / 10.0), frmSetting);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3->setObjectName(QStringLiteral("Label3"));
    grid->addWidget(new QLabel(QStringLiteral("Angle:"), frmSetting), 0, 0);
    grid->addWidget(HScroll1, 0, 1);
    grid->addWidget(Label2, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Freq:"), frmSetting), 1, 0);
    grid->addWidget(HScroll2, 1, 1);
    grid->addWidget(Label3, 1, 2);
    connect(HScroll1, &QScrollBar::valueChanged, this,
            [this](int v) { Label2->setText(NumberText(v / 100.0)); });
    connect(HScroll2, &QScrollBar::valueChanged, this,
            [this](int v) { Label3->setText(NumberText(v / 10.0)); });
}

MakePasses frmEffectsWaveing::currentPasses()
{
    const WavingParams p{HScroll1->value(), HScroll2->value()};
    return [p](WorkingCopy& work) { return WavingPasses(work, p); };
}

void mnuEffectsWaveing_Click(frmDocument* doc)
{
    frmEffectsWaveing dialog(doc);
    ShowEffectDialog(&dialog);
}

} // namespace orv
