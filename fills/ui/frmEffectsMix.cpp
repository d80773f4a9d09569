#include "fills/ui/frmEffectsMix.h"
#include "documents/image_loader.h"
#include "documents/ui/frmDocument.h"
#include "effects/ui/dialog_buttons.h"
#include "effects/ui/effect_run.h"
#include "fills/mix.h"
#include "fills/ui/thumbnail_box.h"
#include "shell/settings_store.h"
#include "shell/ui/open_dialog.h"
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>

namespace orv {

namespace {

const QString kMixFilter = QStringLiteral("Bitmap (*.bmp)|*.bmp|JPEG (*.jpg)|*.jpg|Gif (*.gif)|*.gif");

template <class Widget>
Widget* Named(Widget* w, const char* objectName, const QString& accessibleName)
{
    w->setObjectName(QString::fromLatin1(objectName));
    w->setAccessibleName(accessibleName);
    return w;
}

} // namespace

frmEffectsMix::frmEffectsMix(frmDocument* doc) : doc_(doc)
{
    setObjectName(QStringLiteral("frmEffectsMix"));
    setWindowTitle(QStringLiteral("Effects: Mix"));
    const MixParams initial;
    maximum_ = initial.maximum;

    Option1 = Named(new QRadioButton(QStringLiteral("File"), this), "Option1", QStringLiteral("Picture A from a file"));
    Option2 = Named(new QRadioButton(QStringLiteral("Window"), this), "Option2", QStringLiteral("Picture A is the window"));
    Command1 = Named(new QPushButton(QStringLiteral("Browse"), this), "Command1", QStringLiteral("Browse for picture A"));
    Picture2 = new ThumbnailBox(QStringLiteral("Picture2"), QStringLiteral("Picture A"), this);
    Command2 = Named(new QPushButton(QStringLiteral("Browse"), this), "Command2", QStringLiteral("Browse for picture B"));
    Picture1 = new ThumbnailBox(QStringLiteral("Picture1"), QStringLiteral("Picture B"), this);
    Picture3 = new ThumbnailBox(QStringLiteral("Picture3"), QStringLiteral("Preview"), this);
    Slider1 = Named(new QSlider(Qt::Horizontal, this), "Slider1", QStringLiteral("Mix level"));
    Slider1->setRange(0, SliderMaximum(initial.maximum));
    Slider1->setValue(initial.level);
    Text1 = Named(new QLineEdit(QString::number(initial.maximum), this), "Text1", QStringLiteral("Maximum number"));
    Text1->setToolTip(QStringLiteral("Maximum number"));
    HScroll1 = Named(new QScrollBar(Qt::Horizontal, this), "HScroll1", QStringLiteral("Reverse"));
    HScroll1->setRange(0, 1);
    HScroll1->setFocusPolicy(Qt::StrongFocus);
    HScroll1->setValue(initial.reverse ? 1 : 0);
    Check1 = Named(new QCheckBox(QStringLiteral("Resize"), this), "Check1", QStringLiteral("Resize"));
    Check1->setChecked(initial.resize);
    Command3 = Named(new QPushButton(QStringLiteral("Preview"), this), "Command3", QStringLiteral("Preview"));

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->addWidget(Option1, 0, 0);
    grid->addWidget(Option2, 1, 0);
    grid->addWidget(Command1, 2, 0);
    grid->addWidget(Picture2, 3, 0);
    grid->addWidget(Command2, 2, 1);
    grid->addWidget(Picture1, 3, 1);
    grid->addWidget(Command3, 2, 2);
    grid->addWidget(Picture3, 3, 2);
    layout->addLayout(grid);
    auto* controls = new QGridLayout;
    controls->addWidget(Slider1, 0, 0, 1, 2);
    controls->addWidget(Text1, 0, 2);
    controls->addWidget(HScroll1, 1, 0);
    controls->addWidget(Check1, 1, 1);
    layout->addLayout(controls);
    const OkCancel buttons = AddOkCancel(this, layout);
    Command4 = buttons.ok;
    Command5 = buttons.cancel;

    connect(Option1, &QRadioButton::clicked, this, &frmEffectsMix::Option1_Click);
    connect(Option2, &QRadioButton::clicked, this, &frmEffectsMix::Option2_Click);
    connect(Command1, &QPushButton::clicked, this, &frmEffectsMix::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmEffectsMix::Command2_Click);
    connect(Text1, &QLineEdit::textChanged, this, &frmEffectsMix::Text1_Change);
    // The preview follows the level and the reverse switch.
    for (QAbstractSlider* control : {static_cast<QAbstractSlider*>(Slider1), static_cast<QAbstractSlider*>(HScroll1)})
        connect(control, &QAbstractSlider::valueChanged, this, [this] { if (maximumOk_) repaintPreview(); });
    connect(Command3, &QPushButton::clicked, this, &frmEffectsMix::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frmEffectsMix::Command4_Click);

    // Picture A starts as the document.
    Option2->setChecked(true);
    Option2_Click();
}

void frmEffectsMix::showPictureA()
{
    Picture2->showStretched(Option2->isChecked() ? doc_->canvas().Image() : pictureA_);
    repaintPreview();
}

void frmEffectsMix::Option1_Click()
{
    Command1->setEnabled(true);
    showPictureA();
}

void frmEffectsMix::Option2_Click()
{
    Command1->setEnabled(false);
    showPictureA();
}

void frmEffectsMix::Command1_Click()
{
    const QString path = RunOpenDialog(this, QStringLiteral("Open"), kMixFilter);
    if (!path.isEmpty()) choosePictureA(path);
}

void frmEffectsMix::Command2_Click()
{
    const QString path = RunOpenDialog(this, QStringLiteral("Open"), kMixFilter);
    if (!path.isEmpty()) choosePictureB(path);
}

bool frmEffectsMix::readPicture(const QString& path, QImage* picture)
{
    DecodedPicture decoded = ReadPictureFile(path);
    if (!decoded.ok()) {
        QMessageBox::warning(this, kAppTitle, decoded.error);
        return false;
    }
    *picture = std::move(decoded.image);
    return true;
}

bool frmEffectsMix::choosePictureA(const QString& path)
{
    if (!readPicture(path, &pictureA_)) return false;
    showPictureA();
    return true;
}

bool frmEffectsMix::choosePictureB(const QString& path)
{
    if (!readPicture(path, &pictureB_)) return false;
    Picture1->showStretched(pictureB_);
    repaintPreview();
    return true;
}

void frmEffectsMix::Text1_Change()
{
    // A maximum of 0 or below cannot divide the level: it is kept out of the slider, and
    // Preview and OK say so.
    double m = 0;
    maximumOk_ = MaximumFromText(Text1->text(), &m);
    if (!maximumOk_) return;
    maximum_ = m;
    Slider1->setMaximum(SliderMaximum(m));
}

bool frmEffectsMix::maximumValid()
{
    if (!maximumOk_) RefuseText(this, Text1, QStringLiteral("The \"Maximum number\" must be a number greater than 0."));
    return maximumOk_;
}

void frmEffectsMix::repaintPreview()
{
    QImage preview = Picture2->image().copy();
    MixPicture(preview, Picture1->image(), MakeMixBrush(Slider1->value(), maximum_, HScroll1->value() != 0), false);
    Picture3->showImage(preview);
}

void frmEffectsMix::Command3_Click()
{
    if (maximumValid()) repaintPreview();
}

void frmEffectsMix::Command4_Click()
{
    if (!maximumValid()) return;
    if (pictureB_.isNull()) {
        QMessageBox::warning(this, kAppTitle, QStringLiteral("Choose picture B, the picture to mix in, with its Browse button first."));
        return;
    }
    hide();
    Canvas& canvas = doc_->canvas();
    canvas.setScaleMode(kScaleTwips);
    MixPicture(canvas.buffer(), pictureB_, MakeMixBrush(Slider1->value(), maximum_, HScroll1->value() != 0),
               Check1->isChecked());
    canvas.Refresh();
    accept();
}

void mnuEffectsMix_Click(frmDocument* doc)
{
    doc->TakeUndoSnapshot();
    frmEffectsMix dialog(doc);
    ShowEffectDialog(&dialog);
}

} // namespace orv
