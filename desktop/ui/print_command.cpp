#include "desktop/ui/print_command.h"
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
    printer.setFullPage(true);
    const QString name = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
    QPainter painter;
    if (!painter.begin(&printer)) {
        *error = QStringLiteral("Cannot print on \"%1\": the printer cannot be opened.").arg(name);
        return false;
    }
    // One screen pixel is 1/96 inch on paper.
    const double scale = printer.resolution() / 96.0;
    const QRectF page = printer.pageLayout().fullRectPixels(printer.resolution());
    const QSizeF size(picture.width() * scale, picture.height() * scale);
    const QRectF target(QPointF(page.width() / 2 - size.width() / 2, page.height() / 2 - size.height() / 2), size);
    for (int copy = 0; copy < copies; ++copy) {
        painter.drawImage(target, picture);
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

} // namespace orv
