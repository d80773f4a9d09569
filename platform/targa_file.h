#pragma once
// What the Targa decoder needs help with: rows stored right to left, which it would show
// mirrored, and 16-bit grey pictures with alpha, which it does not read.
#include "platform/color.h"
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

// Decodes a 16-bit grey picture with alpha straight into a pixel buffer, each grey composed
// onto `background` by its alpha (kept without one, see ComposeOntoBackground). False with a reason when the pixel data ends early. The
// caller checks TargaSize against its limits first.
bool DecodeTargaGreyWithAlpha(const QByteArray& file, std::optional<ColorRef> background, QImage* picture,
                              QString* reason);

} // namespace orv
