#pragma once
// Round wobbly: the picture is cut into strips SW columns wide that move down by
// round(SW sin(k x)) pixels (up when negative), x being the strip's first column, or into strips
// SH rows high that move right by round(SH sin(k y)), or both one after the other; k = pi / A.
// Strips start at 0, SW, 2 SW, ... while the start is at most W (rows likewise); positions and
// sizes are rounded halves to even. A moved strip is drawn over the picture as it was before
// the pass, so what the strip no longer covers keeps the old pixels; in "Both" the row pass
// takes its strips from the result of the column pass and draws them over the picture as it
// was before the run.
#include "effects/column_passes.h"
#include "effects/effect_catalog.h"
#include "effects/working_copy.h"
#include <vector>

namespace orv {

enum class RoundWobblyDirection { Top = 0, Left = 1, Both = 2 };

// The dialog's initial values: "Both", angle "180", width "10", height "10".
struct RoundWobblyParams {
    RoundWobblyDirection direction = RoundWobblyDirection::Both;
    double angle = 180;
    double width = 10;
    double height = 10;
};

// Reads the angle, strip width and strip height as typed into p. An angle of 0 divides by zero
// and a strip narrower than a pixel never gets across the picture, so an angle that is no
// number other than 0, or a size that is no number of 1 or more, is refused: the result is
// then the name of the first such value ("angle", "width" or "height") and p is unchanged;
// otherwise it is empty.
QString ReadRoundWobblyValues(const QString& angle, const QString& width, const QString& height,
                              RoundWobblyParams* p);

// "Top" and "Left": one pass, progress 0 to 100; "Both": 0 to 50 and 50 to 100. The result is
// computed in whole rows, a band's share at a time, at the pace of the column order.
std::vector<ColumnPass> RoundWobblyPasses(WorkingCopy& work, const RoundWobblyParams& p);

// orvane-batch: direction=top|left|both, angle=TEXT, width=TEXT, height=TEXT.
bool ParseRoundWobblyParams(const EffectParams& params, RoundWobblyParams* out, QString* error);

} // namespace orv
