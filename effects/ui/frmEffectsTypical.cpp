#include "effects/ui/frmEffectsTypical.h"
#include "effects/ui/bar_progress.h"
#include "effects/ui/dialog_buttons.h"
#include "documents/ui/frmDocument.h"
#include "effects/typical.h"
#include "effects/row_map.h"
#include "effects/working_copy.h"
#include "effects/ui/effect_run.h"
#include "shell/settings_store.h"
#include <QComboBox>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstring>

namespace orv {

namespace {

const QString kSection = QStringLiteral("TypicalEffcts");
const QString kKey = QStringLiteral("Effect");

// The first half of the bar (0 to 100): the picture is copied row by row into the working copy
// that the filter then reads, as the channel table is filled before any pixel is filtered.
ColumnPass TablePass(WorkingCopy& work)
{
    ColumnPass pass;
    pass.columns = [&work](int x0, int x1) {
        MapRows(work, x0, x1, [](const uint32_t* in, uint32_t* out, size_t width) {
            if (in != out) std::memcpy(out, in, sizeof(uint32_t) * width);
        });
    };
    return pass;
}

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
    // While it runs: the bar in place of the list, and no button to start a second run.
    const auto running = [this](bool on) {
        Command1->setEnabled(!on);
        Command2->setEnabled(!on);
        ProgressBar1->setVisible(on);
        Combo1->setVisible(!on);
    };
    running(true);
    ProgressBar1->setRange(0, 200);   // the table, then the filter
    ProgressBar1->setValue(0);

    const int choice = Combo1->currentIndex();
    BarProgress bar(ProgressBar1);
    try {
        RunOnWorkingCopy(
            Picture1,
            [choice](WorkingCopy& work) {
                std::vector<ColumnPass> passes{TablePass(work)};
                // With no item chosen nothing is applied.
                if (choice < 0) return passes;
                for (ColumnPass& filter : TypicalPasses(work, TypicalParams{static_cast<TypicalFilter>(choice)})) {
                    filter.progressFrom += 100;   // the second half of the bar
                    passes.push_back(std::move(filter));
                }
                return passes;
            },
            &bar);
    } catch (const std::bad_alloc&) {
        // The picture is untouched; the dialog is usable again, to retry or cancel.
        running(false);
        ShowOutOfMemory(this);
        return;
    }

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
