#include "fills/ui/frmEffectsInsertImage.h"
#include "documents/ui/frmDocument.h"
#include "effects/ui/dialog_buttons.h"
#include "effects/ui/effect_run.h"
#include "fills/insert_image.h"
#include "shell/settings_store.h"
#include "shell/ui/color_panel.h"
#include "shell/ui/frmMain.h"
#include "shell/ui/open_dialog.h"
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

namespace {

const QString kInsertFilter = QStringLiteral(
    "Bitmap (*.bmp)|*.bmp|JPEG (*.jpg)|*.jpg|CompuServe Gif (*.gif)|*.gif|All files (*.*)|*.*");

} // namespace

frmEffectsInsertImage::frmEffectsInsertImage(frmDocument* doc) : doc_(doc)
{
    setObjectName(QStringLiteral("frmEffectsInsertImage"));
    setWindowTitle(QStringLiteral("Effects: Insert Image"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    auto* keyLabel = new QLabel(QStringLiteral("Key colour:"), this);
    // The key colour is the pen colour now; a later change of pen does not alter it.
    Shape1 = new ColorCell(doc_->canvas().ForeColor(), this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setAccessibleName(QStringLiteral("Key colour"));
    Shape1->setFixedSize(48, 24);
    keyLabel->setBuddy(Shape1);
    grid->addWidget(keyLabel, 0, 0);
    grid->addWidget(Shape1, 0, 1, Qt::AlignLeft);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setMinimumWidth(260);
    Label1->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(Label1, 1, 0, 1, 2);
    Command1 = new QPushButton(QStringLiteral("Browse"), this);
    Command1->setAccessibleName(QStringLiteral("Browse"));
    grid->addWidget(Command1, 1, 2);
    layout->addLayout(grid);

    const OkCancel buttons = AddOkCancel(this, layout);
    Command2 = buttons.ok;
    Command3 = buttons.cancel;
    connect(Command1, &QPushButton::clicked, this, &frmEffectsInsertImage::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmEffectsInsertImage::Command2_Click);
}

ColorRef frmEffectsInsertImage::keyColor() const
{
    return Shape1->color();
}

void frmEffectsInsertImage::Command1_Click()
{
    Label1->setText(RunOpenDialog(this, QStringLiteral("Open"), kInsertFilter));
}

void frmEffectsInsertImage::Command2_Click()
{
    Canvas& canvas = doc_->canvas();
    canvas.setScaleMode(kScalePixels);
    hide();
    if (!Label1->text().isEmpty()) {
        QString error;
        if (!InsertImageFromFile(canvas.buffer(), {Label1->text(), keyColor()}, &error))
            QMessageBox::warning(frmMain::instance(), kAppTitle, error, QMessageBox::Ok);
        canvas.Refresh();
    }
    canvas.setScaleMode(kScaleTwips);
    accept();
}

void mnuEffectsInsertImage_Click(frmDocument* doc)
{
    doc->TakeUndoSnapshot();
    frmEffectsInsertImage dialog(doc);
    ShowEffectDialog(&dialog);
}

} // namespace orv
