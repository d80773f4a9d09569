#include "effects/stained_glass.h"
#include "effects/batch_params.h"
#include "platform/dialog_text.h"
#include "platform/numbers.h"
#include <cmath>
#include <memory>

namespace orv {

namespace {

// For each position along one axis: the position of the top-left pixel of the cell that
// covers it, or -1 where no cell does. Cells start at k * size (k = 0, 1, ...) while the start
// is at most extent - 1 and cover floor(size) positions each.
//
// Each cell's first position lies beyond the last position of the cell before (their distance
// exceeds 1 before rounding), so cells never overlap and every cell's own top-left pixel maps
// to itself: the mosaic can be written in place, reading each top-left pixel as it was.
std::vector<int> CellStarts(double size, int extent)
{
    std::vector<int> start(static_cast<size_t>(extent), -1);
    if (!(size >= 1.0)) return start;
    const double span = std::min(std::floor(size), static_cast<double>(extent));
    for (int64_t k = 0;; ++k) {
        const double x = static_cast<double>(k) * size;
        if (!(x <= extent - 1)) break;
        const int first = static_cast<int>(RoundHalfEven(x));
        for (int i = 0; i < span; ++i) {
            const double p = RoundHalfEven(x + i);
            if (p >= extent) break;
            start[static_cast<size_t>(p)] = first;
        }
    }
    return start;
}

} // namespace

bool CellSizeFromText(const QString& text, double* size)
{
    return DialogNumberAtLeast(text, 1.0, size);
}

std::vector<ColumnPass> StainedGlassPasses(WorkingCopy& work, const StainedGlassParams& p)
{
    auto cols = std::make_shared<const std::vector<int>>(CellStarts(p.width, work.width()));
    auto rows = std::make_shared<const std::vector<int>>(CellStarts(p.height, work.height()));
    ColumnPass pass;
    pass.columns = [&work, cols, rows](int x0, int x1) {
        const int* sx = cols->data();
        for (int y = 0; y < work.height(); ++y) {
            const int sy = (*rows)[static_cast<size_t>(y)];
            if (sy < 0) continue;
            uint32_t* out = work.row(y);
            const uint32_t* in = work.row(sy);   // rows above are done, their cell corners kept
            for (int x = x0; x < x1; ++x)
                if (sx[x] >= 0) out[x] = in[sx[x]];
        }
    };
    return {pass};
}

bool ParseStainedGlassParams(const EffectParams& params, StainedGlassParams* out, QString* error)
{
    const QString effect = QStringLiteral("stained-glass");
    if (!CheckParamNames(effect, params, {"width", "height"}, error)) return false;
    StainedGlassParams p;
    for (auto [name, size] : {std::pair{"width", &p.width}, std::pair{"height", &p.height}}) {
        const auto it = params.constFind(QString::fromLatin1(name));
        if (it != params.cend() && !CellSizeFromText(it.value(), size)) {
            *error = QStringLiteral("%1: %2 must be a number greater than 0").arg(effect, name);
            return false;
        }
    }
    *out = p;
    return true;
}

} // namespace orv
