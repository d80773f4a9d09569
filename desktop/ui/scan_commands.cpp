#include "desktop/ui/scan_commands.h"
#include "desktop/scanner_probe.h"
#include "desktop/ui/frmScan.h"
#include "documents/ui/frmDocument.h"
#include "platform/picture_codec.h"
#include "platform/work_folder.h"
#include "shell/settings_store.h"
#include "shell/ui/frmMain.h"
#include <QFile>
#include <QInputDialog>
#include <QMessageBox>

namespace orv {

namespace {

QString gChosenDevice;   // for this run of the program only

// The chosen scanner, or the first one found; none when there is no scanner.
std::optional<ScanDevice> CurrentDevice()
{
    const QList<ScanDevice> devices = KnownScanners();
    for (const ScanDevice& d : devices)
        if (d.name == gChosenDevice) return d;
    if (devices.isEmpty()) return std::nullopt;
    return devices.first();
}

} // namespace

void SelectScanSource(QWidget* owner)
{
    const QList<ScanDevice> devices = KnownScanners();
    if (devices.isEmpty()) {
        QMessageBox::warning(owner, kAppTitle, QStringLiteral("No scanner was found."), QMessageBox::Ok);
        return;
    }
    QStringList labels;
    int current = 0;
    for (const ScanDevice& d : devices) {
        if (d.name == gChosenDevice) current = int(labels.size());
        labels << QStringLiteral("%1 — %2").arg(d.name, d.label);
    }
    bool ok = false;
    const QString chosen = QInputDialog::getItem(owner, QStringLiteral("Select source"),
                                                 QStringLiteral("Scanner:"), labels, current, false, &ok);
    if (ok) gChosenDevice = devices[labels.indexOf(chosen)].name;
}

void ScanToNewDocument(QWidget* owner, frmMain* main)
{
    const std::optional<ScanDevice> device = CurrentDevice();
    if (!device) {
        QMessageBox::warning(owner, kAppTitle, QStringLiteral("No scanner was found."), QMessageBox::Ok);
        return;
    }
    ScanChoices choices;
    QString error;
    if (!ReadScanChoices(device->name, &choices, &error)) {
        QMessageBox::warning(owner, kAppTitle, error, QMessageBox::Ok);
        return;
    }
    const QString scanFile = WorkFile(QStringLiteral("Scan.tmp"));
    RemoveWorkFile(scanFile);
    // The dialog belongs to the frame, not to a document that may close during the scan.
    frmScan dialog(*device, choices, owner->window());
    if (dialog.exec() != QDialog::Accepted || !QFile::exists(scanFile)) {
        RemoveWorkFile(scanFile);
        return;
    }

    const DecodedPicture picture = DecodePictureFile(scanFile, QStringLiteral("BMP"));
    RemoveWorkFile(scanFile);
    if (!picture.ok()) {
        QMessageBox::warning(main, kAppTitle, picture.error, QMessageBox::Ok);
        return;
    }
    // The new document takes the scanned picture and its size, its handles at its edges.
    frmDocument* d = main->LoadNewDoc();
    Canvas& canvas = d->canvas();
    canvas.setAutoSize(true);
    canvas.setPicture(picture.image);
    canvas.setAutoSize(false);
    canvas.Refresh();
    main->FitWindowToPicture(d);
}

} // namespace orv
