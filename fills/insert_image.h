#pragma once
// Insert image: a picture shows through the areas of the canvas painted in a key colour.
// The picture lies at the canvas's top-left corner at its own size; where the canvas has
// exactly the key colour and the picture covers it, the canvas takes the picture's pixel,
// everywhere else it keeps its own (so key-coloured areas beyond the picture stay as they
// are).
#include "effects/effect_catalog.h"
#include "platform/color.h"
#include <QImage>

namespace orv {

// orvane-batch's parameters: the picture file (no default) and the key colour.
struct InsertImageParams {
    QString file;
    ColorRef key = 0;
};

void TransparentBlit(QImage& canvas, const QImage& picture, ColorRef key);

// Reads the picture file and inserts it; false with the reader's message when the file cannot
// be read (the canvas is then untouched).
bool InsertImageFromFile(QImage& canvas, const InsertImageParams& p, QString* error);

// orvane-batch: file=PATH, key=COLORREF.
bool ParseInsertImageParams(const EffectParams& params, InsertImageParams* out, QString* error);

} // namespace orv
