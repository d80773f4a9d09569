#pragma once
// Rotate by any angle, Resize and Border: the picture takes a new size. Each is one pass over
// the working copy's columns into a second picture of the new size (progress 0 to 100; Resize
// makes two, 0 to 50 and 50 to 100), whose rows are spread over the cores.
#include "effects/column_passes.h"
#include "effects/effect_catalog.h"
#include "effects/working_copy.h"
#include "platform/color.h"
#include <QSize>
#include <vector>

namespace orv {

// Rotate: a clockwise turn by `angle` degrees (negative turns the other way). The canvas grows
// to hold the whole turned picture; the corners it uncovers take `background`. Multiples of 90
// move pixels exactly (90 equals Rotate 90°); other angles sample bilinearly, the picture's
// outside counting as the background colour.
struct RotateParams {
    double angle = 90;             // the dialog's text box starts with "90"
    ColorRef background = 0xFFFFFF;
};
// The size of a w x h picture turned by `angle` degrees (at least 1 x 1).
QSize RotatedSize(int w, int h, double angle);
std::vector<ColumnPass> RotatePasses(WorkingCopy& work, const RotateParams& p);

// Resize to width x height with the Lanczos-3 filter (over the source footprint when
// shrinking) or the nearest pixel.
enum class ResizeFilter { Lanczos, Nearest };
struct ResizeParams {
    int width = 1;
    int height = 1;
    ResizeFilter filter = ResizeFilter::Lanczos;
};
std::vector<ColumnPass> ResizePasses(WorkingCopy& work, const ResizeParams& p);

// Border: the canvas grows by `width` pixels on every side, painted in `color`.
struct BorderParams {
    int width = 10;
    ColorRef color = 0;   // the current colour of a new picture
};
std::vector<ColumnPass> BorderPasses(WorkingCopy& work, const BorderParams& p);

// Refusals, each with the message the dialogs show and orvane-batch prints; empty when the
// value can be used. Sizes are computed in 64 bits and held to the picture limits.
QString AngleRefusal(const QString& text, double* angle);
QString RotateSizeRefusal(int w, int h, double angle);
// A side typed in pixels or percent of `current`; `name` is "width" or "height".
QString SideRefusal(const QString& text, bool percent, int current, const char* name, int* side);
QString ResizeSizeRefusal(int64_t w, int64_t h);
QString BorderWidthRefusal(const QString& text, int w, int h, int* width);

// orvane-batch runners: rotate angle=, resize width= height= filter=, border width= color=.
bool RunRotateBatch(QImage& image, const EffectParams& params, ProgressSink* sink, QString* error);
bool RunResizeBatch(QImage& image, const EffectParams& params, ProgressSink* sink, QString* error);
bool RunBorderBatch(QImage& image, const EffectParams& params, ProgressSink* sink, QString* error);
bool CheckRotateParams(const EffectParams& params, QString* error);
bool CheckResizeParams(const EffectParams& params, QString* error);
bool CheckBorderParams(const EffectParams& params, QString* error);

} // namespace orv
