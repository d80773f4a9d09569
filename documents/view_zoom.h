#pragma once
// The view scale of a document window: a step of a fixed table from 1/16 to 32, as the ratio
// num / den of screen pixels per picture pixel. Only what a window shows depends on it; the
// picture's pixels never do.
#include <QSize>
#include <QString>
#include <cstdint>

namespace orv {

struct ZoomStep {
    int num;
    int den;
    double factor() const { return double(num) / den; }
};

inline constexpr ZoomStep kZoomSteps[] = {
    {1, 16}, {1, 8}, {1, 6}, {1, 4}, {1, 3}, {1, 2}, {2, 3}, {1, 1}, {3, 2},
    {2, 1},  {3, 1}, {4, 1}, {6, 1}, {8, 1}, {12, 1}, {16, 1}, {24, 1}, {32, 1},
};
inline constexpr int kZoomStepCount = int(sizeof(kZoomSteps) / sizeof(kZoomSteps[0]));
inline constexpr int kActualSizeStep = 7;   // 1:1

// The step `steps` away from `from` (negative: out), held within the table.
int ZoomStepAfter(int from, int steps);

// The largest step up to `highest` that shows a picture of `picture` pixels whole in `room`
// screen pixels (at least the smallest step).
int FitZoomStep(QSize picture, QSize room, int highest = kActualSizeStep);

// "100%", "6.25%", "66.67%": the step as a percentage, at most two decimals.
QString ZoomPercentText(int step);

// Screen pixels covered by `extent` picture pixels (rounded up, at least 1).
int ZoomedExtent(int64_t extent, ZoomStep z);
// The picture pixel under screen coordinate v (a fraction of a screen pixel counts).
double PictureCoordinate(double v, ZoomStep z);
// The screen span [first, end) that shows picture pixels [first, end).
void ScreenSpan(int64_t first, int64_t end, ZoomStep z, int64_t& screenFirst, int64_t& screenEnd);

} // namespace orv
