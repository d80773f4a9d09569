#pragma once
// JPEG files through libjpeg-turbo's TurboJPEG interface, decoded straight into a pixel buffer
// and encoded straight from one, with no picture in between. Whatever the library says goes
// into its error text, never onto the terminal.
#include <QImage>
#include <QString>
#include <cstddef>

namespace orv {

// Decodes the JPEG file held in data[0, size) straight into *picture with the resolution it
// declares, or refuses it by its size (*refusal, as PictureSizeRefusal words it) before any
// pixel is allocated: true either way. False leaves the file to the general decoder, which
// reports its failure in its own words: bytes that are not a JPEG, a damaged header, CMYK
// pictures, progressive files under kSmallFileBytes (it stops their decode at the time
// limit), and files that end early or are damaged inside. Throws std::bad_alloc when the
// pixels cannot be had.
bool DecodeJpegDirectly(const char* data, size_t size, QImage* picture, QString* refusal);

// Encodes the picture as a JPEG of the given quality (kept in 1..100) into the file at `path`,
// declaring its resolution in whole dots per inch (72 where it has none): 4:2:0 chroma below
// quality 90, full chroma from 90. False with the reason.
bool WriteJpegFile(const QImage& picture, int quality, const QString& path, QString* reason);

} // namespace orv
