#pragma once
// A modal dialog that runs long blocking work (a web transfer, a scan) while it stays painted:
// its waiting controls are disabled, and Cancel or closing the dialog stops the work before
// the dialog closes.
#include <QDialog>
#include <atomic>
#include <functional>

namespace orv {

class CancellableDialog : public QDialog {
    Q_OBJECT
public:
    using QDialog::QDialog;
    bool working() const { return working_; }

public slots:
    void done(int result) override;

protected:
    // Runs `work`, which must watch the cancel flag it is given and keep this thread's events
    // running. The widgets in `waiting` are disabled meanwhile. False when the dialog was
    // closed during the work: it has closed since.
    bool runCancellable(const std::function<void(const std::atomic<bool>& cancel)>& work,
                        const QList<QWidget*>& waiting);
    // Runs once when the dialog closes, after any work has stopped.
    virtual void closing() {}
    void closeEvent(QCloseEvent* event) override;

private:
    std::atomic<bool> cancel_{false};
    bool working_ = false;
    int pendingResult_ = -1;   // a close asked for during the work
};

} // namespace orv
