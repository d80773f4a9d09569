#include "effects/ui/frmEffectsWobbly.h"
#include "documents/ui/canvas_view.h"
#include "documents/ui/frmDocument.h"
#include "effects/ui/bar_progress.h"
#include "effects/ui/dialog_buttons.h"
#include "effects/ui/effect_run.h"
#include "effects/wobbly.h"
#include "shell/settings_store.h"
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace orv {

namespace {

const QString kSection = QStringLiteral("Wobbly");
const QString kWidthKey = QStringLiteral("Width");
const QString kModeKey = QStringLiteral("Mode");

} // namespace

frmEffectsWobbly::frmEffectsWobbly(frmDocument* doc) : doc_(doc)
{
    setObjectName(QStringLiteral("frmEffectsWobbly"));
    setWindowTitle(QStringLiteral("Effects: Wobbly"));
    const WobblyParams stored;
    auto* layout = new QVBoxLayout(this);

    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("Picture1Scroll"));
    scroll->setAccessibleName(QStringLiteral("Picture"));
    scroll->setMinimumSize(360, 240);
    Picture1 = new CanvasView(scroll);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setAccessibleName(QStringLiteral("Preview"));
    Picture1->setCursor(Qt::ArrowCursor);
    Picture1->setFocusPolicy(Qt::NoFocus);
    picture_ = doc_->canvas().Image();
    Picture1->canvas().setAutoSize(true);
    Picture1->canvas().setPicture(picture_);
    scroll->setWidget(Picture1);
    layout->addWidget(scroll, 1);

    auto* frmSetting = new QGroupBox(QStringLiteral("Settings"), this);
    frmSetting->setObjectName(QStringLiteral("frmSetting"));
    auto* grid = new QGridLayout(frmSetting);
    Option1 = new QRadioButton(QStringLiteral("Top"), frmSetting);
    Option2 = new QRadioButton(QStringLiteral("Left"), frmSetting);
    Option3 = new QRadioButton(QStringLiteral("Both"), frmSetting);
    int column = 0;
    for (auto [option, name] : {std::pair{Option1, "Option1"}, std::pair{Option2, "Option2"}, std::pair{Option3, "Option3"}}) {
        option->setObjectName(QString::fromLatin1(name));
        option->setAccessibleName(option->text());
        grid->addWidget(option, 0, column++);
    }
    auto* label1 = new QLabel(QStringLiteral("Width:"), frmSetting);
    label1->setObjectName(QStringLiteral("Label1"));
    Text1 = new QLineEdit(GetSetting(kAppTitle, kSection, kWidthKey, stored.width), frmSetting);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(QStringLiteral("Width"));
    label1->setBuddy(Text1);
    grid->addWidget(label1, 1, 0);
    grid->addWidget(Text1, 1, 1, 1, 2);
    layout->addWidget(frmSetting);

    // A stored mode other than 0, 1 or 2 leaves "Both".
    const QString mode = GetSetting(kAppTitle, kSection, kModeKey, QString::number(int(stored.mode)));
    (mode == QLatin1String("0") ? Option1 : mode == QLatin1String("1") ? Option2 : Option3)->setChecked(true);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setAccessibleName(QStringLiteral("Progress"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    layout->addWidget(ProgressBar1);

    const OkCancel buttons = AddOkCancel(this, layout);
    Command1 = buttons.ok;
    Command2 = buttons.cancel;
    Command3 = AddPreviewButton(this, buttons, "Command3");
    connect(Command1, &QPushButton::clicked, this, &frmEffectsWobbly::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, &frmEffectsWobbly::Command3_Click);
}

WobblyParams frmEffectsWobbly::params() const
{
    WobblyParams p;
    p.mode = Option1->isChecked() ? WobblyMode::Top : Option2->isChecked() ? WobblyMode::Left : WobblyMode::Both;
    p.width = Text1->text();
    return p;
}

void frmEffectsWobbly::Command3_Click()
{
    // Every preview starts from the picture as it was; the canvas is not touched.
    const WobblyParams p = params();
    QImage result = picture_;
    RunOnWorkingCopy(result, [&p](WorkingCopy& work) { return WobblyPasses(work, p); }, nullptr);
    Picture1->canvas().setPicture(result);
    Picture1->repaint();
}

void frmEffectsWobbly::Command1_Click()
{
    Command1->setEnabled(false);
    Command2->setEnabled(false);
    Command3->setEnabled(false);
    const WobblyParams p = params();
    Canvas& canvas = doc_->canvas();
    canvas.setScaleMode(kScalePixels);
    BarProgress bar(ProgressBar1);
    RunOnWorkingCopy(canvas.buffer(), [&p](WorkingCopy& work) { return WobblyPasses(work, p); }, &bar);
    canvas.Refresh();
    hide();
    accept();
}

void frmEffectsWobbly::done(int result)
{
    SaveSetting(kAppTitle, kSection, kWidthKey, Text1->text());
    SaveSetting(kAppTitle, kSection, kModeKey, QString::number(int(params().mode)));
    QDialog::done(result);
}

void mnuEffectsWobbly_Click(frmDocument* doc)
{
    doc->TakeUndoSnapshot();
    frmEffectsWobbly dialog(doc);
    ShowEffectDialog(&dialog);
}

} // namespace orv
