#include "effects/typical.h"
#include "effects/batch_params.h"
#include "effects/pixel_kernels.h"
#include "effects/row_shares.h"
#include "effects/target_picture.h"
#include "platform/random.h"
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>

namespace orv {

namespace {

constexpr uint32_t kMidGrey = 0xFF808080u;

// The band's share of whole rows (RowsOfBand): the filters read only the unchanged working
// copy and write each target pixel once. Rows within `margin` of the top or bottom edge and the
// `margin` columns at each side keep the source's pixels; visit(y, out) computes the others of
// row y. With `spread` the rows are also spread over the cores, which pays only for a filter
// that computes much per pixel (Diffuse); the others are bound by the memory's speed.
template <class Visit>
void FilterBand(const WorkingCopy& src, QImage& dst, int x0, int x1, int margin, bool spread, Visit visit)
{
    const int w = src.width(), h = src.height();
    const PixelRows target(dst);
    const RowShare rows = RowsOfBand(w, h, x0, x1);
    const auto filterRows = [&](int from, int to) {
        for (int y = from; y < to; ++y) {
            uint32_t* out = target[y];
            const uint32_t* in = src.row(y);
            if (y < margin || y >= h - margin || w <= 2 * margin) {
                std::memcpy(out, in, sizeof(uint32_t) * static_cast<size_t>(w));
                continue;
            }
            std::memcpy(out, in, sizeof(uint32_t) * static_cast<size_t>(margin));
            visit(y, out);
            std::memcpy(out + w - margin, in + w - margin, sizeof(uint32_t) * static_cast<size_t>(margin));
        }
    };
    if (spread)
        ForRowShares(rows.from, rows.to, w, filterRows);
    else
        filterRows(rows.from, rows.to);
}

TargetColumns Emboss()
{
    return [](const WorkingCopy& src, QImage& dst, int x0, int x1) {
        const int w = src.width(), h = src.height();
        const PixelRows target(dst);
        const RowShare rows = RowsOfBand(w, h, x0, x1);
        for (int y = rows.from; y < rows.to; ++y) {
            uint32_t* out = target[y];
            if (y == h - 1) {
                std::fill(out, out + w, kMidGrey);
                continue;
            }
            kernels::EmbossRow(src.row(y), src.row(y + 1) + 1, out, static_cast<size_t>(w - 1));
            out[w - 1] = kMidGrey;
        }
    };
}

TargetColumns Sharpen()
{
    return [](const WorkingCopy& src, QImage& dst, int x0, int x1) {
        const size_t n = static_cast<size_t>(src.width() - 2);
        FilterBand(src, dst, x0, x1, 1, false, [&](int y, uint32_t* out) {
            kernels::SharpenRow(src.row(y) + 1, src.row(y - 1), out + 1, n);
        });
    };
}

TargetColumns Smooth()
{
    return [](const WorkingCopy& src, QImage& dst, int x0, int x1) {
        const size_t n = static_cast<size_t>(src.width() - 2);
        FilterBand(src, dst, x0, x1, 1, false, [&](int y, uint32_t* out) {
            kernels::SmoothRow(src.row(y - 1) + 1, src.row(y) + 1, src.row(y + 1) + 1, out + 1, n);
        });
    };
}

// The source offset of a draw u: round(p + d) - p with d = u * 4 - 2 in single precision,
// rounded halves to even. It depends on the position p only through its parity.
int ScatterOffset(int parity, double u)
{
    const float d = static_cast<float>(u) * 4.0f - 2.0f;
    return static_cast<int>(std::nearbyint(parity + static_cast<double>(d))) - parity;
}

// A draw is m / 2^53 for 53 random bits m, and the offset only grows with m, so it is -2 plus
// the number of four thresholds that m has reached. The thresholds are found once, by
// bisection on ScatterOffset itself, for even positions ([0]) and odd ones ([1]).
const std::array<kernels::ScatterThresholds, 2>& Steps()
{
    static const std::array<kernels::ScatterThresholds, 2> steps = [] {
        std::array<kernels::ScatterThresholds, 2> s{};
        for (int parity = 0; parity < 2; ++parity) {
            for (int k = 0; k < 4; ++k) {
                uint64_t lo = 0, hi = uint64_t{1} << 53;   // first m reaching offset k - 1
                while (lo < hi) {
                    const uint64_t mid = lo + (hi - lo) / 2;
                    if (ScatterOffset(parity, static_cast<double>(mid) * 0x1p-53) >= k - 1)
                        hi = mid;
                    else
                        lo = mid + 1;
                }
                s[parity].from[k] = lo;
            }
        }
        return s;
    }();
    return steps;
}

TargetColumns Diffuse(const WorkingCopy& work)
{
    const int w = work.width(), h = work.height();
    const uint64_t visited = w >= 5 && h >= 5 ? uint64_t(w - 4) * uint64_t(h - 4) : 0;
    const UniformBlock draws = SharedGenerator().take(2 * visited);
    return [draws](const WorkingCopy& src, QImage& dst, int x0, int x1) {
        const int w = src.width();
        const std::array<kernels::ScatterThresholds, 2>& steps = Steps();
        FilterBand(src, dst, x0, x1, 2, true, [&](int y, uint32_t* out) {
            // Visited pixels are numbered in row order, n = (y - 2) * (W - 4) + (x - 2); pixel n
            // takes draw 2 n for dy and 2 n + 1 for dx. first: the row's first draw.
            const uint64_t first = 2 * uint64_t(y - 2) * uint64_t(w - 4);
            const uint32_t* near[5];   // source rows y - 2 .. y + 2
            for (int r = 0; r < 5; ++r) near[r] = src.row(y - 2 + r);
            kernels::DiffuseRow(near, out, 2, static_cast<size_t>(w - 4), draws.stateOf(first),
                                steps[y & 1], steps.data());
        });
    };
}

} // namespace

const QStringList& TypicalFilterNames()
{
    static const QStringList names{QStringLiteral("Emboss"), QStringLiteral("Diffuse"),
                                   QStringLiteral("Sharpen"), QStringLiteral("Smooth")};
    return names;
}

std::vector<ColumnPass> TypicalPasses(WorkingCopy& work, const TypicalParams& p)
{
    TargetColumns filter;
    switch (p.filter) {
    case TypicalFilter::Emboss: filter = Emboss(); break;
    case TypicalFilter::Diffuse: filter = Diffuse(work); break;
    case TypicalFilter::Sharpen: filter = Sharpen(); break;
    case TypicalFilter::Smooth: filter = Smooth(); break;
    }
    return {PassIntoTarget(work, work.width(), work.height(), std::move(filter))};
}

bool ParseTypicalParams(const EffectParams& params, TypicalParams* out, QString* error)
{
    const QString effect = QStringLiteral("typical");
    int filter = static_cast<int>(TypicalParams{}.filter);
    if (!CheckParamNames(effect, params, {"filter"}, error)
        || !ReadChoiceParam(effect, params, "filter", TypicalFilterNames(), &filter, error))
        return false;
    out->filter = static_cast<TypicalFilter>(filter);
    return true;
}

} // namespace orv
