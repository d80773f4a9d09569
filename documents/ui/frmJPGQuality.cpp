#include "documents/ui/frmJPGQuality.h"
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace orv {

frmJPGQuality::frmJPGQuality(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmJPGQuality"));
    setWindowTitle(QStringLiteral("JPEG Save quality"));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    Slider1 = new QSlider(Qt::Horizontal, this);
    Slider1->setObjectName(QStringLiteral("Slider1"));
    Slider1->setRange(0, 100);
    Slider1->setSingleStep(1);
    Slider1->setPageStep(5);
    Slider1->setValue(85);
    Slider1->setMinimumWidth(220);
    Label1 = new QLabel(QStringLiteral("85"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setMinimumWidth(30);
    row->addWidget(Slider1);
    row->addWidget(Label1);
    layout->addLayout(row);
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    layout->addWidget(Command1, 0, Qt::AlignRight);
    connect(Slider1, &QSlider::valueChanged, Label1, [this](int v) { Label1->setNum(v); });
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);
}

int frmJPGQuality::Ask(QWidget* owner)
{
    frmJPGQuality dialog(owner);
    dialog.exec();   // OK and the window's close button both keep the value shown
    return dialog.Slider1->value();
}

} // namespace orv
