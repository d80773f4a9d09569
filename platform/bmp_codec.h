#pragma once
// 24-bit uncompressed Windows bitmaps read straight into a pixel buffer and written straight
// from one. The file is read and written a band of rows at a time, so that neither holds the
// whole file in memory beside the picture.
#include <QImage>
#include <QString>

namespace orv {

// Decodes the file at `path` when it is a bottom-up 24-bit uncompressed bitmap whose pixel
// data is all there, into *picture with the resolution it declares, or refuses it by its size
// (*refusal, as PictureSizeRefusal words it) before any pixel is allocated: true either way.
// False leaves the file to the general decoder: any other kind of file or bitmap, and files
// that are cut short or cannot be read. Throws std::bad_alloc when the pixels cannot be had.
bool DecodeBmp24Directly(const QString& path, QImage* picture, QString* refusal);

// Writes the picture into the file at `path` as a bottom-up 24-bit uncompressed bitmap with
// the version 3 header, declaring its resolution in pixels per metre. False with the reason.
bool WriteBmp24File(const QImage& picture, const QString& path, QString* reason);

} // namespace orv
