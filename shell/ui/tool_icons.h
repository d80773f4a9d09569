#pragma once
// The pictograms of the tool toolbar's thirteen buttons, drawn at start-up for each usual
// device pixel ratio.
#include <QIcon>

namespace orv {

// The icon of tool button `index` (1..13).
QIcon ToolIcon(int index);

} // namespace orv
