#pragma once
// The colour chooser: opens with the given colour, offers solid colours only, and starts with
// all sixteen custom colours white every time.
#include "platform/color.h"

class QWidget;

namespace orv {

// The chosen colour, or 0 when the user cancels (so choosing pure black reads as a cancel).
ColorRef ChooseColorDialog(QWidget* owner, ColorRef initial);

} // namespace orv
