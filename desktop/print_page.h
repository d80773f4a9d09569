#pragma once
// The one page layout of printing, shared by Print and Print Preview so that the preview is
// the printed page: the picture at its size on the screen (96 pixels to the inch), centred in
// the area inside the margins, cut at the margins when it is larger.
#include <QImage>
#include <QPageLayout>

class QPainter;

namespace orv {

// The page, orientation and margins Print uses, chosen in Page Setup for this run of the
// program. At first the default page without margins: the picture is centred on the sheet.
QPageLayout SessionPageLayout();
void SetSessionPageLayout(const QPageLayout& layout);

// Paints one page of `layout` at `dpi` dots per inch; the painter's origin is the sheet's
// top-left corner.
void PaintPrintPage(QPainter& painter, const QPageLayout& layout, double dpi, const QImage& picture);

// The page as a picture at `dpi`: white paper with the picture painted as on the printed page.
QImage PrintPageImage(const QPageLayout& layout, double dpi, const QImage& picture);

} // namespace orv
