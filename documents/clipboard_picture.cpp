#include "documents/clipboard_picture.h"
#include <QBuffer>
#include <QImageReader>

namespace orv {

namespace {

// The first encoded picture type on offer that Qt reads (empty for none).
QString EncodedType(const QMimeData* data)
{
    const QList<QByteArray> readable = QImageReader::supportedMimeTypes();
    for (const QString& type : data->formats())
        if (type.startsWith(QLatin1String("image/")) && readable.contains(type.toLatin1())) return type;
    return {};
}

} // namespace

bool HoldsPicture(const QMimeData* data)
{
    return data && (data->hasImage() || !EncodedType(data).isEmpty());
}

DecodedPicture ClipboardPicture(const QMimeData* data)
{
    DecodedPicture result;
    if (!data) return {QImage(), QStringLiteral("the clipboard holds no picture")};
    if (const QString type = EncodedType(data); !type.isEmpty()) {
        QByteArray bytes = data->data(type);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        // Qt's own cap on one decoded picture (256 MB) lies below the limits: it is raised to
        // the largest picture they allow, which the header is checked against first.
        QImageReader::setAllocationLimit(int(kMaxPicturePixels * 4 >> 20) + 1);
        const QSize size = reader.size();
        if (size.isValid()) result.error = PictureSizeRefusal(size.width(), size.height(), bytes.size(), false);
        if (result.error.isEmpty()) result.image = reader.read();
        if (result.error.isEmpty() && result.image.isNull())
            result.error = QStringLiteral("the picture cannot be read (%1)").arg(reader.errorString());
        // A reader that cannot tell the size first is checked afterwards.
        if (result.error.isEmpty())
            result.error = PictureSizeRefusal(result.image.width(), result.image.height(), bytes.size(), false);
        if (!result.error.isEmpty()) result.image = QImage();
        return result;
    }
    // A picture of this program's own is already decoded: only its sides are checked.
    result.image = qvariant_cast<QImage>(data->imageData());
    if (result.image.isNull()) return {QImage(), QStringLiteral("the clipboard holds no picture")};
    result.error = PictureSizeRefusal(result.image.width(), result.image.height(), result.image.sizeInBytes(), false);
    if (!result.error.isEmpty()) result.image = QImage();
    return result;
}

} // namespace orv
