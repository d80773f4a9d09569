#pragma once
// Writing 24-bit PNG files straight from the pixel buffer (libspng), row by row.
#include <QImage>
#include <QString>

namespace orv {

// Writes `picture` to `path` as a lossless 8-bit RGB PNG with the picture's resolution, using
// the fastest deflate level and no row filter: a large picture saves about as quickly as a
// bitmap. False with the reason on failure.
bool WritePng24File(const QImage& picture, const QString& path, QString* reason);

} // namespace orv
