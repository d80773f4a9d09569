#include "effects/ui/thumbnail_effect_dialog.h"
#include "documents/ui/frmDocument.h"
#include "effects/ui/dialog_buttons.h"
#include "effects/ui/effect_run.h"
#include "effects/ui/thumbnail_preview.h"
#include <QScrollBar>
#include <QGroupBox>
#include <QVBoxLayout>

namespace orv {

ThumbnailEffectDialog::ThumbnailEffectDialog(frmDocument* doc, const QString& objectName,
                                             const QString& caption, const QString& runCaption)
    : doc_(doc), runCaption_(runCaption)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    Preview = new ThumbnailPreview(this);
    Preview->takePicture(doc_->canvas());
    layout->addWidget(Preview, 0, Qt::AlignHCenter);
    frmSetting = new QGroupBox(QStringLiteral("Settings"), this);
    frmSetting->setObjectName(QStringLiteral("frmSetting"));
    layout->addWidget(frmSetting);
    const OkCancel buttons = AddOkCancel(this, layout);
    cmdOK = buttons.ok;
    cmdCancel = buttons.cancel;
    cmdPreview = AddPreviewButton(this, buttons, "cmdPreview");
    connect(cmdPreview, &QPushButton::clicked, this, &ThumbnailEffectDialog::cmdPreview_Click);
    connect(cmdOK, &QPushButton::clicked, this, &ThumbnailEffectDialog::cmdOK_Click);
}

void ThumbnailEffectDialog::cmdPreview_Click()
{
    if (const MakePasses passes = currentPasses()) Preview->preview(passes);
}

void ThumbnailEffectDialog::cmdOK_Click()
{
    if (const MakePasses passes = currentPasses()) EffectRun(doc_, {runCaption_, this, false, passes});
}

QScrollBar* ValueScrollBar(QWidget* parent, const char* name, const QString& accessible, int max, int value)
{
    auto* bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setAccessibleName(accessible);
    bar->setRange(0, max);
    bar->setValue(value);
    bar->setMinimumWidth(200);
    bar->setFocusPolicy(Qt::StrongFocus);   // the arrow keys move it
    return bar;
}

} // namespace orv
