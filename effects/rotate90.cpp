#include "effects/rotate90.h"
#include "effects/target_picture.h"
#include <algorithm>

namespace orv {

std::vector<ColumnPass> Rotate90Passes(WorkingCopy& work)
{
    const int h = work.height();
    // Source column x becomes target row x, read from the bottom row up. The copy goes in
    // square tiles so that both the rows read and the rows written stay in the cache.
    constexpr int kTile = 32;
    auto turn = [h](const WorkingCopy& src, QImage& dst, int x0, int x1) {
        for (int y0 = 0; y0 < h; y0 += kTile) {
            const int y1 = std::min(h, y0 + kTile);
            for (int xt = x0; xt < x1; xt += kTile) {
                const int xe = std::min(x1, xt + kTile);
                for (int x = xt; x < xe; ++x) {
                    uint32_t* out = PixelRow(dst, x) + (h - 1);
                    for (int y = y0; y < y1; ++y) out[-y] = src.row(y)[x];
                }
            }
        }
    };
    return {PassIntoTarget(work, h, work.width(), turn)};
}

} // namespace orv
