#include "effects/ui/frmEffectsRoll.h"
#include "documents/ui/frmDocument.h"
#include "effects/picture_roll.h"
#include "effects/ui/effect_run.h"
#include "platform/numbers.h"
#include "shell/settings_store.h"
#include <QGridLayout>
#include <QLabel>
#include <QScrollBar>
#include <utility>

namespace orv {

namespace {

const QString kSection = QStringLiteral("Picture roll");

} // namespace

frmEffectsRoll::frmEffectsRoll(frmDocument* doc)
    : ThumbnailEffectDialog(doc, QStringLiteral("frmEffectsRoll"), QStringLiteral("Effects: Picture roll"),
                            QStringLiteral("Rolling..."))
{
    const QImage& picture = std::as_const(doc_->canvas()).buffer();
    const auto stored = [](const QString& key) {
        return static_cast<int>(GetSettingNumber(kAppTitle, kSection, key, 0));
    };
    auto* grid = new QGridLayout(frmSetting);
    HScroll1 = ValueScrollBar(frmSetting, "HScroll1", QStringLiteral("Horizontal"), picture.width() - 1, stored("X"));
    HScroll2 = ValueScrollBar(frmSetting, "HScroll2", QStringLiteral("Vertical"), picture.height() - 1, stored("Y"));
    Label1 = new QLabel(QString::number(HScroll1->value()), frmSetting);
    Label2 = new QLabel(QString::number(HScroll2->value()), frmSetting);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    grid->addWidget(new QLabel(QStringLiteral("Horizontal:"), frmSetting), 0, 0);
    grid->addWidget(HScroll1, 0, 1);
    grid->addWidget(Label1, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Vertical:"), frmSetting), 1, 0);
    grid->addWidget(HScroll2, 1, 1);
    grid->addWidget(Label2, 1, 2);
    connect(HScroll1, &QScrollBar::valueChanged, Label1, [this](int v) { Label1->setText(QString::number(v)); });
    connect(HScroll2, &QScrollBar::valueChanged, Label2, [this](int v) { Label2->setText(QString::number(v)); });
}

MakePasses frmEffectsRoll::currentPasses()
{
    const QImage& picture = std::as_const(doc_->canvas()).buffer();
    const int pw = picture.width(), ph = picture.height();
    const int x = HScroll1->value(), y = HScroll2->value();
    // On the thumbnail the amounts shrink with the picture.
    return [pw, ph, x, y](WorkingCopy& work) {
        const RollParams p{static_cast<int>(RoundHalfEven(double(x) * work.width() / pw)),
                           static_cast<int>(RoundHalfEven(double(y) * work.height() / ph))};
        return RollPasses(work, p);
    };
}

void frmEffectsRoll::done(int result)
{
    SaveSetting(kAppTitle, kSection, QStringLiteral("X"), SettingText(HScroll1->value()));
    SaveSetting(kAppTitle, kSection, QStringLiteral("Y"), SettingText(HScroll2->value()));
    ThumbnailEffectDialog::done(result);
}

void mnuRollPicture_Click(frmDocument* doc)
{
    frmEffectsRoll dialog(doc);
    ShowEffectDialog(&dialog);
}

} // namespace orv
