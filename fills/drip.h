#pragma once
// Drip: blocks of the picture taken at random places are copied onto themselves shifted by a
// hundredth of their height (up, down) or of their width (left, right), so that edges smear in
// that direction. Block i of the run is the bw x bh block whose top-left corner is
// (r1 W, r2 H), r1 and r2 being two successive draws of the uniform generator (x first);
// the shift moves its copy to (x, y -+ bh / 100) or (x -+ bw / 100, y); each coordinate is
// rounded halves to even when the copy is made. Later blocks read what earlier ones wrote.
#include "effects/effect_catalog.h"
#include "platform/random.h"

namespace orv {

enum class DripDirection { Up, Down, Left, Right };

// The dialog's initial values.
struct DripParams {
    DripDirection direction = DripDirection::Down;
    double width = 50;    // "Width": W / width is the block width
    double height = 10;   // "Height": H / height is the block height
    int amount = 0;       // the scroll bar, 0 .. 1000: 10 x amount blocks are copied
};
constexpr int kMaxDripAmount = 1000;

// A divisor typed into the dialog: false for a text that is not a number greater than 0.
bool DivisorFromText(const QString& text, double* divisor);

// The 10 x amount block copies on `picture`, drawing from `rnd`. With `firstFrom`, one more
// block comes first, read from that picture (of the same size) instead of `picture` itself:
// the preview starts so from the unchanged thumbnail.
void Drip(QImage& picture, const DripParams& p, UniformGenerator& rnd, const QImage* firstFrom = nullptr);

// orvane-batch: direction=up|down|left|right, width=TEXT, height=TEXT, amount=0..1000.
bool ParseDripParams(const EffectParams& params, DripParams* out, QString* error);
bool RunDripBatch(QImage& image, const EffectParams& params, ProgressSink* sink, QString* error);

} // namespace orv
