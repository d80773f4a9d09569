#include "fills/plasma.h"
#include "effects/batch_params.h"
#include "effects/row_shares.h"
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

// The grid: (gw x gh) points of three channels, covering the picture and the rest of its last
// cells.
struct Grid {
    int gw = 0, gh = 0;
    std::vector<uint8_t> v;   // 3 bytes a point, row after row
    uint8_t* at(int x, int y) { return v.data() + (static_cast<size_t>(y) * gw + x) * 3; }
};

int CellSide(int w, int h)
{
    int s = 1;
    while (s * 2 <= std::min(w, h)) s *= 2;
    return s;
}

int Covering(int n, int s) { return (n - 1 + s - 1) / s * s + 1; }

// Sets the point from the sum of its n neighbours per channel plus its displacement.
void Settle(Grid& g, int x, int y, const int sum[3], int n, int amplitude, int seed)
{
    uint8_t* out = g.at(x, y);
    for (int c = 0; c < 3; ++c) {
        int v = (sum[c] + n / 2) / n;
        if (amplitude > 0) v += static_cast<int>(PlasmaRandom(seed, x, y, c) % uint32_t(2 * amplitude + 1)) - amplitude;
        out[c] = static_cast<uint8_t>(std::clamp(v, 0, 255));
    }
}

void AddPoint(Grid& g, int x, int y, int sum[3], int* n)
{
    if (x < 0 || y < 0 || x >= g.gw || y >= g.gh) return;
    const uint8_t* p = g.at(x, y);
    for (int c = 0; c < 3; ++c) sum[c] += p[c];
    ++*n;
}

Grid MakeGrid(int w, int h, const PlasmaParams& p)
{
    const int side = CellSide(w, h);
    Grid g;
    g.gw = Covering(w, side);
    g.gh = Covering(h, side);
    g.v.assign(static_cast<size_t>(g.gw) * g.gh * 3, 0);
    for (int y = 0; y < g.gh; y += side)
        for (int x = 0; x < g.gw; x += side)
            for (int c = 0; c < 3; ++c) g.at(x, y)[c] = static_cast<uint8_t>(PlasmaRandom(p.seed, x, y, c) & 0xFFu);
    for (int s = side; s >= 2; s /= 2) {
        const int half = s / 2;
        const int amplitude = static_cast<int>(int64_t{p.turbulence} * 255 * s / (int64_t{100} * side));
        const int64_t rowPixels = g.gw / s + 1;
        // Square step: the centres read only the corners, which this step does not change.
        ForRowShares(0, (g.gh - 1) / s, rowPixels, [&](int from, int to) {
            for (int j = from; j < to; ++j) {
                const int y = j * s + half;
                for (int x = half; x < g.gw; x += s) {
                    int sum[3] = {}, n = 0;
                    for (auto [dx, dy] : {std::pair{-half, -half}, {half, -half}, {-half, half}, {half, half}})
                        AddPoint(g, x + dx, y + dy, sum, &n);
                    Settle(g, x, y, sum, n, amplitude, p.seed);
                }
            }
        });
        // Diamond step: the edge midpoints read corners and centres only.
        ForRowShares(0, (g.gh - 1) / half + 1, rowPixels, [&](int from, int to) {
            for (int j = from; j < to; ++j) {
                const int y = j * half;
                for (int x = (j % 2 == 0) ? half : 0; x < g.gw; x += s) {
                    int sum[3] = {}, n = 0;
                    for (auto [dx, dy] : {std::pair{0, -half}, {-half, 0}, {half, 0}, {0, half}})
                        AddPoint(g, x + dx, y + dy, sum, &n);
                    Settle(g, x, y, sum, n, amplitude, p.seed);
                }
            }
        });
    }
    return g;
}

} // namespace

uint32_t PlasmaRandom(int seed, int x, int y, int c)
{
    const uint64_t point = (static_cast<uint64_t>(static_cast<uint32_t>(y)) << 34)
                           | (static_cast<uint64_t>(static_cast<uint32_t>(x)) << 2) | static_cast<uint64_t>(c);
    return static_cast<uint32_t>(Mix(Mix(static_cast<uint64_t>(static_cast<uint32_t>(seed))) ^ point) >> 32);
}

std::vector<uint32_t> PlasmaPixels(int w, int h, const PlasmaParams& p)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
    if (pixels.empty()) return pixels;
    Grid g = MakeGrid(w, h, p);
    ForRowShares(0, h, w, [&](int from, int to) {
        for (int y = from; y < to; ++y) {
            uint32_t* out = pixels.data() + static_cast<size_t>(y) * w;
            for (int x = 0; x < w; ++x) {
                const uint8_t* v = g.at(x, y);
                out[x] = ToPixel(RGB(v[0], v[1], v[2]));
            }
        }
    });
    return pixels;
}

std::vector<ColumnPass> PlasmaPasses(WorkingCopy& work, const PlasmaParams& p)
{
    // The cloud is made at the first band; every band then writes its share of whole rows.
    auto cloud = std::make_shared<std::vector<uint32_t>>();
    ColumnPass pass;
    pass.columns = [&work, p, cloud](int x0, int x1) {
        const int w = work.width();
        if (x0 == 0) *cloud = PlasmaPixels(w, work.height(), p);
        const RowShare rows = RowsOfBand(w, work.height(), x0, x1);
        const WorkingCopy::MappedRows mapped = work.mapRows(rows.from, rows.to);
        for (int y = rows.from; y < rows.to; ++y)
            std::copy_n(cloud->data() + static_cast<size_t>(y) * w, w, mapped.out(y));
    };
    return {pass};
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
