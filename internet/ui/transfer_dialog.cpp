#include "internet/ui/transfer_dialog.h"
#include <QCloseEvent>

namespace orv {

HttpResult TransferDialog::fetch(const QString& address, const TransferStateHandler& onState,
                                 const QList<QWidget*>& waiting)
{
    cancel_ = false;
    transferring_ = true;
    for (QWidget* w : waiting) w->setEnabled(false);
    HttpResult result = HttpGet(address, onState, cancel_);
    for (QWidget* w : waiting) w->setEnabled(true);
    transferring_ = false;
    if (pendingResult_ >= 0) {
        // The dialog was closed while the transfer ran: it closes now that the transfer is over.
        const int r = pendingResult_;
        pendingResult_ = -1;
        done(r);
        result.cancelled = true;
    }
    return result;
}

void TransferDialog::done(int result)
{
    if (transferring_) {
        cancel_ = true;
        pendingResult_ = result;
        return;
    }
    closing();
    QDialog::done(result);
}

void TransferDialog::closeEvent(QCloseEvent* event)
{
    if (transferring_) {
        cancel_ = true;
        pendingResult_ = Rejected;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);   // rejects, which ends in done()
}

} // namespace orv
