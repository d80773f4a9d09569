#include "effects/picture_roll.h"
#include "effects/batch_params.h"
#include "effects/row_shares.h"
#include "effects/target_picture.h"
#include <cstring>

namespace orv {

namespace {
int Wrapped(int amount, int n) { return ((amount % n) + n) % n; }
}

std::vector<ColumnPass> RollPasses(WorkingCopy& work, const RollParams& p)
{
    const int w = work.width(), h = work.height();
    if (w == 0 || h == 0) return {};
    const int dx = Wrapped(p.x, w), dy = Wrapped(p.y, h);
    // Each target row is its source row in two copies: the part that moved right and the part
    // that came back at the left. The band's share of the target rows is spread over the cores.
    auto roll = [w, h, dx, dy](const WorkingCopy& src, QImage& dst, int x0, int x1) {
        const PixelRows target(dst);
        const RowShare rows = RowsOfBand(w, h, x0, x1);
        ForRowShares(rows.from, rows.to, w, [&](int from, int to) {
            for (int y = from; y < to; ++y) {
                const uint32_t* in = src.row((y - dy + h) % h);
                uint32_t* out = target[y];
                std::memcpy(out + dx, in, size_t(w - dx) * 4);
                std::memcpy(out, in + (w - dx), size_t(dx) * 4);
            }
        });
    };
    return {PassIntoTarget(work, w, h, roll)};
}

bool ParseRollParams(const EffectParams& params, RollParams* out, QString* error)
{
    const QString effect = QStringLiteral("roll");
    RollParams p;
    if (!CheckParamNames(effect, params, {"x", "y"}, error)
        || !ReadIntParam(effect, params, "x", -kRollMax, kRollMax, &p.x, error)
        || !ReadIntParam(effect, params, "y", -kRollMax, kRollMax, &p.y, error))
        return false;
    *out = p;
    return true;
}

} // namespace orv
