#pragma once
// Which of the two written formats a file name asks for, by its last three characters
// upper-cased ("BMP" or "JPG"), and the one writer that Save As, the plug-in hand-over and
// orvane-batch share.
#include <QImage>
#include <QString>

namespace orv {

enum class SaveFormat { Bitmap, Jpeg, Other };

SaveFormat SaveFormatOf(const QString& path);

// JPEG for a name ending in JPG (at `quality`), a 24-bit bitmap for every other name.
bool WritePictureFile(const QImage& picture, const QString& path, int quality, QString* error);

} // namespace orv
