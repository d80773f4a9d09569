#include "fills/ui/frmGradient.h"
#include "documents/ui/frmDocument.h"
#include "effects/ui/effect_run.h"
#include "platform/ui/color_dialog.h"
#include "shell/settings_store.h"
#include "shell/ui/color_panel.h"
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

namespace {

const QString kSection = QStringLiteral("Gradient");
constexpr QSize kPreviewSize(160, 120);
constexpr QSize kSwatchSize(48, 24);

// A stored colour: its decimal ColorRef text; anything else gives the default.
ColorRef StoredColor(const QString& key, ColorRef fallback)
{
    const double v = GetSettingNumber(kAppTitle, kSection, key, fallback);
    return v >= 0 && v <= 0xFFFFFF ? ColorRef(v) : fallback;
}

} // namespace

frmGradient::frmGradient(frmDocument* doc) : doc_(doc)
{
    setObjectName(QStringLiteral("frmGradient"));
    setWindowTitle(QStringLiteral("Fill: Gradient"));
    auto* layout = new QHBoxLayout(this);
    auto* controls = new QGridLayout;
    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setAccessibleName(QStringLiteral("Style"));
    Combo1->addItems({QStringLiteral("Horizontal"), QStringLiteral("Vertical"), QStringLiteral("Special")});
    controls->addWidget(Combo1, 0, 0, 1, 2);
    const auto swatch = [this, controls](const char* name, const char* caption, const char* accessible, int row) {
        auto* label = new QLabel(QString::fromLatin1(caption), this);
        auto* cell = new ColorCell(0, this);
        cell->setObjectName(QString::fromLatin1(name));
        cell->setAccessibleName(QString::fromLatin1(accessible));
        cell->setFixedSize(kSwatchSize);
        cell->setCursor(Qt::PointingHandCursor);
        cell->setFocusPolicy(Qt::StrongFocus);   // Space or Enter opens the colour chooser
        label->setBuddy(cell);
        controls->addWidget(label, row, 0);
        controls->addWidget(cell, row, 1);
        connect(cell, &ColorCell::clicked, this, [this, cell] { chooseColor(cell); });
        return cell;
    };
    Picture2 = swatch("Picture2", "From:", "From colour", 1);
    Picture3 = swatch("Picture3", "To:", "To colour", 2);
    controls->setRowStretch(3, 1);
    layout->addLayout(controls);

    auto* right = new QVBoxLayout;
    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setAccessibleName(QStringLiteral("Preview"));
    Picture1->setFixedSize(kPreviewSize);
    Picture1->setFrameShape(QFrame::Panel);
    Picture1->setFrameShadow(QFrame::Sunken);
    right->addWidget(Picture1);
    auto* buttons = new QHBoxLayout;
    Command1 = new QPushButton(QStringLiteral("Preview"), this);
    Command2 = new QPushButton(QStringLiteral("OK"), this);
    Command3 = new QPushButton(QStringLiteral("Cancel"), this);
    for (QPushButton* b : {Command1, Command2, Command3}) {
        b->setAccessibleName(b->text());
        buttons->addWidget(b);
    }
    Command2->setDefault(true);
    right->addLayout(buttons);
    layout->addLayout(right);

    connect(Command1, &QPushButton::clicked, this, &frmGradient::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmGradient::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &QDialog::reject);
    Form_Load();
}

void frmGradient::Form_Load()
{
    const GradientParams defaults;
    // A stored mode that is none of the items leaves no style selected.
    Combo1->setCurrentIndex(Combo1->findText(GetSetting(kAppTitle, kSection, QStringLiteral("Mode"), QStringLiteral("Horizontal"))));
    Picture2->setColor(StoredColor(QStringLiteral("Color1"), defaults.from));
    Picture3->setColor(StoredColor(QStringLiteral("Color2"), defaults.to));
    preview_ = NewPixelBuffer(Picture1->contentsRect().width(), Picture1->contentsRect().height(), 0xFFFFFF);
    Picture1->setPixmap(QPixmap::fromImage(preview_));
}

bool frmGradient::params(GradientParams* p) const
{
    if (Combo1->currentIndex() < 0) return false;
    p->style = GradientStyle(Combo1->currentIndex());
    p->from = Picture2->color();
    p->to = Picture3->color();
    return true;
}

void frmGradient::chooseColor(ColorCell* swatch)
{
    // The chooser answers 0 for a cancel, so pure black keeps the swatch as it is too.
    const ColorRef c = ChooseColorDialog(this, swatch->color());
    if (c != 0) swatch->setColor(c);
}

void frmGradient::Command1_Click()
{
    GradientParams p;
    if (!params(&p)) return;
    DrawGradient(preview_, p);
    Picture1->setPixmap(QPixmap::fromImage(preview_));
}

void frmGradient::Command2_Click()
{
    GradientParams p;
    if (params(&p)) {
        doc_->TakeUndoSnapshot();
        Canvas& canvas = doc_->canvas();
        DrawGradient(canvas.buffer(), p);
        canvas.Refresh();
        if (p.style != GradientStyle::Special) canvas.setScaleMode(kScalePixels);
    }
    accept();
}

void frmGradient::done(int result)
{
    SaveSetting(kAppTitle, kSection, QStringLiteral("Mode"), Combo1->currentText());
    SaveSetting(kAppTitle, kSection, QStringLiteral("Color1"), SettingText(int(Picture2->color())));
    SaveSetting(kAppTitle, kSection, QStringLiteral("Color2"), SettingText(int(Picture3->color())));
    QDialog::done(result);
}

void mnuEditFillGradient_Click(frmDocument* doc)
{
    frmGradient dialog(doc);
    ShowEffectDialog(&dialog);
}

} // namespace orv
