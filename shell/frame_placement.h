#pragma once
// The main window's stored placement: state, left, top, width and height in twips, read from
// and written to the settings store. Values that are not numbers, or a rectangle that would
// not be visible on any screen, fall back to the defaults so the program always starts.
#include <QList>
#include <QRect>

namespace orv {

enum : int { kStateNormal = 0, kStateMinimized = 1, kStateMaximized = 2 };

struct FramePlacement {
    int state = kStateMaximized;
    QRect twips{1000, 1000, 6500, 6500};   // left, top, width, height
};

// Reads "Settings" MainState (and, unless the state is minimised, MainLeft/Top/Width/Height).
// `screens` are the available desktop areas in pixels; a rectangle that shows less than
// 32 x 32 pixels on all of them is replaced by the defaults.
FramePlacement ReadFramePlacement(const QList<QRect>& screens);

// Saves the rectangle unless `state` is minimised, then the state.
void SaveFramePlacement(int state, const QRect& twips);

// The splash preference: 0 none, 1 or 2 the splash window; anything else counts as 1.
int ReadSplashChoice();

} // namespace orv
