#include "shell/ui/cancellable_dialog.h"
#include <QCloseEvent>

namespace orv {

bool CancellableDialog::runCancellable(const std::function<void(const std::atomic<bool>&)>& work,
                                       const QList<QWidget*>& waiting)
{
    cancel_ = false;
    working_ = true;
    for (QWidget* w : waiting) w->setEnabled(false);
    work(cancel_);
    for (QWidget* w : waiting) w->setEnabled(true);
    working_ = false;
    if (pendingResult_ < 0) return true;
    // The dialog was closed during the work: it closes now that the work has stopped.
    const int r = pendingResult_;
    pendingResult_ = -1;
    done(r);
    return false;
}

void CancellableDialog::done(int result)
{
    if (working_) {
        cancel_ = true;
        pendingResult_ = result;
        return;
    }
    closing();
    QDialog::done(result);
}

void CancellableDialog::closeEvent(QCloseEvent* event)
{
    if (working_) {
        cancel_ = true;
        pendingResult_ = Rejected;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);   // rejects, which ends in done()
}

} // namespace orv
