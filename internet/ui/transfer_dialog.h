#pragma once
// A modal dialog that fetches web addresses: while a transfer runs the dialog stays painted,
// its controls wait, and Cancel or closing the dialog stops the transfer before it closes.
#include "platform/http_client.h"
#include <QDialog>

namespace orv {

class TransferDialog : public QDialog {
    Q_OBJECT
public:
    using QDialog::QDialog;
    bool transferring() const { return transferring_; }

public slots:
    void done(int result) override;

protected:
    // Fetches `address`; `onState` sees each transfer state. While it runs, the widgets in
    // `waiting` are disabled.
    HttpResult fetch(const QString& address, const TransferStateHandler& onState,
                     const QList<QWidget*>& waiting);
    // Runs once when the dialog closes, after any transfer has stopped.
    virtual void closing() {}
    void closeEvent(QCloseEvent* event) override;

private:
    std::atomic<bool> cancel_{false};
    bool transferring_ = false;
    int pendingResult_ = -1;   // a close asked for during a transfer
};

} // namespace orv
