#pragma once
// Mix: picture B is blended into the canvas by ordered dithering. An 8 x 8 stipple pattern,
// repeated from the canvas's top-left corner, decides pixel by pixel whether the canvas keeps
// its own pixel or takes picture B's; the share taken grows with the level in 64 steps.
#include "effects/effect_catalog.h"
#include "platform/raster.h"

namespace orv {

// The dialog's initial values; `file` is picture B.
struct MixParams {
    int level = 0;            // the slider's value L
    double maximum = 100;     // "Maximum number" M: the slider's maximum and the level's divisor
    bool reverse = false;     // the switch: the cells not chosen take picture B
    bool resize = false;      // "Resize": picture B is stretched to the canvas's size
    QString file;
};

// A "Maximum number" typed into the dialog: false for a text that is not a number greater
// than 0 (the level is divided by it).
bool MaximumFromText(const QString& text, double* maximum);

// The slider's maximum for M: M rounded to a whole number (at most the largest int).
int SliderMaximum(double maximum);

// How many cells of each 8 x 8 block the level switches: L x (64 / M) rounded halves to even,
// held within 0 .. 64.
int MixCells(int level, double maximum);

// The stipple brush for a level: white cells keep the canvas, black cells take picture B. The
// first MixCells cells of kMixOrder are black (white with `reverse`), the others white (black).
Pattern8x8 MakeMixBrush(int level, double maximum, bool reverse);

// Combines picture B onto the canvas through the brush (raster operation 0xAC0744), from the
// top-left corner. With `resize` B is first stretched to the canvas's size; without it the
// canvas keeps its own pixels wherever B does not reach.
void MixPicture(QImage& canvas, const QImage& pictureB, const Pattern8x8& brush, bool resize);

// orvane-batch: file=PATH, level=INT, max=TEXT, reverse=0|1, resize=0|1.
bool ParseMixParams(const EffectParams& params, MixParams* out, QString* error);
// Reads picture B from its file, then mixes it into `image`.
bool RunMixBatch(QImage& image, const EffectParams& params, ProgressSink* sink, QString* error);

} // namespace orv
