#include "effects/ui/frmEffectsWobbly2.h"
#include "documents/ui/frmDocument.h"
#include "effects/round_wobbly.h"
#include "effects/ui/effect_run.h"
#include "shell/number_text.h"
#include "shell/settings_store.h"
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QScrollBar>

namespace orv {

namespace {

// A framed text box, as each of the dialog's values sits in a frame captioned with its name.
QLineEdit* FramedBox(QWidget* parent, QGridLayout* grid, int column, const char* frame, const char* caption,
                     const char* box, double value, QWidget* beside = nullptr)
{
    auto* group = new QGroupBox(QString::fromLatin1(caption), parent);
    group->setObjectName(QString::fromLatin1(frame));
    // Named by its own caption: unnamed, it would take the caption of the frame around it.
    group->setAccessibleName(QString::fromLatin1(caption));
    auto* row = new QHBoxLayout(group);
    auto* edit = new QLineEdit(NumberText(value), group);
    edit->setObjectName(QString::fromLatin1(box));
    edit->setAccessibleName(QString::fromLatin1(caption));
    row->addWidget(edit);
    if (beside) {
        beside->setParent(group);
        row->addWidget(beside);
    }
    grid->addWidget(group, 1, column);
    return edit;
}

} // namespace

frmEffectsWobbly2::frmEffectsWobbly2(frmDocument* doc)
    : ThumbnailEffectDialog(doc, QStringLiteral("frmEffectsWobbly2"), QStringLiteral("Effects: Round wobbly"),
                            QStringLiteral("Round wobbly..."))
{
    const RoundWobblyParams initial;
    auto* grid = new QGridLayout(frmSetting);
    auto* frame1 = new QGroupBox(QStringLiteral("Direction"), frmSetting);
    frame1->setObjectName(QStringLiteral("Frame1"));
    frame1->setAccessibleName(frame1->title());
    auto* directions = new QHBoxLayout(frame1);
    const char* captions[] = {"Top", "Left", "Both"};
    for (int i = 0; i < 3; ++i) {
        Option1[i] = new QRadioButton(QString::fromLatin1(captions[i]), frame1);
        Option1[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        Option1[i]->setAccessibleName(QString::fromLatin1(captions[i]));
        directions->addWidget(Option1[i]);
    }
    Option1[static_cast<int>(initial.direction)]->setChecked(true);
    grid->addWidget(frame1, 0, 0, 1, 3);

    VScroll1 = new QScrollBar(Qt::Vertical);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    VScroll1->setAccessibleName(QStringLiteral("Angle scroll"));
    VScroll1->setRange(0, 360);
    VScroll1->setFocusPolicy(Qt::StrongFocus);
    VScroll1->setInvertedAppearance(true);   // 360 at the top
    Text1 = FramedBox(frmSetting, grid, 0, "Frame2", "Angle", "Text1", initial.angle, VScroll1);
    Text2 = FramedBox(frmSetting, grid, 1, "Frame3", "Width", "Text2", initial.width);
    Text3 = FramedBox(frmSetting, grid, 2, "Frame4", "Height", "Text3", initial.height);
    Text1->installEventFilter(this);
}

bool frmEffectsWobbly2::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Text1 && event->type() == QEvent::KeyPress) {
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        // Only character keys pass through the filter; editing keys work as usual.
        if (typed.size() == 1 && (typed[0].isPrint() || typed[0] == QChar(8)))
            return !AngleKeyAccepted(Text1->text(), typed[0]);
    }
    return QDialog::eventFilter(watched, event);
}

MakePasses frmEffectsWobbly2::currentPasses()
{
    RoundWobblyParams p;
    for (int i = 0; i < 3; ++i)
        if (Option1[i]->isChecked()) p.direction = static_cast<RoundWobblyDirection>(i);
    const QString refused = ReadRoundWobblyValues(Text1->text(), Text2->text(), Text3->text(), &p);
    if (refused.isEmpty()) return [p](WorkingCopy& work) { return RoundWobblyPasses(work, p); };
    QLineEdit* box = Text3;
    QString message = QStringLiteral("The strip height must be a number of 1 or more.");
    if (refused == QLatin1String("angle")) {
        box = Text1;
        message = QStringLiteral("The angle must be a number other than 0.");
    } else if (refused == QLatin1String("width")) {
        box = Text2;
        message = QStringLiteral("The strip width must be a number of 1 or more.");
    }
    QMessageBox::warning(this, kAppTitle, message);
    box->setFocus();
    box->selectAll();
    return {};
}

void mnuEffectsRndWobbly_Click(frmDocument* doc)
{
    frmEffectsWobbly2 dialog(doc);
    ShowEffectDialog(&dialog);
}

} // namespace orv
