#pragma once
// Which of the three written formats a file name asks for, by its last three characters
// upper-cased ("BMP", "JPG" or "PNG"), and the one writer that Save As, the plug-in hand-over and
// orvane-batch share.
#include <QImage>
#include <QString>

namespace orv {

enum class SaveFormat { Bitmap, Jpeg, Png, Other };

SaveFormat SaveFormatOf(const QString& path);

// JPEG for a name ending in JPG (at `quality`), a 24-bit PNG for one ending in PNG, a 24-bit
// bitmap for every other name.
bool WritePictureFile(const QImage& picture, const QString& path, int quality, QString* error);

// The same in the format given, whatever the name ends in.
bool WritePictureFile(const QImage& picture, const QString& path, SaveFormat format, int quality, QString* error);

} // namespace orv
