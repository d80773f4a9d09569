#include "fills/ui/frmEditGrid.h"
#include "documents/ui/frmDocument.h"
#include "effects/ui/dialog_buttons.h"
#include "effects/ui/effect_run.h"
#include "shell/number_text.h"
#include "shell/settings_store.h"
#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

namespace {

ColorRef PaletteColor(QPalette::ColorRole role)
{
    const QColor c = QApplication::palette().color(QPalette::Active, role);
    return RGB(c.red(), c.green(), c.blue());
}

} // namespace

ColorRef ButtonFaceColor() { return PaletteColor(QPalette::Button); }
ColorRef ButtonShadowColor() { return PaletteColor(QPalette::Dark); }

frmEditGrid::frmEditGrid(frmDocument* doc) : doc_(doc)
{
    setObjectName(QStringLiteral("frmEditGrid"));
    setWindowTitle(QStringLiteral("Grid"));
    const GridParams initial;
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    const auto box = [this, grid](const char* name, const char* caption, const char* accessible,
                                  const QString& text, int row) {
        auto* edit = new QLineEdit(text, this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setAccessibleName(QString::fromLatin1(accessible));
        if (caption) {
            auto* label = new QLabel(QString::fromLatin1(caption), this);
            label->setBuddy(edit);
            grid->addWidget(label, row, 0);
        }
        grid->addWidget(edit, row, 1);
        return edit;
    };
    Text1 = box("Text1", "Clomns:", "Columns", NumberText(initial.columns), 0);
    Text2 = box("Text2", "Rows:", "Rows", NumberText(initial.rows), 1);
    Check1 = new QCheckBox(QStringLiteral("3D"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setAccessibleName(QStringLiteral("3D"));
    Check1->setChecked(initial.threeD);
    grid->addWidget(Check1, 2, 0);
    Text3 = box("Text3", nullptr, "Line width", QString::number(initial.width), 2);
    Text3->setEnabled(false);
    layout->addLayout(grid);

    const OkCancel buttons = AddOkCancel(this, layout);
    Command1 = buttons.ok;
    Command2 = buttons.cancel;
    connect(Check1, &QCheckBox::clicked, this, &frmEditGrid::Check1_Click);
    connect(Command1, &QPushButton::clicked, this, &frmEditGrid::Command1_Click);
}

void frmEditGrid::Check1_Click()
{
    Text3->setEnabled(Check1->isChecked());
}

void frmEditGrid::Command1_Click()
{
    GridParams p;
    // A width below 1 is no pen at all, one above the limit no pen a canvas takes: nothing is
    // drawn and the dialog stays open to mend it.
    if (!GridWidthFromText(Text3->text(), &p.width)) {
        QMessageBox::warning(this, kAppTitle,
                             QStringLiteral("The line width must be a number from 1 to %1.").arg(kGridMaxWidth));
        Text3->setEnabled(true);
        Text3->setFocus();
        Text3->selectAll();
        return;
    }
    p.columns = GridCountFromText(Text1->text());
    p.rows = GridCountFromText(Text2->text());
    p.threeD = Check1->isChecked();
    Canvas& canvas = doc_->canvas();
    p.color = canvas.ForeColor();
    p.face = ButtonFaceColor();
    p.shadow = ButtonShadowColor();
    hide();
    DrawGrid(canvas.buffer(), p);
    canvas.Refresh();
    accept();
}

void mnuEditGrid_Click(frmDocument* doc)
{
    doc->TakeUndoSnapshot();
    frmEditGrid dialog(doc);
    ShowEffectDialog(&dialog);
}

} // namespace orv
