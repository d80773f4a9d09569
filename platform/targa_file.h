#pragma once
// What the Targa decoder needs help with: rows stored right to left, which it would show
// mirrored, and 16-bit grey pictures with alpha, which it does not read.
#include <QByteArray>
#include <QSize>
#include <QString>

namespace orv {

// Whether the image descriptor (bit 4) says the pixels of each row run right to left.
bool TargaRowsRunRightToLeft(const QByteArray& file);

// Whether the file is a 16-bit grey picture (grey byte, then alpha byte), raw or run-length.
bool IsTargaGreyWithAlpha(const QByteArray& file);

// The width and height the header claims.
QSize TargaSize(const QByteArray& file);

// The same picture as an uncompressed 32-bit true-colour Targa file with 8 bits of alpha,
// grey copied to blue, green and red; the origin bits (4 and 5) are kept. False with a reason
// when the pixel data ends early. The caller checks TargaSize against its limits first.
bool ExpandTargaGreyWithAlpha(const QByteArray& file, QByteArray* out, QString* reason);

} // namespace orv
