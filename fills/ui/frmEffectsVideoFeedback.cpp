#include "fills/ui/frmEffectsVideoFeedback.h"
#include "documents/ui/frmDocument.h"
#include "effects/step_text.h"
#include "effects/ui/dialog_buttons.h"
#include "effects/ui/effect_run.h"
#include "fills/video_feedback.h"
#include "shell/number_text.h"
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace orv {

frmEffectsVideoFeedback::frmEffectsVideoFeedback(frmDocument* doc) : doc_(doc)
{
    setObjectName(QStringLiteral("frmEffectsVideoFeedback"));
    setWindowTitle(QStringLiteral("Effects: Video Feedback"));
    const VideoFeedbackParams initial;
    qx = initial.qx;
    qy = initial.qy;
    auto* layout = new QVBoxLayout(this);
    auto* stepRow = new QHBoxLayout;
    Text1 = new QLineEdit(NumberText(initial.step), this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(QStringLiteral("Step"));
    stepRow->addWidget(new QLabel(QStringLiteral("Step:"), this));
    stepRow->addWidget(Text1);
    layout->addLayout(stepRow);

    // The buttons sit where the vanishing point goes: the row's index 0 at the right (the
    // middle), index 5 at the left; the column's index 0 at the bottom, index 5 at the top.
    auto* picW = new QGroupBox(this);
    picW->setObjectName(QStringLiteral("picW"));
    picW->setAccessibleName(QStringLiteral("Vanishing point across"));
    auto* across = new QHBoxLayout(picW);
    auto* picH = new QGroupBox(this);
    picH->setObjectName(QStringLiteral("picH"));
    picH->setAccessibleName(QStringLiteral("Vanishing point down"));
    auto* down = new QVBoxLayout(picH);
    auto* acrossGroup = new QButtonGroup(this);
    auto* downGroup = new QButtonGroup(this);
    for (int k = 5; k >= 0; --k) {
        Option2[k] = new QRadioButton(picW);
        Option2[k]->setObjectName(QStringLiteral("Option2_%1").arg(k));
        Option2[k]->setAccessibleName(QStringLiteral("Across: 1/%1 of the width").arg(k + 2));
        across->addWidget(Option2[k]);
        acrossGroup->addButton(Option2[k], k);
        Option1[k] = new QRadioButton(picH);
        Option1[k]->setObjectName(QStringLiteral("Option1_%1").arg(k));
        Option1[k]->setAccessibleName(QStringLiteral("Down: 1/%1 of the height").arg(k + 2));
        down->addWidget(Option1[k]);
        downGroup->addButton(Option1[k], k);
    }
    Option2[qx - kFirstPosition]->setChecked(true);
    Option1[qy - kFirstPosition]->setChecked(true);
    connect(acrossGroup, &QButtonGroup::idClicked, this, [this](int k) { qx = k + kFirstPosition; });
    connect(downGroup, &QButtonGroup::idClicked, this, [this](int k) { qy = k + kFirstPosition; });
    auto* positions = new QHBoxLayout;
    positions->addWidget(picW);
    positions->addWidget(picH);
    layout->addLayout(positions);

    const OkCancel buttons = AddOkCancel(this, layout);
    Command1 = buttons.ok;
    Command2 = buttons.cancel;
    connect(Command1, &QPushButton::clicked, this, &frmEffectsVideoFeedback::Command1_Click);
}

void frmEffectsVideoFeedback::Command1_Click()
{
    // A step of 0 or below would never end the copies (or make none and blank the picture).
    VideoFeedbackParams p;
    if (!StepFromText(Text1->text(), &p.step)) {
        RefuseText(this, Text1, QStringLiteral("The step must be a number of at least %1.").arg(kSmallestStep));
        return;
    }
    p.qx = qx;
    p.qy = qy;
    EffectRun(doc_, {QStringLiteral("Feedbacking video..."), this, true,
                     [p](WorkingCopy& work) { return VideoFeedbackPasses(work, p); }});
}

void mnuVideoFeedBack_Click(frmDocument* doc)
{
    doc->TakeUndoSnapshot();
    frmEffectsVideoFeedback dialog(doc);
    ShowEffectDialog(&dialog);
}

} // namespace orv
