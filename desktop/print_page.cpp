#include "desktop/print_page.h"
#include <QLocale>
#include <QPainter>
#include <optional>

namespace orv {

namespace {

std::optional<QPageLayout> gSessionLayout;   // for this run of the program only

QPageLayout DefaultLayout()
{
    const QPageSize::PageSizeId size = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem
                                           ? QPageSize::Letter
                                           : QPageSize::A4;
    return QPageLayout(QPageSize(size), QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter);
}

} // namespace

QPageLayout SessionPageLayout()
{
    return gSessionLayout.value_or(DefaultLayout());
}

void SetSessionPageLayout(const QPageLayout& layout)
{
    gSessionLayout = layout;
}

void PaintPrintPage(QPainter& painter, const QPageLayout& layout, double dpi, const QImage& picture)
{
    const QRectF inches = layout.fullRect(QPageLayout::Inch);
    const QMarginsF margins = layout.margins(QPageLayout::Inch);
    const QRectF sheet(0, 0, inches.width() * dpi, inches.height() * dpi);
    const QRectF area = sheet.marginsRemoved(margins * dpi);
    const double scale = dpi / 96.0;   // one screen pixel is 1/96 inch on paper
    const QSizeF size(picture.width() * scale, picture.height() * scale);
    const QRectF target(area.center() - QPointF(size.width() / 2, size.height() / 2), size);
    painter.save();
    painter.setClipRect(area);
    painter.drawImage(target, picture);
    painter.restore();
}

QImage PrintPageImage(const QPageLayout& layout, double dpi, const QImage& picture)
{
    const QSizeF inches = layout.fullRect(QPageLayout::Inch).size();
    QImage page(qRound(inches.width() * dpi), qRound(inches.height() * dpi), QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    PaintPrintPage(painter, layout, dpi, picture);
    return page;
}

} // namespace orv
