#pragma once
// Wobbly: whole columns move up ("Top"), or whole rows move left ("Left"), or both one after
// the other, by an offset that rises and falls in a triangle wave:
//  - column x moves up by o(x): new(x, y) = old(x, y + o) for y < H - o; the bottom o pixels
//    of the column keep their values;
//  - row y moves left by o(y): new(x, y) = old(x + o, y) for x < W - o; the rightmost o
//    pixels of the row keep their values.
// "Both" runs the column pass, then the row pass on its result with the wave started afresh.
#include "effects/column_passes.h"
#include "effects/effect_catalog.h"
#include "effects/working_copy.h"
#include <vector>

namespace orv {

enum class WobblyMode { Top = 0, Left = 1, Both = 2 };

// The stored defaults (settings "Wobbly": "Mode" 2, "Width" 10). The width is kept as typed:
// it is compared as text.
struct WobblyParams {
    WobblyMode mode = WobblyMode::Both;
    QString width = QStringLiteral("10");
};

// The offsets of one pass of `count` steps. Each step moves the offset one up while rising,
// one down while falling (it starts at 0, rising); when the offset written as a plain decimal
// number equals widthText exactly it starts falling, at 0 it rises again. So "10" gives
// 1, 2, .., 10, 9, .., 0, 1, ..; a text no offset is written as ("010", " 10", "0", "-3",
// "2.5", "abc", "") never turns the wave: the offsets count 1, 2, 3, ...
std::vector<int> WobblyOffsets(const QString& widthText, int count);

// The passes of the mode: "Top" and "Left" progress 0 to 100, "Both" 0 to 50 and 50 to 100.
// The row passes report their progress through the column bands (row share of the band).
std::vector<ColumnPass> WobblyPasses(WorkingCopy& work, const WobblyParams& p);

// orvane-batch: mode=top|left|both, width=TEXT.
bool ParseWobblyParams(const EffectParams& params, WobblyParams* out, QString* error);

} // namespace orv
