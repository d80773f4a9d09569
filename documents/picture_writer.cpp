#include "documents/picture_writer.h"
#include "platform/picture_codec.h"

namespace orv {

SaveFormat SaveFormatOf(const QString& path)
{
    const QString ext = path.right(3).toUpper();
    if (ext == QLatin1String("BMP")) return SaveFormat::Bitmap;
    if (ext == QLatin1String("JPG")) return SaveFormat::Jpeg;
    return SaveFormat::Other;
}

bool WritePictureFile(const QImage& picture, const QString& path, int quality, QString* error)
{
    return SaveFormatOf(path) == SaveFormat::Jpeg ? EncodeJpeg(picture, path, quality, error)
                                                  : EncodeBmp24(picture, path, error);
}

} // namespace orv
