#pragma once
// Gradient fill: a two-colour linear gradient across or down the whole picture, or the fixed
// "Special" pattern of coloured dots (gradient_dots.h).
//
// The linear gradient paints L - 4 bands, L being the length along which the colour changes.
// Band i covers three rows (or columns) i, i + 1, i + 2 and runs across all but the last two
// columns (or rows); it has the colour of the running single-precision sums
// r = red1 + i x (red2 - red1) / (L - 4) (likewise green and blue), each rounded to the nearest
// integer, halves to even. The bands overlap, so line k takes band min(k, L - 5); the last two
// lines along and across the gradient keep their pixels, and the last band is one step short
// of the To colour.
#include "effects/effect_catalog.h"
#include "platform/color.h"
#include <QImage>

namespace orv {

enum class GradientStyle { Horizontal, Vertical, Special };

// The dialog's items in list order, and the stored defaults (pure blue to cyan).
struct GradientParams {
    GradientStyle style = GradientStyle::Horizontal;
    ColorRef from = 16711680;
    ColorRef to = 16776960;
};

// direction 1: the colour changes from top to bottom; 0: from left to right.
void DrawLinearGradient(QImage& target, ColorRef from, ColorRef to, int direction);

// "Horizontal" changes colour from top to bottom, "Vertical" from left to right.
void DrawGradient(QImage& target, const GradientParams& p);

// orvane-batch: style=horizontal|vertical|special, from=COLORREF, to=COLORREF.
bool ParseGradientParams(const EffectParams& params, GradientParams* out, QString* error);

} // namespace orv
