#include "effects/ui/scroll_value_dialog.h"
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace orv {

ScrollValueDialog::ScrollValueDialog(const QString& objectName, const QString& caption, int minimum,
                                     int maximum, int initial)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    HScroll1->setRange(minimum, maximum);
    HScroll1->setValue(initial);
    HScroll1->setMinimumWidth(260);
    layout->addWidget(HScroll1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command2 = new QPushButton(QStringLiteral("Cancel"), this);
    Command1->setDefault(true);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    layout->addLayout(buttons);
    connect(Command1, &QPushButton::clicked, this, [this] { emit okClicked(HScroll1->value()); });
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace orv
