// Opening picture files into new documents: File > Open, the command line and dropped files
// all end in frmMain::OpenFile.
#include "documents/image_loader.h"
#include "documents/ui/canvas_view.h"
#include "documents/ui/frmDocument.h"
#include "platform/recent_files.h"
#include "shell/file_names.h"
#include "shell/settings_store.h"
#include "shell/ui/frmMain.h"
#include "shell/ui/open_dialog.h"
#include "shell/ui/window_bar.h"
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>

namespace orv {

void frmMain::mnuFileOpen_Click()
{
    // The open and save dialogs share the name they start from.
    const QString path = RunOpenDialog(this, QStringLiteral("Open"), kOpenPictureFilter, dialogFileName);
    if (path.isEmpty()) return;
    dialogFileName = path;
    OpenFile(path);
}

void frmMain::FitWindowToPicture(frmDocument* d)
{
    d->DrawIMG_Resize();
    QMdiSubWindow* sw = d->subWindow();
    // Before the frame shows, the workspace has no size yet: its first show fits the windows.
    if (!sw || sw->isMinimized() || !isVisible()) return;
    if (sw->isMaximized()) {   // the window keeps its size; a picture larger than it is shown whole
        d->zoomTo(d->fitStep(sw->contentsRect().size(), kActualSizeStep), {});
        return;
    }
    // A picture larger than the workspace: the window fills the visible workspace and the view
    // fits the whole picture in it.
    const QRect workspace = mdi_->viewport()->rect();
    const QSize frame = sw->size() - sw->contentsRect().size();   // title bar and borders
    const int step = d->fitStep(workspace.size() - frame, kActualSizeStep);
    if (step < kActualSizeStep) {
        sw->setGeometry(workspace);
        d->zoomTo(step, {});
        return;
    }
    // One that fits keeps 1:1. The handles follow the canvas (placed on its resize); the
    // window is widened, never heightened, so that the right-edge handle shows.
    d->zoomTo(kActualSizeStep, {});
    const int needed = d->Picture1->x() + d->Picture1->width() + TwipsToPixels(150);
    // The document's width as its window gives it (it takes it only when next laid out).
    const int width = sw->contentsRect().width();
    if (needed > width) sw->resize(sw->width() + needed - width, sw->height());
    keepInWorkspace(sw);
}

void frmMain::OpenFile(const QString& path)
{
    frmDocument* d = LoadNewDoc();
    Canvas& canvas = d->canvas();
    canvas.setAutoSize(true);
    d->setWindowTitle(GetFileName(path));
    windowBar_->Holder_Resize();

    QString error;
    switch (LoaderFor(path)) {
    case PictureLoader::Picture: error = LoadPicture(canvas, path); break;
    case PictureLoader::ImageFile: error = LoadImageFile(canvas, path); break;
    case PictureLoader::None: error = UnsupportedTypeError(path); break;
    }
    if (!error.isEmpty()) {
        canvas.setAutoSize(false);
        QMessageBox::warning(this, kAppTitle, error, QMessageBox::Ok);
        return;
    }
    canvas.Refresh();
    d->setFilePath(path);   // Save writes the file again

    FitWindowToPicture(d);

    // The desktop's recent list is a convenience: a failure there never stops an open.
    QString recentError;
    AddToRecentFiles(path, RecentFilesListPath(), &recentError);

    canvas.setScaleMode(kScaleTwips);
    d->Picture4->update();
    canvas.setAutoSize(false);
}

} // namespace orv
