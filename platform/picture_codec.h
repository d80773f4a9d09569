#pragma once
// Picture files through GraphicsMagick: decoding any file it reads into a pixel buffer, and
// encoding 24-bit Windows bitmaps and JPEGs. Writes are atomic: the file is written under a
// temporary name in the same folder and renamed over the target, so a failure never leaves a
// partial file and never damages the file it would have replaced.
#include "platform/color.h"
#include <QImage>
#include <QString>
#include <functional>

namespace orv {

struct DecodedPicture {
    QImage image;      // kPixelFormat; null on failure
    QString error;     // clear description naming the file and the reason; empty on success
    bool ok() const { return !image.isNull(); }
};

// Decodes a picture file (first frame of multi-frame files). Pictures whose header claims
// more than the resource limits allow fail with a message instead of exhausting memory.
// `magick` optionally forces the format ("BMP", "GIF", ...); empty lets the content decide.
DecodedPicture DecodePictureFile(const QString& path, const QString& magick = {});

struct DecodeOptions {
    QString magick;                     // forced format; empty lets the content decide
    ColorRef background = 0xFFFFFF;     // transparent and partly transparent pixels are composed onto it
    int frame = 0;                      // frame of a multi-frame file (0 is the first)
};
DecodedPicture DecodePictureFile(const QString& path, const DecodeOptions& options);

// Encoders; false with a clear message in *error on failure.
bool EncodeBmp24(const QImage& image, const QString& path, QString* error);
bool EncodeJpeg(const QImage& image, const QString& path, int quality, QString* error);

// Writes a file atomically: `write` fills the temporary path it is given; on success it is
// renamed over `path`. Any failure removes the temporary file and reports why.
bool WriteFileAtomically(const QString& path,
                         const std::function<bool(const QString& tempPath, QString* error)>& write,
                         QString* error);

// The message of a picture file that cannot be opened: Cannot open "<path>": <reason>.
QString OpenError(const QString& path, const QString& reason);

// Sets GraphicsMagick up once (resource limits, initialisation). Called by the codecs.
void EnsurePictureCodecsReady();

} // namespace orv
