#include "effects/waving.h"
#include "effects/batch_params.h"
#include "platform/numbers.h"
#include <cmath>
#include <memory>

namespace orv {

namespace {

// A source column folded back into 0 .. w-1 by reflection at both edges (the mirror repeats
// for pictures narrower than the ripple's 15-pixel amplitude).
int Reflect(int sx, int w)
{
    if (w == 1) return 0;
    const int period = 2 * (w - 1);
    int s = std::abs(sx) % period;
    return s > w - 1 ? period - s : s;
}

// The shift of every column of row y: wave[D(|x - cx|, |y - cy|)] for dx = 0 .. cx, the
// distances walked without square roots. round(sqrt(n)) = k exactly when
// k^2 - k < n <= k^2 + k, and n grows with dx, so k only steps up.
void RowShifts(const RippleTables& t, int dy, std::vector<int>& shifts)
{
    int64_t k = dy;
    const int64_t dy2 = int64_t{dy} * dy;
    for (int dx = 0; dx <= t.cx; ++dx) {
        const int64_t n = int64_t{dx} * dx + dy2;
        while (n > k * k + k) ++k;
        shifts[static_cast<size_t>(dx)] = t.wave[static_cast<size_t>(k)];
    }
}

} // namespace

int RippleDistance(int dx, int dy)
{
    return static_cast<int>(RoundHalfEven(std::sqrt(double(dx) * dx + double(dy) * dy)));
}

RippleTables MakeRippleTables(int pw, int ph, const WavingParams& p)
{
    RippleTables t;
    t.cy = 1 + ph / 2;
    t.cx = 1 + pw / 2;
    t.maxR = static_cast<int>(RoundHalfEven(std::sqrt(double(t.cx) * t.cx + double(t.cy) * t.cy) + 2));
    const float freq = static_cast<float>(p.freq / 10.0);
    t.wave.resize(static_cast<size_t>(t.maxR) + 1);
    for (int k = 0; k <= t.maxR; ++k) {
        const float angle = static_cast<float>(k - p.phase) * freq;
        t.wave[static_cast<size_t>(k)] = static_cast<int16_t>(RoundHalfEven(std::sin(double(angle)) * 15));
    }
    return t;
}

int WavingPhaseMaximum(int pw, int ph)
{
    const auto half = [](int pixels) {
        return 1 + static_cast<int64_t>(RoundHalfEven(pixels * 2540.0 / 96.0)) / 2;
    };
    const double r = RoundHalfEven(std::hypot(double(half(pw)), double(half(ph))) + 2);
    return static_cast<int>(std::min<double>(r, kWavingPhaseCap));
}

std::vector<ColumnPass> WavingPasses(WorkingCopy& work, const WavingParams& p)
{
    auto tables = std::make_shared<const RippleTables>(MakeRippleTables(work.width(), work.height(), p));
    ColumnPass pass;
    // Only columns move, inside their row: each row is mapped from the unchanged picture, so
    // the band's share of whole rows gives the same picture as the column order.
    pass.columns = [&work, tables](int x0, int x1) {
        const RippleTables& t = *tables;
        const int w = work.width();
        const RowShare rows = RowsOfBand(w, work.height(), x0, x1);
        std::vector<int> shifts(static_cast<size_t>(t.cx) + 1);
        std::vector<uint32_t> line;
        for (int y = rows.from; y < rows.to; ++y) {
            RowShifts(t, std::abs(y - t.cy), shifts);
            const WorkingCopy::MappedRows row = work.mapRows(y, y + 1);
            const uint32_t* in = row.in(y);
            uint32_t* const out = row.out(y);
            if (in == out) {   // a row copied already: read it from a copy of itself
                line.assign(in, in + w);
                in = line.data();
            }
            for (int x = 0; x < w; ++x) {
                int sx = x - shifts[static_cast<size_t>(std::abs(x - t.cx))];
                if (sx < 0 || sx >= w) sx = Reflect(sx, w);
                out[x] = in[sx];
            }
        }
    };
    return {pass};
}

bool ParseWavingParams(const EffectParams& params, WavingParams* out, QString* error)
{
    const QString effect = QStringLiteral("waving");
    WavingParams p;
    if (!CheckParamNames(effect, params, {"phase", "freq"}, error)
        || !ReadIntParam(effect, params, "phase", 0, kWavingPhaseCap, &p.phase, error)
        || !ReadIntParam(effect, params, "freq", 0, kWavingFreqMax, &p.freq, error))
        return false;
    *out = p;
    return true;
}

} // namespace orv
