#include "fills/ui/image_fill_command.h"
#include "documents/image_loader.h"
#include "documents/ui/frmDocument.h"
#include "fills/image_fill.h"
#include "shell/settings_store.h"
#include "shell/ui/frmMain.h"
#include "shell/ui/open_dialog.h"
#include <QMessageBox>

namespace orv {

void mnuEditFillImage_Click(frmDocument* doc)
{
    const QString path = RunOpenDialog(frmMain::instance(), QStringLiteral("Open"), kOpenPictureFilter);
    if (path.isEmpty()) return;
    FillWithImage(doc, path);
}

void FillWithImage(frmDocument* doc, const QString& path)
{
    // The scratch picture takes the file's picture at its own size, through the loader the
    // file's ending names; a file neither loader takes is refused rather than tiling whatever
    // the scratch picture held before.
    Canvas& tile = doc->picTemp;
    QString error;
    switch (LoaderFor(path)) {
    case PictureLoader::Picture:
        tile.setAutoSize(true);
        error = LoadPicture(tile, path);
        tile.setAutoSize(false);
        break;
    case PictureLoader::ImageFile: error = LoadImageFile(tile, path); break;
    case PictureLoader::None: error = UnsupportedTypeError(path); break;
    }
    Canvas& canvas = doc->canvas();
    canvas.setScaleMode(kScalePixels);
    if (error.isEmpty() && tile.Image().isNull()) error = EmptyPictureError(path);
    if (error.isEmpty()) {
        doc->TakeUndoSnapshot();
        TileImage(canvas.buffer(), tile.Image());
    }
    if (!error.isEmpty()) {
        QMessageBox::warning(frmMain::instance(), kAppTitle, error, QMessageBox::Ok);
        return;
    }
    canvas.Refresh();
    canvas.setScaleMode(kScaleTwips);
}

} // namespace orv
