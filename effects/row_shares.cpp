#include "effects/row_shares.h"
#include <algorithm>
#include <functional>
#include <system_error>
#include <thread>
#include <vector>

namespace orv {

namespace {

// Below this many pixels a share costs more to hand to a thread than it takes to compute.
constexpr int64_t kPixelsPerShare = 128 * 1024;

int Cores()
{
    static const int cores = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 64);
    return cores;
}

} // namespace

void ForRowShares(int first, int last, int64_t pixelsPerRow, const std::function<void(int, int)>& rows)
{
    const int64_t count = last - first;
    if (count <= 0) return;
    const int64_t byWork = count * std::max<int64_t>(1, pixelsPerRow) / kPixelsPerShare;
    const int shares = static_cast<int>(std::clamp<int64_t>(std::min<int64_t>(byWork, count), 1, Cores()));
    if (shares == 1) {
        rows(first, last);
        return;
    }
    auto bound = [&](int k) { return first + static_cast<int>(count * k / shares); };
    std::vector<std::thread> helpers;
    helpers.reserve(static_cast<size_t>(shares - 1));
    for (int k = 1; k < shares; ++k) {
        try {
            helpers.emplace_back(std::cref(rows), bound(k), bound(k + 1));
        } catch (const std::system_error&) {
            // No thread to be had: the caller computes this share and the rest itself.
            rows(bound(k), last);
            break;
        }
    }
    rows(first, bound(1));
    for (std::thread& t : helpers) t.join();
}

} // namespace orv
