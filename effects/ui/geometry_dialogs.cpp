#include "effects/ui/geometry_dialogs.h"
#include "documents/ui/frmDocument.h"
#include "effects/geometry_kernels.h"
#include "effects/ui/dialog_buttons.h"
#include "effects/ui/effect_run.h"
#include "platform/dialog_text.h"
#include "platform/numbers.h"
#include "platform/ui/color_dialog.h"
#include "shell/number_text.h"
#include "shell/settings_store.h"
#include "shell/ui/color_panel.h"
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <cmath>
#include <utility>

namespace orv {

namespace {

const QString kRotate = QStringLiteral("Rotate");
const QString kResize = QStringLiteral("Resize");
const QString kBorder = QStringLiteral("Border");

QComboBox* Choice(QWidget* parent, const char* name, const QString& accessible, const QStringList& items,
                  const QString& current)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setAccessibleName(accessible);
    combo->addItems(items);
    combo->setCurrentIndex(std::max(0, int(items.indexOf(current))));
    return combo;
}

} // namespace

frmRotate::frmRotate(frmDocument* doc)
    : ThumbnailEffectDialog(doc, QStringLiteral("frmRotate"), QStringLiteral("Edit: Rotate"), QStringLiteral("Rotating..."))
{
    auto* grid = new QGridLayout(frmSetting);
    Text1 = AddLabelledBox(frmSetting, grid, 0, "Text1", QStringLiteral("Rotate:"), QStringLiteral("Angle in degrees"),
                GetSetting(kAppTitle, kRotate, QStringLiteral("Angle"), NumberText(RotateParams().angle)));
}

MakePasses frmRotate::currentPasses()
{
    RotateParams p;
    QString refusal = AngleRefusal(Text1->text(), &p.angle);
    const QImage& picture = std::as_const(doc_->canvas()).buffer();
    if (refusal.isEmpty()) refusal = RotateSizeRefusal(picture.width(), picture.height(), p.angle);
    if (!refusal.isEmpty()) {
        RefuseText(this, Text1, refusal);
        return {};
    }
    p.background = doc_->canvas().BackColor();
    return [p](WorkingCopy& work) { return RotatePasses(work, p); };
}

void frmRotate::done(int result)
{
    if (result == Accepted) SaveSetting(kAppTitle, kRotate, QStringLiteral("Angle"), Text1->text());
    ThumbnailEffectDialog::done(result);
}

