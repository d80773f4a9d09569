#include "desktop/ui/frmScan.h"
#include "platform/background_call.h"
#include "platform/picture_codec.h"
#include "platform/work_folder.h"
#include "shell/settings_store.h"
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>

namespace orv {

frmScan::frmScan(const ScanDevice& device, const ScanChoices& choices, QWidget* parent)
    : CancellableDialog(parent), device_(device)
{
    setObjectName(QStringLiteral("frmScan"));
    setWindowTitle(QStringLiteral("Scan"));
    setModal(true);
    Label1 = new QLabel(device.label, this);
    Label1->setAccessibleName(QStringLiteral("Scanner"));
    Combo1 = new QComboBox(this);
    Combo1->setAccessibleName(QStringLiteral("Mode"));
    Combo1->addItems(choices.modes);
    Combo1->setCurrentText(choices.mode);
    Combo2 = new QComboBox(this);
    Combo2->setAccessibleName(QStringLiteral("Resolution"));
    for (int dpi : choices.resolutions) Combo2->addItem(QStringLiteral("%1 dpi").arg(dpi), dpi);
    Combo2->setCurrentIndex(std::max(0, int(choices.resolutions.indexOf(choices.resolution))));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setAccessibleName(QStringLiteral("Progress"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    Command1 = new QPushButton(QStringLiteral("Scan"), this);
    Command1->setAccessibleName(QStringLiteral("Scan"));
    Command1->setDefault(true);
    Command2 = new QPushButton(QStringLiteral("Cancel"), this);
    Command2->setAccessibleName(QStringLiteral("Cancel"));

    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Scanner:"), Label1);
    form->addRow(QStringLiteral("Mode:"), Combo1);
    form->addRow(QStringLiteral("Resolution:"), Combo2);
    form->addRow(ProgressBar1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    form->addRow(buttons);

    connect(Command1, &QPushButton::clicked, this, &frmScan::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
}

void frmScan::Command1_Click()
{
    const ScanSettings settings{Combo1->currentText(), Combo2->currentData().toInt()};
    std::atomic<int> percent{0};
    ScanResult scanned;
    const bool open = runCancellable([&](const std::atomic<bool>& cancel) {
        RunWhileProcessingEvents(
            [&] { scanned = AcquirePicture(device_.name, settings, [&](int p) { percent = p; }, cancel); },
            [&] { ProgressBar1->setValue(percent); });
    }, {Combo1, Combo2, Command1});
    if (!open || scanned.cancelled) return;
    QString error = scanned.error;
    const QString file = WorkFile(QStringLiteral("Scan.tmp"));
    if (error.isEmpty() && CreateWorkFile(file, &error) && EncodeBmp24(scanned.image, file, &error)) {
        accept();
        return;
    }
    ProgressBar1->setValue(0);
    QMessageBox::warning(this, kAppTitle, error, QMessageBox::Ok);
}

} // namespace orv
