#pragma once
// Video feedback: the picture is drawn again and again into itself, each copy smaller than the
// one before, forming a tunnel toward a vanishing point. Copy i (i = 1, 1 + s, 1 + 2 s, ...
// while i <= 10, accumulated in floating point) is the whole unchanged picture stretched into
// the rectangle left (W - W / i) / qx, top (H - H / i) / qy, width W / i, height H / i, each
// rounded halves to even; later copies cover earlier ones. The first copy fills the picture.
#include "effects/column_passes.h"
#include "effects/effect_catalog.h"
#include "effects/working_copy.h"
#include <QRect>
#include <vector>

namespace orv {

// The dialog's initial values: step "0.1", both position rows at their first button (2, the
// middle). qx and qy run from 2 to 7; larger values move the vanishing point (W / qx, H / qy)
// toward the left and top edges.
struct VideoFeedbackParams {
    double step = 0.1;
    int qx = 2;
    int qy = 2;
};
constexpr int kFirstPosition = 2;
constexpr int kLastPosition = 7;

// The rectangles of the copies in drawing order (a copy that repeats the one before it is
// listed once).
std::vector<QRect> FeedbackCopies(int width, int height, const VideoFeedbackParams& p);

// One pass, progress 0 to 100, into a second picture: every copy reads the unchanged
// working copy.
std::vector<ColumnPass> VideoFeedbackPasses(WorkingCopy& work, const VideoFeedbackParams& p);

// orvane-batch: step=TEXT, x=2..7, y=2..7.
bool ParseVideoFeedbackParams(const EffectParams& params, VideoFeedbackParams* out, QString* error);

} // namespace orv
