#pragma once
// Fill with image: copies of a picture laid edge to edge over the whole target from its
// top-left corner; the copies at the right and bottom edges are cut off by the target's edge.
// Pixel (x, y) becomes the picture's pixel (x mod w, y mod h).
#include "effects/effect_catalog.h"
#include <QImage>

namespace orv {

// orvane-batch's parameter: the picture file to tile (no default).
struct FillImageParams {
    QString file;
};

// False, with the target untouched, when the picture is empty.
bool TileImage(QImage& target, const QImage& picture);

// The message for a picture of zero width or height.
QString EmptyPictureError(const QString& path);

// Reads the picture file (either of the two loaders, by the file's ending) and tiles it;
// false with a message naming the file when it cannot be read (the target is then untouched).
bool FillImageFromFile(QImage& target, const FillImageParams& p, QString* error);

// orvane-batch: file=PATH.
bool ParseFillImageParams(const EffectParams& params, FillImageParams* out, QString* error);

} // namespace orv
