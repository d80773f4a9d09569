#include "fills/ui/frmEffectsDrip.h"
#include "documents/ui/frmDocument.h"
#include "effects/ui/dialog_buttons.h"
#include "effects/ui/effect_run.h"
#include "fills/drip.h"
#include "fills/ui/thumbnail_box.h"
#include "platform/numbers.h"
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>

namespace orv {

frmEffectsDrip::frmEffectsDrip(frmDocument* doc) : doc_(doc)
{
    setObjectName(QStringLiteral("frmEffectsDrip"));
    setWindowTitle(QStringLiteral("Effects: Drip"));
    const DripParams initial;
    auto* layout = new QVBoxLayout(this);
    auto* settings = new QGridLayout;
    auto* directions = new QGroupBox(this);
    directions->setAccessibleName(QStringLiteral("Direction"));
    auto* directionRows = new QVBoxLayout(directions);
    const char* captions[] = {"Up", "Down", "Left", "Right"};
    for (int i = 0; i < 4; ++i) {
        Option1[i] = new QRadioButton(QString::fromLatin1(captions[i]), directions);
        Option1[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        Option1[i]->setAccessibleName(QString::fromLatin1(captions[i]));
        directionRows->addWidget(Option1[i]);
    }
    Option1[static_cast<int>(initial.direction)]->setChecked(true);
    settings->addWidget(directions, 0, 0, 3, 1);

    Text1 = new QLineEdit(QString::number(initial.width), this);
    Text2 = new QLineEdit(QString::number(initial.height), this);
    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    Label4 = new QLabel(QStringLiteral("(%1)").arg(initial.amount), this);
    const std::tuple<QWidget*, const char*, const char*> named[] = {
        {Text1, "Text1", "Width"}, {Text2, "Text2", "Height"}, {HScroll1, "HScroll1", "Drip"}};
    for (auto [w, object, accessible] : named) {
        w->setObjectName(QString::fromLatin1(object));
        w->setAccessibleName(QString::fromLatin1(accessible));
    }
    Label4->setObjectName(QStringLiteral("Label4"));   // a screen reader reads the amount it shows
    HScroll1->setFocusPolicy(Qt::StrongFocus);
    HScroll1->setRange(0, kMaxDripAmount);
    HScroll1->setSingleStep(1);
    HScroll1->setPageStep(10);
    HScroll1->setValue(initial.amount);
    HScroll1->setMinimumWidth(200);
    settings->addWidget(new QLabel(QStringLiteral("Width:"), this), 0, 1);
    settings->addWidget(Text1, 0, 2);
    settings->addWidget(new QLabel(QStringLiteral("Height:"), this), 1, 1);
    settings->addWidget(Text2, 1, 2);
    settings->addWidget(new QLabel(QStringLiteral("Drip:"), this), 2, 1);
    settings->addWidget(HScroll1, 2, 2);
    settings->addWidget(Label4, 2, 3);
    layout->addLayout(settings);

    auto* pictures = new QHBoxLayout;
    Picture2 = new ThumbnailBox(QStringLiteral("Picture2"), QStringLiteral("Picture"), this);
    Picture1 = new ThumbnailBox(QStringLiteral("Picture1"), QStringLiteral("Preview"), this);
    pictures->addWidget(Picture2);
    pictures->addWidget(Picture1);
    layout->addLayout(pictures);
    const OkCancel buttons = AddOkCancel(this, layout);
    Command1 = buttons.ok;
    Command2 = buttons.cancel;

    Picture2->showStretched(doc_->canvas().Image());
    Picture1->showImage(Picture2->image());
    connect(HScroll1, &QScrollBar::sliderMoved, this, [this](int v) { Label4->setText(QStringLiteral("(%1)").arg(v)); });
    connect(HScroll1, &QScrollBar::valueChanged, this, &frmEffectsDrip::HScroll1_Change);
    // The preview follows the direction and the divisors too, not only the amount.
    for (QRadioButton* option : Option1) connect(option, &QRadioButton::toggled, this, [this](bool on) { if (on) HScroll1_Change(); });
    connect(Text1, &QLineEdit::textChanged, this, &frmEffectsDrip::HScroll1_Change);
    connect(Text2, &QLineEdit::textChanged, this, &frmEffectsDrip::HScroll1_Change);
    connect(Command1, &QPushButton::clicked, this, &frmEffectsDrip::Command1_Click);
}

bool frmEffectsDrip::readParams(DripParams* p, bool tell)
{
    for (int i = 0; i < 4; ++i)
        if (Option1[i]->isChecked()) p->direction = static_cast<DripDirection>(i);
    p->amount = HScroll1->value();
    for (auto [box, divisor, name] : {std::tuple{Text1, &p->width, "Width"}, std::tuple{Text2, &p->height, "Height"}}) {
        if (DivisorFromText(box->text(), divisor)) continue;
        if (tell)
            RefuseText(this, box, QStringLiteral("The \"%1\" divisor must be a number greater than 0.").arg(QString::fromLatin1(name)));
        return false;
    }
    return true;
}

void frmEffectsDrip::HScroll1_Change()
{
    Label4->setText(QStringLiteral("(%1)").arg(HScroll1->value()));
    DripParams p;
    if (!readParams(&p, false)) return;   // the preview waits for usable divisors
    QImage preview = Picture2->image().copy();
    Drip(preview, p, SharedGenerator(), &Picture2->image());
    Picture1->showImage(preview);
}

void frmEffectsDrip::Command1_Click()
{
    DripParams p;
    if (!readParams(&p, true)) return;
    hide();
    Canvas& canvas = doc_->canvas();
    canvas.setScaleMode(kScalePixels);
    Drip(canvas.buffer(), p, SharedGenerator());
    canvas.Refresh();
    accept();
}

void mnuEffectsDrip_Click(frmDocument* doc)
{
    doc->TakeUndoSnapshot();
    frmEffectsDrip dialog(doc);
    ShowEffectDialog(&dialog);
}

} // namespace orv
