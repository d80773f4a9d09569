#include "effects/ui/frmEffectsStainedGlass.h"
#include "effects/ui/dialog_buttons.h"
#include "documents/ui/frmDocument.h"
#include "effects/stained_glass.h"
#include "effects/ui/effect_run.h"
#include "effects/working_copy.h"
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

frmEffectsStainedGlass::frmEffectsStainedGlass(frmDocument* doc) : doc_(doc)
{
    setObjectName(QStringLiteral("frmEffectsStainedGlass"));
    setWindowTitle(QStringLiteral("Effects: Stained glass"));
    const StainedGlassParams initial;
    auto* layout = new QVBoxLayout(this);
    auto* frmSetting = new QGroupBox(QStringLiteral("Settings"), this);
    frmSetting->setObjectName(QStringLiteral("frmSetting"));
    auto* grid = new QGridLayout(frmSetting);
    Text1 = new QLineEdit(QString::number(initial.width), frmSetting);
    Text2 = new QLineEdit(QString::number(initial.height), frmSetting);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text2->setObjectName(QStringLiteral("Text2"));
    grid->addWidget(new QLabel(QStringLiteral("Width:"), frmSetting), 0, 0);
    grid->addWidget(Text1, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Height:"), frmSetting), 1, 0);
    grid->addWidget(Text2, 1, 1);
    layout->addWidget(frmSetting);

    const OkCancel buttons = AddOkCancel(this, layout);
    cmdOK = buttons.ok;
    cmdCancel = buttons.cancel;
    connect(cmdOK, &QPushButton::clicked, this, &frmEffectsStainedGlass::cmdOK_Click);

    doc_->canvas().setScaleMode(kScalePixels);
}

void frmEffectsStainedGlass::cmdOK_Click()
{
    // A size of 0 would never leave the first cell, so sizes that are no positive number are
    // refused before anything runs; the dialog stays open to correct them.
    StainedGlassParams p;
    for (auto [box, size, name] : {std::tuple{Text1, &p.width, "width"},
                                   std::tuple{Text2, &p.height, "height"}}) {
        if (!CellSizeFromText(box->text(), size)) {
            RefuseText(this, box, QStringLiteral("The cell %1 must be a number greater than 0.").arg(QString::fromLatin1(name)));
            return;
        }
    }
    EffectRun(doc_, {QStringLiteral("Staning glass..."), this, false,
                     [p](WorkingCopy& work) { return StainedGlassPasses(work, p); }});
}

void mnuEffectsStndGlass_Click(frmDocument* doc)
{
    frmEffectsStainedGlass dialog(doc);
    ShowEffectDialog(&dialog);
}

} // namespace orv
