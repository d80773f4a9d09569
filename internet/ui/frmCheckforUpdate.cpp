#include "internet/ui/frmCheckforUpdate.h"
#include "internet/version_check.h"
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace orv {

frmCheckforUpdate::frmCheckforUpdate(const QString& address, QWidget* parent)
    : CancellableDialog(parent), address_(address)
{
    setObjectName(QStringLiteral("frmCheckforUpdate"));
    setWindowTitle(QStringLiteral("Check for Update"));
    setModal(true);
    // The labels show the server's answer and messages naming addresses: never as markup.
    Label1 = new QLabel(this);
    Label1->setAccessibleName(QStringLiteral("Status"));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setWordWrap(true);
    Label2 = new QLabel(this);
    Label2->setAccessibleName(QStringLiteral("Latest version"));
    Label2->setTextFormat(Qt::PlainText);
    Label3 = new QLabel(this);
    Label3->setAccessibleName(QStringLiteral("Current version"));
    Label3->setTextFormat(Qt::PlainText);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setAccessibleName(QStringLiteral("Progress"));
    ProgressBar1->setRange(0, 14);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setAccessibleName(QStringLiteral("OK"));
    Command1->hide();
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);

    auto* box = new QVBoxLayout(this);
    for (QWidget* w : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Label2),
                       static_cast<QWidget*>(Label3), static_cast<QWidget*>(ProgressBar1)})
        box->addWidget(w);
    box->addWidget(Command1, 0, Qt::AlignRight);
    resize(360, 160);
}

void frmCheckforUpdate::showEvent(QShowEvent* event)
{
    CancellableDialog::showEvent(event);
    // The check runs once the dialog is on the screen, so that it is seen while it works.
    if (!checked_) {
        checked_ = true;
        QTimer::singleShot(0, this, &frmCheckforUpdate::Form_Load);
    }
}

void frmCheckforUpdate::Inet1_StateChanged(TransferState state)
{
    struct Row { TransferState state; const char* text; int progress; };
    static const Row rows[] = {
        {TransferState::Resolved, "Found IP Address", 3},
        {TransferState::Connecting, "Connecting...", 4},
        {TransferState::Connected, "Connected", 5},
        {TransferState::Requesting, "Sending Info", 6},
        {TransferState::RequestSent, "Request Successfully sent", 7},
        {TransferState::ResponseReceived, "Got Responce", 8},
        {TransferState::Closing, "Disconnecting...", 9},
        {TransferState::Closed, "Finished...", 10},
        {TransferState::Error, "An Error has occured", -1},
        {TransferState::Completed, "Finished", 11},
    };
    for (const Row& row : rows) {
        if (row.state != state) continue;
        Label1->setText(QString::fromLatin1(row.text));
        if (row.progress >= 0) ProgressBar1->setValue(row.progress);
    }
}

void frmCheckforUpdate::Form_Load()
{
    Label1->setText(QStringLiteral("Checking last version..."));
    HttpResult got;
    HttpLimits limits;
    limits.maxBodyBytes = kMaxVersionFileBytes;
    runCancellable([&](const std::atomic<bool>& cancel) {
        got = HttpGet(address_, [this](TransferState s) { Inet1_StateChanged(s); }, cancel, limits);
    }, {});
    if (got.cancelled) return;
    if (!got.ok()) {
        Label1->setText(got.error);
        Command1->show();
        return;
    }
    const QString latest = BodyText(got.body).trimmed();
    ProgressBar1->setValue(1);
    Label1->setText(QStringLiteral("Getting current version..."));
    const QString current = RunningVersionText();
    ProgressBar1->setValue(12);
    Label1->setText(QStringLiteral("Updating information..."));
    Label2->setText(QStringLiteral("Latest version: 3.") + ShownVersionText(latest));
    Label3->setText(QStringLiteral("Current version: 3.") + current);
    ProgressBar1->setValue(13);
    Label1->setText(QStringLiteral("Comparing versions..."));
    switch (CompareVersions(latest, current)) {
    case VersionOrder::NotAVersion:
        Label1->setText(QStringLiteral("The update server's answer is not a version number."));
        Command1->show();
        return;
    case VersionOrder::Newer: {
        QMessageBox box(QMessageBox::Information, QStringLiteral("Please update"),
                        QStringLiteral("Please update! Version 3.") + latest + QStringLiteral(" is out (See readme.txt)."),
                        QMessageBox::Ok, this);
        box.setTextFormat(Qt::PlainText);
        box.exec();
        break;
    }
    case VersionOrder::NotNewer:
        break;
    }
    ProgressBar1->setValue(14);
    Label1->setText(QStringLiteral("Finished"));
    Command1->show();
}

} // namespace orv
