#include "effects/ui/frmEffectsTypical.h"
#include "effects/ui/bar_progress.h"
#include "effects/ui/dialog_buttons.h"
#include "documents/ui/frmDocument.h"
#include "effects/typical.h"
#include "effects/ui/effect_run.h"
#include "shell/settings_store.h"
#include <QComboBox>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

namespace {

const QString kSection = QStringLiteral("TypicalEffcts");
const QString kKey = QStringLiteral("Effect");

} // namespace

frmEffectsTypical::frmEffectsTypical(frmDocument* doc) : doc_(doc)
{
    setObjectName(QStringLiteral("frmEffectsTypical"));
    setWindowTitle(QStringLiteral("Effects: Typical"));
    auto* layout = new QVBoxLayout(this);
    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->addItems(TypicalFilterNames());
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->hide();
    layout->addWidget(Combo1);
    layout->addWidget(ProgressBar1);

    const OkCancel buttons = AddOkCancel(this, layout);
    Command1 = buttons.ok;
    Command2 = buttons.cancel;
    connect(Command1, &QPushButton::clicked, this, &frmEffectsTypical::Command1_Click);

    // A stored text that is no item leaves the list without a choice.
    Combo1->setCurrentIndex(
        Combo1->findText(GetSetting(kAppTitle, kSection, kKey, TypicalFilterNames().first())));
    Picture1 = doc_->canvas().Image();
}

void frmEffectsTypical::Command1_Click()
{
    Command1->setEnabled(false);
    Command2->setEnabled(false);
    ProgressBar1->show();
    Combo1->hide();

    const int choice = Combo1->currentIndex();
    BarProgress bar(ProgressBar1);
    RunOnWorkingCopy(
        Picture1,
        [choice](WorkingCopy& work) {
            // With no item chosen nothing is applied.
            if (choice < 0) return std::vector<ColumnPass>{};
            return TypicalPasses(work, TypicalParams{static_cast<TypicalFilter>(choice)});
        },
        &bar);

    Canvas& canvas = doc_->canvas();
    canvas.setScaleMode(kScalePixels);
    canvas.buffer() = Picture1;
    canvas.setScaleMode(kScaleTwips);
    canvas.Refresh();
    accept();
}

void frmEffectsTypical::done(int result)
{
    SaveSetting(kAppTitle, kSection, kKey, Combo1->currentText());
    QDialog::done(result);
}

void mnuEffectsTypical_Click(frmDocument* doc)
{
    doc->TakeUndoSnapshot();
    frmEffectsTypical dialog(doc);
    ShowEffectDialog(&dialog);
}

} // namespace orv
