#pragma once
// The progress dialog of effect runs: a caption per effect, a 0..100 bar and a Cancel button
// that only raises CancelRequested; the running effect notices it after the current column.
#include "effects/column_passes.h"
#include <QDialog>

class QProgressBar;
class QPushButton;

namespace orv {

// Set by the progress dialog's Cancel, cleared by every run before its pixel loop.
inline bool CancelRequested = false;

class frmProccessing : public QDialog, public ProgressSink {
    Q_OBJECT
public:
    explicit frmProccessing(QWidget* owner);

    QProgressBar* ProgressBar1;
    QPushButton* Command1;

    // ProgressSink: the bar's value; pending events run, then the cancel flag is read.
    void setProgress(float value) override;
    bool cancelRequested() override;

protected:
    // Escape and the window's close button ask to cancel, like the Cancel button; the run
    // closes the dialog itself when it ends.
    void reject() override { CancelRequested = true; }
    void closeEvent(QCloseEvent* event) override;
};

} // namespace orv
