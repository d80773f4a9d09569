#include "effects/column_passes.h"
#include "effects/working_copy.h"
#include <algorithm>

namespace orv {

int BandWidth(int height)
{
    constexpr int kPixelsPerBand = 256 * 1024;
    return std::max(1, kPixelsPerBand / std::max(1, height));
}

bool RunColumnPasses(int width, int height, const std::vector<ColumnPass>& passes,
                     ProgressSink* sink)
{
    const int band = BandWidth(height);
    for (const ColumnPass& pass : passes) {
        if (pass.wholeAtOnce) {
            if (width > 0) pass.columns(0, width);
            continue;
        }
        for (int x0 = 0; x0 < width; x0 += band) {
            const int x1 = std::min(width, x0 + band);
            pass.columns(x0, x1);
            if (sink) {
                const float last = static_cast<float>(x1 - 1);
                sink->setProgress(pass.progressFrom
                                  + last * pass.progressSpan / static_cast<float>(width));
                if (sink->cancelRequested()) return false;
            }
        }
    }
    return true;
}

bool RunOnWorkingCopy(QImage& image,
                      const std::function<std::vector<ColumnPass>(WorkingCopy&)>& makePasses,
                      ProgressSink* sink)
{
    WorkingCopy work(image);
    const std::vector<ColumnPass> passes = makePasses(work);
    if (!RunColumnPasses(work.width(), work.height(), passes, sink)) return false;
    image = work.image();
    return true;
}

} // namespace orv
