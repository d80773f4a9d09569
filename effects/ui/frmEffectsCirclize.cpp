#include "effects/ui/frmEffectsCirclize.h"
#include "documents/ui/frmDocument.h"
#include "effects/circlize.h"
#include "effects/step_text.h"
#include "effects/ui/dialog_buttons.h"
#include "effects/ui/effect_run.h"
#include "shell/number_text.h"
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace orv {

frmEffectsCirclize::frmEffectsCirclize(frmDocument* doc) : doc_(doc)
{
    setObjectName(QStringLiteral("frmEffectsCirclize"));
    setWindowTitle(QStringLiteral("Effects: Circlize"));
    const CirclizeParams initial;
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    Text1 = new QLineEdit(NumberText(initial.ystep), this);
    Text2 = new QLineEdit(NumberText(initial.xstep), this);
    Text3 = new QLineEdit(NumberText(initial.radius), this);
    const std::tuple<QLineEdit*, const char*, const char*, const char*> boxes[] = {
        {Text1, "Text1", "Y Step:", "Y step"}, {Text2, "Text2", "X Step:", "X step"}, {Text3, "Text3", "Circle:", "Circle radius"}};
    int row = 0;
    for (auto [box, object, caption, accessible] : boxes) {
        box->setObjectName(QString::fromLatin1(object));
        box->setAccessibleName(QString::fromLatin1(accessible));
        grid->addWidget(new QLabel(QString::fromLatin1(caption), this), row, 0);
        grid->addWidget(box, row++, 1);
    }
    layout->addLayout(grid);
    const OkCancel buttons = AddOkCancel(this, layout);
    Command1 = buttons.ok;
    Command2 = buttons.cancel;
    connect(Command1, &QPushButton::clicked, this, &frmEffectsCirclize::Command1_Click);
}

void frmEffectsCirclize::Command1_Click()
{
    // A step of 0 or below would never leave the first row: such texts are refused before
    // anything runs, and the dialog stays open to correct them.
    CirclizeParams p;
    const QString stepRule = QStringLiteral("must be a number of at least %1.").arg(kSmallestStep);
    const std::tuple<QLineEdit*, double*, bool (*)(const QString&, double*), QString> fields[] = {
        {Text1, &p.ystep, StepFromText, QStringLiteral("The Y step ") + stepRule},
        {Text2, &p.xstep, StepFromText, QStringLiteral("The X step ") + stepRule},
        {Text3, &p.radius, RadiusFromText, QStringLiteral("The circle radius must be a number of 0 or more.")}};
    for (const auto& [box, value, read, message] : fields) {
        if (read(box->text(), value)) continue;
        RefuseText(this, box, message);
        return;
    }
    EffectRun(doc_, {QStringLiteral("Circilizing..."), this, true,
                     [p](WorkingCopy& work) { return CirclizePasses(work, p); }});
}

void mnuEffectsCirclize_Click(frmDocument* doc)
{
    doc->TakeUndoSnapshot();
    frmEffectsCirclize dialog(doc);
    ShowEffectDialog(&dialog);
}

} // namespace orv
