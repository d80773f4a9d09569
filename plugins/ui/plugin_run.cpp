// Running a plug-in on a document: the picture goes to the hand-over file "Plugin.tmp" in the
// work folder, the helper process runs the plug-in's DisplayForm on it, and a True answer
// makes the file the document's new picture (after the undo snapshot). The document keeps
// its picture whenever anything goes wrong; a crash of the plug-in ends only the helper.
#include "documents/ui/frmDocument.h"
#include "platform/picture_codec.h"
#include "platform/work_folder.h"
#include "plugins/host_protocol.h"
#include "plugins/plugin_host.h"
#include "plugins/ui/plugin_menu.h"
#include "shell/ui/frmMain.h"
#include <QAction>
#include <QDialog>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

namespace {

constexpr int kTrue = -1;

void ShowRunError(QWidget* owner)
{
    QMessageBox::critical(owner, QStringLiteral("Plugin error"),
                          QStringLiteral("Error while running plugin. Quiting plugin."));
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

// Runs the plug-in's DisplayForm in the helper and waits for the helper to end, for as long
// as it takes: a plug-in window may stay open as long as the user likes.
HostReply RunInHost(frmMain* main, const PlugInRecord& record, const QString& file)
{
    QProcess host;
    host.setProgram(PlugInHostProgram());
    host.setArguments(PlugInRunArguments(record, file));
    host.setStandardInputFile(QProcess::nullDevice());
    host.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QByteArray output;
    QObject::connect(&host, &QProcess::readyReadStandardOutput, [&] {
        output += host.readAllStandardOutput();
        if (output.size() > kMaxHostReply) host.kill();   // no answer is that long
    });
    QEventLoop loop;
    QObject::connect(&host, &QProcess::finished, &loop, &QEventLoop::quit);

    PlugInWait wait(main, record.Name);
    QObject::connect(&wait, &QDialog::rejected, &host, &QProcess::kill);
    host.start();
    if (!host.waitForStarted(-1)) return {};
    main->setEnabled(false);
    wait.show();
    wait.setEnabled(true);
    if (host.state() != QProcess::NotRunning) loop.exec();
    wait.hide();
    main->setEnabled(true);
    output += host.readAllStandardOutput();
    return ParseHostReply(host.exitStatus() == QProcess::NormalExit, host.exitCode(), output);
}

} // namespace

void frmDocument::mnuPlugIn_Click(int index)
{
    const QList<QAction*> items = PlugInItems(this);
    const PlugInRecord* record =
        index >= 0 && index < items.size() ? main_->PlugIns.find(items[index]->data().toString()) : nullptr;
    const QString file = WorkFile(QStringLiteral("Plugin.tmp"));
    QString error;
    if (!record || file.isEmpty() || !main_->PlugInPicSave(file, &error)) {
        ShowRunError(main_);
        return;
    }
    const HostReply reply = RunInHost(main_, *record, file);
    main_->activateWindow();
    if (reply.kind != HostReply::Kind::Result) {
        ShowRunError(main_);
        return;
    }
    if (!QFileInfo(file).isFile()) return;   // taken away by the plug-in: nothing to load or delete
    if (reply.result == kTrue) {
        // Decoded first: a result that cannot be read leaves the document as it was.
        DecodeOptions options;
        options.background = canvas().BackColor();
        const DecodedPicture result = DecodePictureFile(file, options);
        if (!result.ok()) {
            ShowRunError(main_);
            return;
        }
        TakeUndoSnapshot();
        canvas().setPicture(result.image);   // the canvas keeps its size, as Undo does
    }
    QFile::remove(file);
}

} // namespace orv
