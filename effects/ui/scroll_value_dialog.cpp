#include "effects/ui/scroll_value_dialog.h"
#include "effects/ui/effect_run.h"
#include "effects/ui/dialog_buttons.h"
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace orv {

ScrollValueDialog::ScrollValueDialog(const QString& objectName, const QString& caption, int minimum,
                                     int maximum, int initial, frmDocument* doc, const QString& runCaption,
                                     ValuePasses passes)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    HScroll1->setAccessibleName(caption);
    HScroll1->setRange(minimum, maximum);
    HScroll1->setValue(initial);
    HScroll1->setMinimumWidth(260);
    HScroll1->setFocusPolicy(Qt::StrongFocus);   // the arrow keys move it
    layout->addWidget(HScroll1);
    const OkCancel buttons = AddOkCancel(this, layout);
    Command1 = buttons.ok;
    Command2 = buttons.cancel;
    connect(Command1, &QPushButton::clicked, this, [this, doc, runCaption, passes = std::move(passes)] {
        const int value = HScroll1->value();
        EffectRun(doc, {runCaption, this, false, [&passes, value](WorkingCopy& work) { return passes(work, value); }});
    });
}

} // namespace orv
