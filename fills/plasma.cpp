#include "fills/plasma.h"
#include "effects/batch_params.h"
#include "effects/row_shares.h"
#include "fills/plasma_kernels.h"
#include "platform/dialog_text.h"
#include <algorithm>
#include <memory>

namespace orv {

namespace {

// splitmix64's mix: every input bit reaches every output bit.
uint64_t Mix(uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int CellSide(int w, int h)
{
    int s = 1;
    while (s * 2 <= std::min(w, h)) s *= 2;
    return s;
}

// One step of the cloud: the points first, first + step, ... of the rows y0, y0 + dy, ...
// (firstOdd for the odd rows of that list).
struct CloudStep {
    kernels::PlasmaStep kind;
    int y0 = 0, dy = 1, first = 0, firstOdd = 0, step = 1;
};

std::vector<CloudStep> CloudSteps(int w, int h, int turbulence)
{
    const int side = CellSide(w, h);
    std::vector<CloudStep> steps;
    steps.push_back({{kernels::PlasmaNeighbours::None, 0, 256, 0}, 0, side, 0, 0, side});
    for (int s = side; s >= 2; s /= 2) {
        const int half = s / 2;
        const int a = static_cast<int>(int64_t{turbulence} * 255 * s / (int64_t{100} * side));
        steps.push_back({{kernels::PlasmaNeighbours::Diagonal, half, 2 * a + 1, a}, half, s, half, half, s});
        steps.push_back({{kernels::PlasmaNeighbours::Straight, half, 2 * a + 1, a}, 0, half, half, 0, s});
    }
    return steps;
}

int64_t Rows(const CloudStep& c, int h) { return c.y0 < h ? (h - 1 - c.y0) / c.dy + 1 : 0; }
int64_t PointsInRow(int first, int step, int w) { return first < w ? (w - 1 - first) / step + 1 : 0; }
int64_t Points(const CloudStep& c, int w, int h)
{
    const int64_t rows = Rows(c, h);
    return (rows + 1) / 2 * PointsInRow(c.first, c.step, w) + rows / 2 * PointsInRow(c.firstOdd, c.step, w);
}

} // namespace

std::vector<ColumnPass> PlasmaPasses(WorkingCopy& work, const PlasmaParams& p)
{
    const int w = work.width(), h = work.height();
    if (w == 0 || h == 0) return {};
    const uint32_t key = static_cast<uint32_t>(Mix(static_cast<uint64_t>(static_cast<uint32_t>(p.seed))) >> 32);
    // The cloud is made in the working copy itself, whose every pixel it sets, so the canvas is
    // never copied into it. Each step is a pass of its own, its share of the progress that of
    // its points.
    auto cloud = std::make_shared<uchar*>(nullptr);
    std::vector<ColumnPass> passes;
    float progress = 0;
    for (const CloudStep& c : CloudSteps(w, h, p.turbulence)) {
        ColumnPass pass;
        pass.progressFrom = progress;
        pass.progressSpan = static_cast<float>(100.0 * double(Points(c, w, h)) / (double(w) * h));
        progress += pass.progressSpan;
        pass.columns = [&work, cloud, c, key, w, h](int x0, int x1) {
            if (!*cloud) {
                work.mapRows(0, h);
                *cloud = work.image().bits();
            }
            auto* grid = reinterpret_cast<uint32_t*>(*cloud);
            const size_t stride = static_cast<size_t>(work.image().bytesPerLine()) / 4;
            const RowShare rows = RowsOfBand(w, static_cast<int>(Rows(c, h)), x0, x1);
            ForRowShares(rows.from, rows.to, w / c.step + 1, [&](int from, int to) {
                for (int j = from; j < to; ++j)
                    kernels::PlasmaRow(grid, stride, w, h, c.y0 + j * c.dy, j % 2 == 0 ? c.first : c.firstOdd,
                                       c.step, c.kind, key);
            });
        };
        passes.push_back(pass);
    }
    return passes;
}

bool PlasmaValueFromText(const QString& text, int max, int* value)
{
    bool ok = false;
    const double v = DialogNumber(text, &ok);
    if (!ok || v < 0 || v > max || v != static_cast<double>(static_cast<int64_t>(v))) return false;
    *value = static_cast<int>(v);
    return true;
}

int NextPlasmaSeed(int seed)
{
    return static_cast<int>(Mix(static_cast<uint64_t>(seed) + 0x9E3779B97F4A7C15ull) % (uint64_t{kPlasmaSeedMax} + 1));
}

bool ParsePlasmaParams(const EffectParams& params, PlasmaParams* out, QString* error)
{
    const QString effect = QStringLiteral("plasma");
    PlasmaParams p;
    if (!CheckParamNames(effect, params, {"seed", "turbulence"}, error)
        || !ReadIntParam(effect, params, "seed", 0, kPlasmaSeedMax, &p.seed, error)
        || !ReadIntParam(effect, params, "turbulence", 0, kPlasmaTurbulenceMax, &p.turbulence, error))
        return false;
    *out = p;
    return true;
}

} // namespace orv
