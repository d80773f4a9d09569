#include "documents/picture_writer.h"
#include "documents/file_ending.h"
#include "platform/picture_codec.h"

namespace orv {

SaveFormat SaveFormatOf(const QString& path)
{
    const QString ext = FileEnding(path);
    if (ext == QLatin1String("bmp")) return SaveFormat::Bitmap;
    if (ext == QLatin1String("jpg")) return SaveFormat::Jpeg;
    if (ext == QLatin1String("png")) return SaveFormat::Png;
    return SaveFormat::Other;
}

bool WritePictureFile(const QImage& picture, const QString& path, int quality, QString* error)
{
    return WritePictureFile(picture, path, SaveFormatOf(path), quality, error);
}

bool WritePictureFile(const QImage& picture, const QString& path, SaveFormat format, int quality, QString* error)
{
    switch (format) {
    case SaveFormat::Jpeg: return EncodeJpeg(picture, path, quality, error);
    case SaveFormat::Png: return EncodePng24(picture, path, error);
    default: return EncodeBmp24(picture, path, error);
    }
}

} // namespace orv
