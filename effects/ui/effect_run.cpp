#include "effects/ui/effect_run.h"
#include "documents/ui/canvas_view.h"
#include "documents/ui/frmDocument.h"
#include "effects/ui/frmProccessing.h"
#include "shell/ui/frmMain.h"
#include "shell/settings_store.h"
#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QScopeGuard>
#include <QTimer>

namespace orv {

namespace {
int gRunning = 0;
std::vector<std::function<void()>> gAfterRun;
} // namespace

bool EffectRunning()
{
    return gRunning > 0;
}

void CancelEffectRunThen(std::function<void()> then)
{
    CancelRequested = true;
    gAfterRun.push_back(std::move(then));
}

bool EffectRun(frmDocument* doc, const EffectRunRequest& request)
{
    ++gRunning;
    const auto ended = qScopeGuard([] {
        // What waited for the run (a close of the frame or a document) runs from the event
        // loop, once nothing on the stack refers to the document any more.
        if (--gRunning == 0)
            for (std::function<void()>& then : std::exchange(gAfterRun, {}))
                QTimer::singleShot(0, qApp, std::move(then));
    });
    if (request.dialog) request.dialog->hide();
    if (!request.snapshotTaken) doc->TakeUndoSnapshot();

    frmMain* main = frmMain::instance();
    frmProccessing progress(main);
    progress.setWindowTitle(request.caption);
    progress.show();
    progress.repaint();
    // The main window is disabled; the progress dialog is a window of its own and stays usable.
    if (main) main->setEnabled(false);
    progress.setEnabled(true);

    Canvas& canvas = doc->canvas();
    canvas.setScaleMode(kScalePixels);
    CancelRequested = false;
    const QSize before(canvas.pixelWidth(), canvas.pixelHeight());
    bool finished = false;
    bool outOfMemory = false;
    try {
        finished = RunOnWorkingCopy(canvas.buffer(), request.makePasses, &progress);
    } catch (const std::bad_alloc&) {
        outOfMemory = true;   // the canvas is untouched: the write-back never happened
    }
    if (finished) {
        if (QSize(canvas.pixelWidth(), canvas.pixelHeight()) != before && canvas.onResize)
            canvas.onResize();
        canvas.Refresh();
    }

    if (main) main->setEnabled(true);
    if (outOfMemory) ShowOutOfMemory(main);
    if (request.dialog) request.dialog->done(finished ? QDialog::Accepted : QDialog::Rejected);
    progress.close();
    return finished;
}

void ShowOutOfMemory(QWidget* owner)
{
    QMessageBox::warning(owner, kAppTitle,
                         QStringLiteral("There is not enough memory to apply this effect to the picture."));
}

void ShowEffectDialog(QDialog* dialog)
{
    // The window manager's title bar holds the caption beside the window's icon and buttons,
    // in a bold face: a dialog narrower than that shows its caption cut short.
    QFont bold = dialog->font();
    bold.setBold(true);
    constexpr int kTitleBarAllowance = 140;   // icon, buttons and margins
    const int captionWidth = QFontMetrics(bold).horizontalAdvance(dialog->windowTitle()) + kTitleBarAllowance;
    dialog->setMinimumWidth(std::max(dialog->minimumSizeHint().width(), captionWidth));
    dialog->setParent(frmMain::instance(), dialog->windowFlags() | Qt::Dialog);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->exec();
}

} // namespace orv
