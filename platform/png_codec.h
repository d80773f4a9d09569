#pragma once
// Writing 24-bit PNG files straight from the pixel buffer (libspng), row by row, and reading
// interlaced PNG files straight into it.
#include "platform/color.h"
#include <QImage>
#include <QString>

namespace orv {

// Writes `picture` to `path` as a lossless 8-bit RGB PNG with the picture's resolution, using
// the fastest deflate level and no row filter: a large picture saves about as quickly as a
// bitmap. False with the reason on failure.
bool WritePng24File(const QImage& picture, const QString& path, QString* reason);

// Decodes an interlaced PNG file row by row into a pixel buffer, each pass's pixels converted
// to 8 bits straight into their places (no whole copy at the file's depth), transparent pixels
// composed onto `background` (kept without one, see ComposeOntoBackground). False for a file that is not an interlaced PNG (another decoder
// reads it); true with *picture set, or with the reason in *refusal (beyond the limits,
// damaged, incomplete).
bool DecodeInterlacedPngDirectly(const char* data, size_t size, std::optional<ColorRef> background, QImage* picture,
                                 QString* refusal);

} // namespace orv
