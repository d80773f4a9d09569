#pragma once
// The update check: fetches the latest version from the update server, shows it beside the
// running version, and asks the user to update when the latest is newer.
#include "platform/http_client.h"
#include "shell/ui/cancellable_dialog.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace orv {

class frmCheckforUpdate : public CancellableDialog {
    Q_OBJECT
public:
    // `address` is the version file's address ("<server>/orvane3.upd").
    explicit frmCheckforUpdate(const QString& address, QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;          // status line
    QLabel* Label2 = nullptr;          // latest version
    QLabel* Label3 = nullptr;          // running version
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* Command1 = nullptr;   // OK, shown when the check has ended

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void Inet1_StateChanged(TransferState state);

    QString address_;
    bool checked_ = false;
};

} // namespace orv
