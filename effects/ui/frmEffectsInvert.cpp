#include "effects/ui/frmEffectsInvert.h"
#include "effects/ui/dialog_buttons.h"
#include "documents/ui/frmDocument.h"
#include "effects/ui/effect_run.h"
#include "effects/working_copy.h"
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orv {

frmEffectsInvert::frmEffectsInvert(frmDocument* doc) : doc_(doc)
{
    setObjectName(QStringLiteral("frmEffectsInvert"));
    setWindowTitle(QStringLiteral("Effects: Invert"));
    const InvertParams initial;
    auto* layout = new QVBoxLayout(this);
    auto* settings = new QGroupBox(QStringLiteral("Settings"), this);
    auto* grid = new QHBoxLayout(settings);
    auto* modes = new QVBoxLayout;
    Option1 = new QRadioButton(QStringLiteral("Invert"), settings);
    Option2 = new QRadioButton(QStringLiteral("Color separation"), settings);
    Option1->setChecked(initial.mode == InvertMode::Invert);
    Option2->setChecked(initial.mode == InvertMode::ColorSeparation);
    modes->addWidget(Option1);
    modes->addWidget(Option2);
    modes->addStretch();
    auto* channels = new QVBoxLayout;
    Check1 = new QCheckBox(QStringLiteral("Red"), settings);
    Check2 = new QCheckBox(QStringLiteral("Green"), settings);
    Check3 = new QCheckBox(QStringLiteral("Blue"), settings);
    Check1->setChecked(initial.red);
    Check2->setChecked(initial.green);
    Check3->setChecked(initial.blue);
    for (QCheckBox* c : {Check1, Check2, Check3}) channels->addWidget(c);
    grid->addLayout(modes);
    grid->addLayout(channels);
    layout->addWidget(settings);

    hint_ = new QLabel(this);
    hint_->setWordWrap(true);
    layout->addWidget(hint_);

    const OkCancel buttons = AddOkCancel(this, layout);
    Command1 = buttons.ok;
    Command2 = buttons.cancel;

    connect(Command1, &QPushButton::clicked, this, &frmEffectsInvert::Command1_Click);
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{Option1, Option2, Check1, Check2, Check3})
        connect(b, &QAbstractButton::toggled, this, &frmEffectsInvert::updateHint);
    updateHint();
}

InvertParams frmEffectsInvert::params() const
{
    InvertParams p;
    p.mode = Option2->isChecked() ? InvertMode::ColorSeparation : InvertMode::Invert;
    p.red = Check1->isChecked();
    p.green = Check2->isChecked();
    p.blue = Check3->isChecked();
    return p;
}

void frmEffectsInvert::updateHint()
{
    // Says what happens to the channels that are not ticked.
    const InvertParams p = params();
    const bool all = p.red && p.green && p.blue;
    if (all)
        hint_->setText(QStringLiteral("Every channel is inverted."));
    else if (p.mode == InvertMode::Invert)
        hint_->setText(QStringLiteral("Ticked channels are inverted; the others become 0."));
    else
        hint_->setText(QStringLiteral("Ticked channels are kept; the others become 0."));
}

void frmEffectsInvert::Command1_Click()
{
    const InvertParams p = params();
    EffectRun(doc_, {QStringLiteral("Inverting..."), this, true,
                     [p](WorkingCopy& work) { return InvertPasses(work, p); }});
}

void mnuInvert_Click(frmDocument* doc)
{
    doc->TakeUndoSnapshot();
    frmEffectsInvert dialog(doc);
    ShowEffectDialog(&dialog);
}

} // namespace orv