frmResize::frmResize(frmDocument* doc) : doc_(doc)
{
    setObjectName(QStringLiteral("frmResize"));
    setWindowTitle(QStringLiteral("Edit: Resize"));
    doc_->canvas().setScaleMode(kScalePixels);
    width_ = doc_->canvas().pixelWidth();
    height_ = doc_->canvas().pixelHeight();
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    Combo1 = Choice(this, "Combo1", QStringLiteral("Unit"), {QStringLiteral("Pixels"), QStringLiteral("Percent")},
                    GetSetting(kAppTitle, kResize, QStringLiteral("Unit"), QStringLiteral("Pixels")));
    auto* unit = new QLabel(QStringLiteral("Unit:"), this);
    unit->setBuddy(Combo1);
    grid->addWidget(unit, 0, 0);
    grid->addWidget(Combo1, 0, 1);
    percent_ = Combo1->currentIndex() == 1;
    Text1 = AddLabelledBox(this, grid, 1, "Text1", QStringLiteral("Width:"), QStringLiteral("Width"),
                percent_ ? QStringLiteral("100") : QString::number(width_));
    Text2 = AddLabelledBox(this, grid, 2, "Text2", QStringLiteral("Height:"), QStringLiteral("Height"),
                percent_ ? QStringLiteral("100") : QString::number(height_));
    Check1 = new QCheckBox(QStringLiteral("Keep proportions"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setAccessibleName(QStringLiteral("Keep proportions"));
    Check1->setChecked(GetSettingBool(kAppTitle, kResize, QStringLiteral("KeepProportions"), true));
    grid->addWidget(Check1, 3, 0, 1, 2);
    Combo2 = Choice(this, "Combo2", QStringLiteral("Filter"), {QStringLiteral("Lanczos"), QStringLiteral("Nearest")},
                    GetSetting(kAppTitle, kResize, QStringLiteral("Filter"), QStringLiteral("Lanczos")));
    auto* filter = new QLabel(QStringLiteral("Filter:"), this);
    filter->setBuddy(Combo2);
    grid->addWidget(filter, 4, 0);
    grid->addWidget(Combo2, 4, 1);
    layout->addLayout(grid);
    const OkCancel buttons = AddOkCancel(this, layout);
    cmdOK = buttons.ok;
    cmdCancel = buttons.cancel;
    connect(cmdOK, &QPushButton::clicked, this, &frmResize::cmdOK_Click);
    connect(Text1, &QLineEdit::textEdited, this, [this] { follow(Text1); });
    connect(Text2, &QLineEdit::textEdited, this, [this] { follow(Text2); });
    connect(Combo1, &QComboBox::currentIndexChanged, this, &frmResize::unitChanged);
}

// With "Keep proportions" the other side follows the one typed into.
void frmResize::follow(QLineEdit* edited)
{
    if (!Check1->isChecked()) return;
    bool ok = false;
    const double v = DialogNumber(edited->text(), &ok);
    if (!ok) return;
    QLineEdit* other = edited == Text1 ? Text2 : Text1;
    if (percent_) return other->setText(NumberText(v));
    const double ratio = edited == Text1 ? double(height_) / width_ : double(width_) / height_;
    other->setText(QString::number(std::max(1.0, RoundHalfEven(v * ratio)), 'f', 0));
}

// The boxes keep the size they describe in the other unit.
void frmResize::unitChanged()
{
    const bool percent = Combo1->currentIndex() == 1;
    if (percent == percent_) return;
    for (auto [box, side] : {std::pair{Text1, width_}, std::pair{Text2, height_}}) {
        bool ok = false;
        const double v = DialogNumber(box->text(), &ok);
        if (!ok) continue;
        box->setText(percent ? NumberText(std::round(v * 10000.0 / side) / 100.0)
                             : QString::number(RoundHalfEven(v * side / 100.0), 'f', 0));
    }
    percent_ = percent;
}

void frmResize::cmdOK_Click()
{
    ResizeParams p;
    for (auto [box, current, side, name] : {std::tuple{Text1, width_, &p.width, "width"},
                                            std::tuple{Text2, height_, &p.height, "height"}}) {
        const QString refusal = SideRefusal(box->text(), percent_, current, name, side);
        if (!refusal.isEmpty()) return RefuseText(this, box, refusal);
    }
    if (const QString refusal = ResizeSizeRefusal(p.width, p.height); !refusal.isEmpty())
        return RefuseText(this, Text1, refusal);
    p.filter = ResizeFilter(Combo2->currentIndex());
    // The same size changes nothing: no run and no undo step.
    if (p.width == width_ && p.height == height_) return accept();
    EffectRun(doc_, {QStringLiteral("Resizing..."), this, false, [p](WorkingCopy& work) { return ResizePasses(work, p); }});
}

void frmResize::done(int result)
{
    SaveSetting(kAppTitle, kResize, QStringLiteral("Unit"), Combo1->currentText());
    SaveSetting(kAppTitle, kResize, QStringLiteral("KeepProportions"), SettingText(Check1->isChecked()));
    SaveSetting(kAppTitle, kResize, QStringLiteral("Filter"), Combo2->currentText());
    QDialog::done(result);
}

frmBorder::frmBorder(frmDocument* doc) : doc_(doc)
{
    setObjectName(QStringLiteral("frmBorder"));
    setWindowTitle(QStringLiteral("Edit: Border"));
    doc_->canvas().setScaleMode(kScalePixels);
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    Text1 = AddLabelledBox(this, grid, 0, "Text1", QStringLiteral("Width:"), QStringLiteral("Border width in pixels"),
                GetSetting(kAppTitle, kBorder, QStringLiteral("Width"), QString::number(BorderParams().width)));
    Picture1 = new ColorCell(doc_->canvas().ForeColor(), this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setAccessibleName(QStringLiteral("Border colour"));
    Picture1->setFixedSize(48, 24);
    Picture1->setCursor(Qt::PointingHandCursor);
    Picture1->setFocusPolicy(Qt::StrongFocus);   // Space or Enter opens the colour chooser
    auto* label = new QLabel(QStringLiteral("Color:"), this);
    label->setBuddy(Picture1);
    grid->addWidget(label, 1, 0);
    grid->addWidget(Picture1, 1, 1);
    layout->addLayout(grid);
    const OkCancel buttons = AddOkCancel(this, layout);
    cmdOK = buttons.ok;
    cmdCancel = buttons.cancel;
    connect(cmdOK, &QPushButton::clicked, this, &frmBorder::cmdOK_Click);
    connect(Picture1, &ColorCell::clicked, this, [this] {
        // The chooser answers 0 for a cancel, so pure black keeps the swatch as it is too.
        if (const ColorRef c = ChooseColorDialog(this, Picture1->color()); c != 0) Picture1->setColor(c);
    });
}

void frmBorder::cmdOK_Click()
{
    BorderParams p;
    const QImage& picture = std::as_const(doc_->canvas()).buffer();
    const QString refusal = BorderWidthRefusal(Text1->text(), picture.width(), picture.height(), &p.width);
    if (!refusal.isEmpty()) return RefuseText(this, Text1, refusal);
    p.color = Picture1->color();
    EffectRun(doc_, {QStringLiteral("Bordering..."), this, false, [p](WorkingCopy& work) { return BorderPasses(work, p); }});
}

void frmBorder::done(int result)
{
    if (result == Accepted) SaveSetting(kAppTitle, kBorder, QStringLiteral("Width"), Text1->text());
    QDialog::done(result);
}

void mnuEditRotate_Click(frmDocument* doc)
{
    frmRotate dialog(doc);
    ShowEffectDialog(&dialog);
}

void mnuEditResize_Click(frmDocument* doc)
{
    frmResize dialog(doc);
    ShowEffectDialog(&dialog);
}

void mnuEditBorder_Click(frmDocument* doc)
{
    frmBorder dialog(doc);
    ShowEffectDialog(&dialog);
}

} // namespace orv
