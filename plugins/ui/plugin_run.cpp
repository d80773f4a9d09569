// Running a plug-in on a document: the picture goes to the hand-over file "Plugin.tmp" in the
// work folder, the helper process runs the plug-in's DisplayForm on it, and a True answer
// makes the file the document's new picture (after the undo snapshot). The document keeps
// its picture whenever anything goes wrong; a crash of the plug-in ends only the helper. The
// hand-over file is made anew before each run and removed after it, whatever happened: what
// a plug-in leaves under its name (a link to one of the user's files) is never written through.
#include "plugins/ui/plugin_run.h"
#include "documents/ui/frmDocument.h"
#include "platform/picture_codec.h"
#include "platform/work_folder.h"
#include "plugins/plugin_host.h"
#include "plugins/ui/plugin_menu.h"
#include "shell/ui/frmMain.h"
#include <QAction>
#include <QDialog>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>
#include <QVBoxLayout>
#include <sys/stat.h>

namespace orv {

namespace {

constexpr int kTrue = -1;

HostCall* gRun = nullptr;                       // the helper of the run going on
bool gStopped = false;                          // ended by StopPlugInRunThen
std::vector<std::function<void()>> gAfterRun;   // what waits for the run's end

void ShowRunError(QWidget* owner, const QString& cause)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Plugin error"),
                    QStringLiteral("Error while running plugin. Quiting plugin."), QMessageBox::Ok, owner);
    box.setInformativeText(cause);
    box.exec();
}

// The window shown while a plug-in runs: the frame is disabled meanwhile, and a plug-in that
// hangs without a window of its own can still be stopped from here.
class PlugInWait : public QDialog {
public:
    PlugInWait(QWidget* owner, const QString& name) : QDialog(owner)
    {
        setObjectName(QStringLiteral("frmPlugInWait"));
        setWindowTitle(name);
        auto* layout = new QVBoxLayout(this);
        auto* text = new QLabel(QStringLiteral("The plug-in \"%1\" is open in its own window.\n"
                                               "The picture changes when you finish there.")
                                    .arg(name),
                                this);
        text->setAccessibleName(QStringLiteral("Plug-in status"));
        layout->addWidget(text);
        Stop = new QPushButton(QStringLiteral("Stop plug-in"), this);
        Stop->setAccessibleName(QStringLiteral("Stop plug-in"));
        layout->addWidget(Stop, 0, Qt::AlignRight);
        connect(Stop, &QPushButton::clicked, this, &QDialog::reject);
    }
    QPushButton* Stop;
};

// What went wrong with a helper that gave no result.
QString HostProblem(HostCall& host, const HostReply& reply)
{
    QProcess& p = host.process();
    if (p.error() == QProcess::FailedToStart)
        return QStringLiteral("The plug-in helper \"%1\" cannot be started: %2.").arg(p.program(), p.errorString());
    if (reply.kind == HostReply::Kind::NotCreated) return QStringLiteral("The plug-in's object cannot be created.");
    if (p.exitStatus() == QProcess::CrashExit) return QStringLiteral("The plug-in ended before it answered.");
    return QStringLiteral("The plug-in gave no proper answer.");
}

// The native window of the frame that the plug-in's windows stay above; only an X11 window
// means anything to another process.
quintptr OwnerWindow(QWidget* frame)
{
    return QGuiApplication::platformName() == QLatin1String("xcb") ? quintptr(frame->winId()) : 0;
}

// Runs the plug-in's DisplayForm in the helper and waits for the helper to end, for as long
// as it takes: a plug-in window may stay open as long as the user likes.
HostReply RunInHost(frmMain* main, const PlugInRecord& record, const QString& file, QString* problem)
{
    HostCall host(PlugInRunArguments(record, file, OwnerWindow(main)));
    gRun = &host;
    const auto ended = qScopeGuard([] { gRun = nullptr; });
    QEventLoop loop;
    QObject::connect(&host.process(), &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&host.process(), &QProcess::errorOccurred, &loop, &QEventLoop::quit);

    PlugInWait wait(main, record.Name);
    QObject::connect(&wait, &QDialog::rejected, &host.process(), &QProcess::kill);
    if (host.process().waitForStarted(-1)) {
        main->setEnabled(false);
        wait.show();
        wait.setEnabled(true);
        if (host.process().state() != QProcess::NotRunning) loop.exec();
        wait.hide();
        main->setEnabled(true);
    }
    const HostReply reply = host.reply();
    if (reply.kind != HostReply::Kind::Result) *problem = HostProblem(host, reply);
    return reply;
}

} // namespace

bool PlugInRunning()
{
    return gRun != nullptr;
}

void StopPlugInRunThen(std::function<void()> then)
{
    gAfterRun.push_back(std::move(then));
    if (gRun) {
        gStopped = true;
        gRun->process().kill();
    }
}

void frmDocument::mnuPlugIn_Click(int index)
{
    if (PlugInRunning()) return;
    const QList<QAction*> items = PlugInItems(this);
    const PlugInRecord* record =
        index >= 0 && index < items.size() ? main_->PlugIns.find(items[index]->data().toString()) : nullptr;
    const QString file = WorkFile(QStringLiteral("Plugin.tmp"));
    const auto done = qScopeGuard([this, file] {
        RemoveWorkFile(file);
        gStopped = false;
        for (std::function<void()>& then : std::exchange(gAfterRun, {})) QTimer::singleShot(0, qApp, std::move(then));
    });
    // The picture handed over is this document's, whichever window was active before.
    if (QMdiSubWindow* sw = subWindow()) main_->mdiArea()->setActiveSubWindow(sw);
    QString error;
    if (!record) error = QStringLiteral("The plug-in is not in the plug-in table.");
    else if (file.isEmpty()) error = QStringLiteral("The work folder cannot be made.");
    if (!error.isEmpty() || !CreateWorkFile(file, &error) || !main_->PlugInPicSave(file, &error)) {
        ShowRunError(main_, error);
        return;
    }
    const HostReply reply = RunInHost(main_, *record, file, &error);
    // The frame was disabled and another window active: this document is the active one
    // again, for the undo snapshot, the next plug-in and every other command.
    main_->activateWindow();
    if (QMdiSubWindow* sw = subWindow()) main_->mdiArea()->setActiveSubWindow(sw);
    if (gStopped) return;   // the frame or this document is closing: no message in its way
    if (reply.kind != HostReply::Kind::Result) {
        ShowRunError(main_, error);
        return;
    }
    // Only a regular file counts: a plug-in that deleted the file, or left a link or anything
    // else under its name, gave no result.
    struct stat st {};
    if (::lstat(QFile::encodeName(file).constData(), &st) != 0 || !S_ISREG(st.st_mode) || reply.result != kTrue) return;
    // Decoded first: a result that cannot be read leaves the document as it was.
    DecodeOptions options;
    options.background = canvas().BackColor();
    const DecodedPicture result = DecodePictureFile(file, options);
    if (!result.ok()) {
        ShowRunError(main_, result.error);
        return;
    }
    setUndoStepName(items[index]->text().remove(QLatin1Char('&')));
    TakeUndoSnapshot();
    setUndoStepName({});
    canvas().setPicture(result.image);   // the canvas keeps its size, as Undo does
}

} // namespace orv
