#pragma once
// Printing a picture: the print dialog's answer as a fixed record, and the picture printed as
// PaintPrintPage lays it out on the printer's page, one page per copy, in one job.
#include <QImage>
#include <QString>
#include <cstdint>

class QPrinter;
class QWidget;

namespace orv {

struct PrintDialogResult {
    bool Cancelled = true;   // the dialog was cancelled or failed
    QString DeviceName;      // the chosen printer
    int16_t Copies = 0;      // 0 when cancelled
};

// The print dialog's "print to file" choice is left out.
constexpr uint32_t kPrintToFileDisabled = 0x80000;

// Shows the print dialog for `printer`. `pages`, when non-zero, makes pages - 1 the last page
// offered. On OK the printer is set to print one copy: the copies are printed as pages.
void ShowPrintDialog(PrintDialogResult& result, QPrinter& printer, QWidget* owner, int16_t pages,
                     uint32_t flags);

// Prints `copies` pages of the printer's page layout, each with the picture centred at its
// screen size inside the margins and cut at them. False with a clear message when the printer
// fails.
bool PrintPicture(QPrinter& printer, const QImage& picture, int copies, QString* error);

// Gives the printer the page, orientation and margins chosen in Page Setup.
void UseSessionPageLayout(QPrinter& printer);

} // namespace orv
