#pragma once
// The scan dialog: the device's mode and resolution, Scan, Cancel and the progress of the
// scan. A finished scan is written to the work file "Scan.tmp" as a bitmap.
#include "desktop/scanner.h"
#include "shell/ui/cancellable_dialog.h"

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace orv {

class frmScan : public CancellableDialog {
    Q_OBJECT
public:
    frmScan(const ScanDevice& device, const ScanChoices& choices, QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;          // the device
    QComboBox* Combo1 = nullptr;       // mode
    QComboBox* Combo2 = nullptr;       // resolution
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* Command1 = nullptr;   // Scan
    QPushButton* Command2 = nullptr;   // Cancel

    // Scans; on success the picture is in "Scan.tmp" and the dialog is accepted. A failure
    // gives a message and leaves the dialog open; a cancel closes it without one.
    void Command1_Click();

private:
    ScanDevice device_;
};

} // namespace orv
