#include "effects/ui/frmProccessing.h"
#include <QApplication>
#include <QCloseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

frmProccessing::frmProccessing(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmProccessing"));
    setWindowTitle(QStringLiteral("Proccessing..."));
    auto* layout = new QVBoxLayout(this);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setMinimumWidth(280);
    layout->addWidget(ProgressBar1);
    Command1 = new QPushButton(QStringLiteral("Cancel"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    layout->addWidget(Command1, 0, Qt::AlignRight);
    connect(Command1, &QPushButton::clicked, this, [] { CancelRequested = true; });
}

void frmProccessing::closeEvent(QCloseEvent* event)
{
    if (event->spontaneous()) {   // the window's close button
        CancelRequested = true;
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);   // the run closing the dialog at its end
}

void frmProccessing::setProgress(float value)
{
    ProgressBar1->setValue(static_cast<int>(value));
}

bool frmProccessing::cancelRequested()
{
    QApplication::processEvents();
    return CancelRequested;
}

} // namespace orv
