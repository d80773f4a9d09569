#include "effects/stained_glass.h"
#include "effects/batch_params.h"
#include "effects/pixel_kernels.h"
#include "platform/dialog_text.h"
#include "platform/numbers.h"
#include <cmath>
#include <cstring>
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
    const auto cols = std::make_shared<const std::vector<int>>(CellStarts(p.width, work.width()));
    const auto rows = std::make_shared<const std::vector<int>>(CellStarts(p.height, work.height()));
    // Source column of every column: its cell's first column, or itself where no cell reaches.
    auto index = std::make_shared<std::vector<int32_t>>(cols->size());
    bool gaps = false;
    for (size_t x = 0; x < cols->size(); ++x) {
        (*index)[x] = (*cols)[x] >= 0 ? (*cols)[x] : static_cast<int32_t>(x);
        gaps = gaps || (*cols)[x] < 0;
    }
    ColumnPass pass;
    // Every pixel's colour comes from the picture as it was (cell corners keep theirs), so the
    // band's share of whole rows is computed: the first row of a cell row gathers the cell
    // corners, the other rows of the cell row repeat it, except in the columns no cell reaches.
    pass.columns = [&work, cols, rows, index, gaps](int x0, int x1) {
        const RowShare share = RowsOfBand(work.width(), work.height(), x0, x1);
        const WorkingCopy::MappedRows mapped = work.mapRows(share.from, share.to);
        const auto w = static_cast<size_t>(work.width());
        for (int y = share.from; y < share.to; ++y) {
            const int sy = (*rows)[static_cast<size_t>(y)];
            const uint32_t* in = mapped.in(y);
            uint32_t* out = mapped.out(y);
            if (sy < 0) {
                if (in != out) std::memcpy(out, in, w * sizeof(uint32_t));
            } else if (sy == y) {
                kernels::GatherRow(in, index->data(), out, w);
            } else if (!gaps) {
                std::memcpy(out, mapped.out(sy), w * sizeof(uint32_t));   // finished above
            } else {
                const uint32_t* first = mapped.out(sy);
                for (size_t x = 0; x < w; ++x) out[x] = (*cols)[x] >= 0 ? first[x] : in[x];
            }
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
