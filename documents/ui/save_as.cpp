// File > Save and Save As of a document, the main window's Save All and PlugInPicSave: the
// picture goes through the scratch surface picSaveDummy to a 24-bit bitmap, a 24-bit PNG or,
// after the quality question, a JPEG. Save writes the file the document came from or was last saved to
// again, without questions. A save either completes or changes nothing: the caption and Changed
// move only after the file is safely in place, and every failure is reported.
#include "documents/picture_writer.h"
#include "documents/ui/frmDocument.h"
#include "documents/ui/frmJPGQuality.h"
#include "platform/picture_codec.h"
#include "platform/recent_files.h"
#include "platform/work_folder.h"
#include "shell/file_names.h"
#include "shell/settings_store.h"
#include "shell/ui/frmMain.h"
#include "shell/ui/window_bar.h"
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QMessageBox>

namespace orv {

namespace {

const QStringList kSaveFilters = {QStringLiteral("Bitmap files (*.bmp)"),
                                  QStringLiteral("JPEG Files (*.jpg)"),
                                  QStringLiteral("PNG (*.png)"),
                                  QStringLiteral("All files (*.*)")};
const QStringList kSaveSuffixes = {QStringLiteral("bmp"), QStringLiteral("jpg"), QStringLiteral("png"),
                                   QStringLiteral("bmp")};

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
        dialog.setDefaultSuffix(kSaveSuffixes.value(kSaveFilters.indexOf(filter), kSaveSuffixes.first()));
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

// Writes the picture to `path`; a JPEG at `quality`, or at the quality the user is asked for
// when `quality` is negative (*asked tells which).
bool WriteSaveDummy(frmDocument* doc, const QString& path, int quality, QString* error, int* asked = nullptr)
{
    // A path that cannot be written is refused before the quality question.
    if (SaveDestination(path, error).isEmpty()) return false;
    const QImage& picture = CopyToSaveDummy(doc);
    if (quality < 0 && SaveFormatOf(path) == SaveFormat::Jpeg) quality = frmJPGQuality::Ask(frmMain::instance());
    if (asked) *asked = quality;
    const bool written = WritePictureFile(picture, path, quality, error);
    // Once written, the scratch copy is let go: otherwise the next stroke would leave the
    // document holding a second full picture.
    doc->picSaveDummy.buffer() = NewPixelBuffer(1, 1, doc->picSaveDummy.BackColor());
    return written;
}

} // namespace

void frmDocument::setFilePath(const QString& path)
{
    // A picture that came through a work file (Open URL, a hand-over) has no file of its own
    // to save back to: its Save asks for a name.
    filePath_ = SaveFormatOf(path) == SaveFormat::Other || IsWorkFile(path) ? QString() : path;
}

bool frmDocument::savedTo(const QString& path, int quality)
{
    frmMain* main = frmMain::instance();
    QString error;
    int chosen = quality;
    if (!WriteSaveDummy(this, path, quality, &error, &chosen)) {
        QMessageBox::warning(main, kAppTitle, error);
        return false;
    }
    if (SaveFormatOf(path) == SaveFormat::Jpeg) jpegQuality_ = chosen;
    setFilePath(path);
    setWindowTitle(GetFileName(path));
    main->windowBar()->Holder_Resize();
    QString recentError;   // the desktop's recent list is a convenience: its failure is no save failure
    AddToRecentFiles(path, RecentFilesListPath(), &recentError);
    Changed = false;
    history_->markSaved();
    updateUndoEntries();
    emit changeNoted();
    return true;
}

bool frmDocument::mnuFileSave_Click()
{
    if (filePath_.isEmpty()) return mnuFileSaveAs_Click();
    return savedTo(filePath_, jpegQuality_);
}

bool frmDocument::mnuFileSaveAs_Click()
{
    frmMain* main = frmMain::instance();
    const QString path = ShowSaveDialog(main);
    if (path.isEmpty()) return false;
    if (SaveFormatOf(path) == SaveFormat::Other) {
        QMessageBox::warning(main, kAppTitle,
                             QStringLiteral("Cannot save \"%1\": Orvane saves pictures as Windows bitmaps "
                                            "(.bmp), JPEG files (.jpg) or PNG files (.png). Choose a name "
                                            "ending in .bmp, .jpg or .png.")
                                 .arg(QFileInfo(path).fileName()));
        return false;
    }
    return savedTo(path, -1);
}

bool frmMain::mnuFileSaveAll_Click()
{
    QList<QPointer<frmDocument>> inBarOrder;
    for (const WindowBar::Slot& slot : windowBar()->barSlots())
        if (!slot.Free && slot.Form) inBarOrder.append(slot.Form);
    for (const QPointer<frmDocument>& doc : inBarOrder) {
        if (!doc || !doc->Changed) continue;
        // A save dialog then shows in front of the picture it is for.
        if (QMdiSubWindow* sw = doc->subWindow()) sw->raise();
        if (!doc->mnuFileSave_Click()) return false;
    }
    return true;
}

bool frmMain::PlugInPicSave(const QString& path, QString* error)
{
    frmDocument* doc = ActiveDocument();
    if (!doc) {
        *error = QStringLiteral("No picture is open.");
        return false;
    }
    return WriteSaveDummy(doc, path, -1, error);
}

} // namespace orv
