#include "effects/column_passes.h"
#include "effects/working_copy.h"
#include <algorithm>
#include <chrono>

namespace orv {

int BandWidth(int height)
{
    constexpr int kPixelsPerBand = 256 * 1024;
    return std::max(1, kPixelsPerBand / std::max(1, height));
}

RowShare RowsOfBand(int width, int height, int x0, int x1)
{
    if (width <= 0) return {0, 0};
    return {static_cast<int>(int64_t{x0} * height / width), static_cast<int>(int64_t{x1} * height / width)};
}

bool RunColumnPasses(int width, int height, const std::vector<ColumnPass>& passes,
                     ProgressSink* sink)
{
    using Clock = std::chrono::steady_clock;
    // Bands start small and double while one takes less than this, so the user interface
    // still gets its events often while fast kernels read long runs of each row.
    constexpr auto kQuickBand = std::chrono::milliseconds(8);
    for (const ColumnPass& pass : passes) {
        if (pass.wholeAtOnce) {
            if (width > 0) pass.columns(0, width);
            continue;
        }
        int band = BandWidth(height);
        for (int x0 = 0; x0 < width;) {
            const int x1 = std::min(width, x0 + band);
            const Clock::time_point start = Clock::now();
            pass.columns(x0, x1);
            if (Clock::now() - start < kQuickBand) band = std::min(width, band * 2);
            x0 = x1;
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
