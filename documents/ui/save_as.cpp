// File > Save As of a document, and the main window's PlugInPicSave: the picture goes through
// the scratch surface picSaveDummy to a 24-bit bitmap or, after the quality question, a JPEG.
// A save either completes or changes nothing: the caption and Changed move only after the
// file is safely in place, and every failure is reported.
#include "documents/picture_writer.h"
#include "documents/ui/frmDocument.h"
#include "documents/ui/frmJPGQuality.h"
#include "platform/picture_codec.h"
#include "platform/recent_files.h"
#include "shell/file_names.h"
#include "shell/settings_store.h"
#include "shell/ui/frmMain.h"
#include "shell/ui/window_bar.h"
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace orv {

namespace {

const QStringList kSaveFilters = {QStringLiteral("Bitmap files (*.bmp)"),
                                  QStringLiteral("JPEG Files (*.jpg)"),
                                  QStringLiteral("All files (*.*)")};

// The save dialog: a name typed without an extension gets the selected filter's (bmp for
// "All files").
QString ShowSaveDialog(frmMain* main)
{
    QFileDialog dialog(main, QString(), main->dialogFileName);
    dialog.setObjectName(QStringLiteral("SaveDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters(kSaveFilters);
    dialog.selectNameFilter(kSaveFilters.first());
    dialog.setDefaultSuffix(QStringLiteral("bmp"));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        dialog.setDefaultSuffix(filter == kSaveFilters[1] ? QStringLiteral("jpg") : QStringLiteral("bmp"));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    main->dialogFileName = dialog.selectedFiles().first();
    return main->dialogFileName;
}

// The canvas's picture, copied into the scratch surface (the copy shares the pixels until
// either side is drawn on, so it costs nothing).
const QImage& CopyToSaveDummy(frmDocument* doc)
{
    doc->picSaveDummy.buffer() = doc->canvas().Image();
    return doc->picSaveDummy.buffer();
}

bool WriteSaveDummy(frmDocument* doc, const QString& path, QString* error)
{
    // A path that cannot be written is refused before the quality question.
    if (SaveDestination(path, error).isEmpty()) return false;
    const QImage& picture = CopyToSaveDummy(doc);
    const int quality = SaveFormatOf(path) == SaveFormat::Jpeg ? frmJPGQuality::Ask(frmMain::instance()) : 0;
    const bool written = WritePictureFile(picture, path, quality, error);
    // Once written, the scratch copy is let go: otherwise the next stroke would leave the
    // document holding a second full picture.
    doc->picSaveDummy.buffer() = NewPixelBuffer(1, 1, doc->picSaveDummy.BackColor());
    return written;
}

} // namespace

bool frmDocument::mnuFileSaveAs_Click()
{
    frmMain* main = frmMain::instance();
    const QString path = ShowSaveDialog(main);
    if (path.isEmpty()) return false;
    if (SaveFormatOf(path) == SaveFormat::Other) {
        QMessageBox::warning(main, kAppTitle,
                             QStringLiteral("Cannot save \"%1\": Orvane saves pictures as Windows bitmaps "
                                            "(.bmp) or JPEG files (.jpg). Choose a name ending in .bmp or .jpg.")
                                 .arg(QFileInfo(path).fileName()));
        return false;
    }
    QString error;
    if (!WriteSaveDummy(this, path, &error)) {
        QMessageBox::warning(main, kAppTitle, error);
        return false;
    }
    setWindowTitle(GetFileName(path));
    main->windowBar()->Holder_Resize();
    QString recentError;   // the desktop's recent list is a convenience: its failure is no save failure
    AddToRecentFiles(path, RecentFilesListPath(), &recentError);
    Changed = false;
    return true;
}

bool frmMain::PlugInPicSave(const QString& path, QString* error)
{
    frmDocument* doc = ActiveDocument();
    if (!doc) {
        *error = QStringLiteral("No picture is open.");
        return false;
    }
    return WriteSaveDummy(doc, path, error);
}

} // namespace orv
