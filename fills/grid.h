#pragma once
// Grid: C - 1 vertical lines at x = i x (W / C), i = 1, 2, ... while i <= C - 1, then R - 1
// horizontal lines at y = j x (H / R), every line across the whole picture with a pen of the
// chosen width. Positions are computed in double precision and reach the canvas in single
// precision, which takes the nearest pixel (halves to even). A line of width w at pixel p
// covers p - w/2 .. p + w - 1 - w/2 (integer halving), as the canvas's round pen does along a
// straight line. With "3D" each line is a pair: one pixel before it (left or above) in the
// button-face colour, then the line itself in the button-shadow colour.
#include "effects/effect_catalog.h"
#include "platform/color.h"
#include <QImage>

namespace orv {

// The dialog's initial values; face and shadow are the standard light palette's button and
// dark colours, which the editor replaces with the colours of the desktop's palette.
struct GridParams {
    double columns = 3;
    double rows = 3;
    bool threeD = false;
    int width = 1;
    ColorRef color = 0;                   // the canvas pen colour, for plain lines
    ColorRef face = RGB(239, 239, 239);
    ColorRef shadow = RGB(159, 159, 159);
};

// A count typed into the dialog: its leading number, 0 when it has none (no lines then).
double GridCountFromText(const QString& text);

constexpr int kGridMaxWidth = 32767;   // the widest pen a canvas takes

// The line width typed into the dialog, rounded halves to even: false for a text that is no
// number, or a number below 1 or above kGridMaxWidth.
bool GridWidthFromText(const QString& text, int* width);

void DrawGrid(QImage& target, const GridParams& p);

// orvane-batch: columns=TEXT, rows=TEXT, 3d=0|1, width=TEXT, color=COLORREF.
bool ParseGridParams(const EffectParams& params, GridParams* out, QString* error);

} // namespace orv
