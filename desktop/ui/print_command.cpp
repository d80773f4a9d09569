#include "desktop/ui/print_command.h"
#include "desktop/print_page.h"
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace orv {

void ShowPrintDialog(PrintDialogResult& result, QPrinter& printer, QWidget* owner, int16_t pages,
                     uint32_t flags)
{
    result = PrintDialogResult{};
    printer.setCopyCount(1);
    QPrintDialog dialog(&printer, owner);
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, !(flags & kPrintToFileDisabled));
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, pages != 0);
    if (pages != 0) dialog.setMinMax(0, pages - 1);
    if (dialog.exec() != QDialog::Accepted) return;
    result.Cancelled = false;
    result.DeviceName = printer.printerName();
    result.Copies = int16_t(std::clamp(printer.copyCount(), 1, 32767));
    printer.setCopyCount(1);
}

bool PrintPicture(QPrinter& printer, const QImage& picture, int copies, QString* error)
{
    if (copies <= 0) return true;
    // The painter starts at the sheet's corner; the page layout's margins are the program's own.
    printer.setFullPage(true);
    const QString name = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
    QPainter painter;
    if (!painter.begin(&printer)) {
        *error = QStringLiteral("Cannot print on \"%1\": the printer cannot be opened.").arg(name);
        return false;
    }
    for (int copy = 0; copy < copies; ++copy) {
        PaintPrintPage(painter, printer.pageLayout(), printer.resolution(), picture);
        if (copy < copies - 1 && !printer.newPage()) {
            *error = QStringLiteral("Cannot print on \"%1\": the printer refused a new page.").arg(name);
            painter.end();
            return false;
        }
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error) {
        *error = QStringLiteral("Cannot print on \"%1\": the printer reported an error.").arg(name);
        return false;
    }
    return true;
}

void UseSessionPageLayout(QPrinter& printer)
{
    QPageLayout layout = SessionPageLayout();
    // Margins below the printer's least are the user's: the full-page mode keeps them.
    layout.setMode(QPageLayout::FullPageMode);
    printer.setPageLayout(layout);
}

} // namespace orv
