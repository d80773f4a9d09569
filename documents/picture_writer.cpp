#include "documents/picture_writer.h"
#include "documents/file_ending.h"
#include "platform/picture_codec.h"

namespace orv {

SaveFormat SaveFormatOf(const QString& path)
{
    const QString ext = FileEnding(path);
    if (ext == QLatin1String("bmp")) return SaveFormat::Bitmap;
    if (ext == QLatin1String("jpg")) return SaveFormat::Jpeg;
    return SaveFormat::Other;
}

bool WritePictureFile(const QImage& picture, const QString& path, int quality, QString* error)
{
    return SaveFormatOf(path) == SaveFormat::Jpeg ? EncodeJpeg(picture, path, quality, error)
                                                  : EncodeBmp24(picture, path, error);
}

} // namespace orv
