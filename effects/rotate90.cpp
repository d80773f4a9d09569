#include "effects/rotate90.h"
#include "effects/row_shares.h"
#include "effects/target_picture.h"
#include <algorithm>

namespace orv {

namespace {
constexpr int kTile = 32;
}

std::vector<ColumnPass> Rotate90Passes(WorkingCopy& work)
{
    const int h = work.height();
    // Source column x becomes target row x, read from the bottom row up. The copy goes in
    // square tiles so that both the rows read and the rows written stay in the cache. The
    // band's target rows are spread over the cores.
    auto turn = [h](const WorkingCopy& src, QImage& dst, int x0, int x1) {
        const PixelRows target(dst);
        ForRowShares(x0, x1, h, [&](int from, int to) {
            const uint32_t* rows[kTile];
            for (int y0 = 0; y0 < h; y0 += kTile) {
                const int n = std::min(h - y0, kTile);
                for (int i = 0; i < n; ++i) rows[i] = src.row(y0 + i);
                for (int xt = from; xt < to; xt += kTile) {
                    const int xe = std::min(to, xt + kTile);
                    for (int x = xt; x < xe; ++x) {
                        uint32_t* out = target[x] + (h - 1 - y0);
                        for (int i = 0; i < n; ++i) out[-i] = rows[i][x];
                    }
                }
            }
        });
    };
    return {PassIntoTarget(work, h, work.width(), turn)};
}

} // namespace orv
