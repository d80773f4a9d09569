// The document's printing, page setup, print preview, scanning and wallpaper commands, and the
// frame's wallpaper command.
#include "desktop/ui/frmPageSetup.h"
#include "desktop/ui/frmPrintPreview.h"
#include "desktop/ui/print_command.h"
#include "desktop/ui/scan_commands.h"
#include "desktop/wallpaper.h"
#include "documents/ui/frmDocument.h"
#include "shell/settings_store.h"
#include "shell/ui/frmMain.h"
#include <QMessageBox>
#include <QPrinter>

namespace orv {

void frmDocument::mnuFilePrint_Click()
{
    QPrinter printer(QPrinter::HighResolution);
    UseSessionPageLayout(printer);
    PrintDialogResult result;
    // Printing to a PDF file is how many desktops without a printer print: it stays offered.
    ShowPrintDialog(result, printer, this, 0, 0);
    if (result.Cancelled) return;
    QString error;
    if (!PrintPicture(printer, canvas().Image(), result.Copies, &error))
        QMessageBox::warning(this, kAppTitle, error, QMessageBox::Ok);
}

void frmDocument::mnuFilePageSetup_Click()
{
    frmPageSetup setup(this);
    setup.exec();
}

void frmDocument::mnuFilePrintPreview_Click()
{
    frmPrintPreview preview(canvas().Image(), this);
    if (preview.exec() == frmPrintPreview::kPrintChosen) mnuFilePrint_Click();
}

void frmDocument::mnuFileScanSelectSource_Click()
{
    SelectScanSource(this);
}

void frmDocument::mnuFileScanScan_Click()
{
    ScanToNewDocument(this, main_);
}

void frmMain::mnuWallpaper_Click()
{
    frmDocument* d = ActiveDocument();
    if (!d) {
        QMessageBox::warning(this, kAppTitle, QStringLiteral("No picture is open."), QMessageBox::Ok);
        return;
    }
    QString error;
    if (!SetDesktopWallpaper(d->canvas().Image(), &error))
        QMessageBox::warning(this, kAppTitle, error, QMessageBox::Ok);
}

} // namespace orv
