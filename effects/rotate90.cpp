#include "effects/rotate90.h"
#include "effects/quarter_turn_kernels.h"
#include "effects/row_shares.h"
#include "effects/target_picture.h"
#include <algorithm>

namespace orv {

namespace {

constexpr int kTile = 64;

// Source column x becomes target row x read from the bottom row up (clockwise), or target row
// W - 1 - x read from the top down. The copy goes in square tiles so that both the rows read
// and the rows written stay in the cache. The band's columns are spread over the cores.
std::vector<ColumnPass> QuarterTurnPasses(WorkingCopy& work, bool clockwise)
{
    const int w = work.width(), h = work.height();
    auto turn = [w, h, clockwise](const WorkingCopy& src, QImage& dst, int x0, int x1) {
        const PixelRows target(dst);
        ForRowShares(x0, x1, h, [&](int from, int to) {
            const uint32_t* rows[kTile];
            uint32_t* out[kTile];
            for (int y0 = 0; y0 < h; y0 += kTile) {
                const int n = std::min(h - y0, kTile);
                for (int i = 0; i < n; ++i) rows[i] = src.row(clockwise ? y0 + n - 1 - i : y0 + i);
                const int column = clockwise ? h - y0 - n : y0;   // where rows[0] lands in its target row
                for (int xt = from; xt < to; xt += kTile) {
                    const int m = std::min(to - xt, kTile);
                    for (int c = 0; c < m; ++c) out[c] = target[clockwise ? xt + c : w - 1 - xt - c] + column;
                    kernels::TransposePixels(rows, size_t(n), size_t(xt), out, size_t(m));
                }
            }
        });
    };
    return {PassIntoTarget(work, h, w, turn)};
}

} // namespace

std::vector<ColumnPass> Rotate90Passes(WorkingCopy& work) { return QuarterTurnPasses(work, true); }

std::vector<ColumnPass> Rotate270Passes(WorkingCopy& work) { return QuarterTurnPasses(work, false); }

} // namespace orv
