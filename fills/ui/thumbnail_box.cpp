#include "fills/ui/thumbnail_box.h"
#include "platform/raster.h"
#include <QPixmap>

namespace orv {

ThumbnailBox::ThumbnailBox(const QString& objectName, const QString& accessibleName, QWidget* parent)
    : QLabel(parent)
{
    setObjectName(objectName);
    setAccessibleName(accessibleName);
    setFixedSize(kWidth, kHeight);
    setFrameShape(QFrame::NoFrame);
    showStretched({});
}

void ThumbnailBox::showStretched(const QImage& picture)
{
    QImage box = NewPixelBuffer(kWidth, kHeight, 0xFFFFFF);
    if (!picture.isNull())
        StretchBlt(box, 0, 0, kWidth, kHeight, picture, 0, 0, picture.width(), picture.height(), Rop::SrcCopy);
    showImage(box);
}

void ThumbnailBox::showImage(const QImage& image)
{
    image_ = image;
    setPixmap(QPixmap::fromImage(image_));
}

} // namespace orv
