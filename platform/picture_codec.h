#pragma once
// Picture files: decoding any file GraphicsMagick reads into a pixel buffer (JPEGs and 24-bit
// Windows bitmaps straight, without it), and encoding 24-bit Windows bitmaps and JPEGs straight
// from the pixel buffer and 24-bit PNGs through GraphicsMagick. Writes are atomic: the file is
// written under a
// temporary name in the folder of the file it replaces and renamed over it, so a failure never
// leaves a partial file and never damages the file it would have replaced.
#include "platform/color.h"
#include <QByteArrayView>
#include <QImage>
#include <QString>
#include <cstdint>
#include <optional>
#include <functional>

namespace orv {

// The limits of every picture decoded, decided here once for every decoder. Decoding keeps
// about 12 bytes a pixel (the decoder's 8-byte pixels and the 4-byte result), so:
// - no picture is more than kMaxPictureSide pixels a side or kMaxPicturePixels in all (about
//   5 GB while it is decoded, for files big enough to hold such a picture);
// - a file may claim at most kPixelsPerFileByte pixels for every byte it holds, and never
//   fewer than kMinPixelBudget (8192 x 8192): no file under 1 MB makes an open take more than
//   about 1 GB, while real pictures hold far more than one byte for every 64 pixels;
// - vector pictures (metafiles) are drawn at most kMaxVectorSide pixels a side, within the
//   same pixel budget;
// - drawing a metafile, and decoding any file under kSmallFileBytes, stops after
//   kMaxDecodeSeconds: a small metafile may hold many thousands of shapes that each cover
//   the whole picture.
// A file beyond the sizes is refused with a message saying so before any pixel is decoded,
// one beyond the time when the time is up.
inline constexpr int64_t kMaxPictureSide = 32768;
inline constexpr int64_t kMaxPicturePixels = 400'000'000;
inline constexpr int64_t kMinPixelBudget = int64_t{1} << 26;
inline constexpr int64_t kPixelsPerFileByte = 64;
inline constexpr int64_t kMaxVectorSide = 16384;
inline constexpr int64_t kSmallFileBytes = int64_t{1} << 20;
inline constexpr int kMaxDecodeSeconds = 20;

// The most of a file a picture of `pixels` pixels can use: 16 bits for each of four channels,
// and room for what a format adds around them (headers, palettes, metadata, the compression's
// overhead). Only that much of a longer file is read, after its header, read from the first
// kFormatSlackBytes, has told the picture's size.
inline constexpr int64_t kFormatSlackBytes = int64_t{64} << 20;
constexpr int64_t PictureFileBytes(int64_t pixels) { return pixels * 8 + kFormatSlackBytes; }

// No picture within the limits needs a file larger than this: a larger file is refused before
// any of it is read.
inline constexpr int64_t kMaxPictureFileBytes = PictureFileBytes(kMaxPicturePixels);

// The most pixels a file of `fileBytes` bytes may claim.
int64_t PixelBudget(int64_t fileBytes);

// Empty when a picture of w x h pixels may be decoded from a file of `fileBytes` bytes;
// otherwise why not, as the end of an open error ("the picture is too large (...)").
QString PictureSizeRefusal(int64_t w, int64_t h, int64_t fileBytes, bool vector);

// Empty when `path` names a regular file with something in it; otherwise why it cannot be
// opened, as the end of an open error. Never opens the file, so a named pipe cannot block.
QString PictureFileProblem(const QString& path);

// The decoder for a file that names none, from the signature its first bytes carry ("BMP",
// "GIF", "JPEG", "PNG", "ICO", "WMF" or "PCX"); empty for any other file. Only the picture
// types the program opens are recognised: a file of any other kind (a PostScript or HTML file
// renamed .jpg) never reaches the library's other readers, some of which run outside programs
// on what they are given.
QString PictureFormatOf(QByteArrayView head);

struct DecodedPicture {
    QImage image;      // kPixelFormat (see DecodeOptions::background); null on failure
    QString error;     // clear description naming the file and the reason; empty on success
    bool ok() const { return !image.isNull(); }
};

// Decodes a picture file (first frame of multi-frame files; the largest picture of an icon
// file). Pictures whose header claims more than the limits above allow fail with a message
// instead of exhausting memory. Whatever the decoding libraries print on standard output or
// standard error while they decode is dropped: the caller reports failures.
// `magick` optionally forces the format ("BMP", "GIF", ...); empty lets the content decide.
DecodedPicture DecodePictureFile(const QString& path, const QString& magick = {});

struct DecodeOptions {
    QString magick;                     // forced format; empty lets the content decide
    // Transparent and partly transparent pixels are composed onto it; without one, a picture
    // with any transparency keeps it (its image is then QImage::Format_RGBA8888).
    std::optional<ColorRef> background = 0xFFFFFF;
    int timeLimitMs = kMaxDecodeSeconds * 1000;   // for metafiles and files under kSmallFileBytes
};
DecodedPicture DecodePictureFile(const QString& path, const DecodeOptions& options);

// Encoders; false with a clear message in *error on failure.
bool EncodeBmp24(const QImage& image, const QString& path, QString* error);
// A lossless 24-bit true-colour PNG (no alpha, no palette).
bool EncodePng24(const QImage& image, const QString& path, QString* error);
bool EncodeJpeg(const QImage& image, const QString& path, int quality, QString* error);

// The regular file a save to `path` writes: `path` itself, or the file its symbolic links
// lead to (which need not exist yet). Empty, with the message in *error, for a path that
// exists and is not a regular file (folder, named pipe, device, socket) or whose folder does
// not exist. WriteFileAtomically checks the same; a caller that asks the user something
// first checks before asking.
QString SaveDestination(const QString& path, QString* error);

// Writes a file atomically: `write` fills the temporary path it is given; on success it is
// made durable and renamed over `path`. Any failure removes the temporary file, leaves what
// was at `path` as it was and reports why. A symbolic link is written through: the file it
// leads to is replaced (the temporary file lies in that file's folder) and the link stays.
// A path that exists and is not a regular file (folder, named pipe, device, socket) is
// refused. The written file keeps the permissions of the file it replaces.
bool WriteFileAtomically(const QString& path,
                         const std::function<bool(const QString& tempPath, QString* error)>& write,
                         QString* error);

// The message of a picture file that cannot be opened: Cannot open "<path>": <reason>.
QString OpenError(const QString& path, const QString& reason);

// Sets GraphicsMagick up once (resource limits, initialisation). Called by the codecs.
void EnsurePictureCodecsReady();

} // namespace orv
