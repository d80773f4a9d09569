#include "effects/typical.h"
#include "effects/batch_params.h"
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

// One output channel from a table indexed by a value computed from the input channels at
// `shift`.
inline uint32_t Channel(uint32_t p, int shift) { return (p >> shift) & 0xFFu; }

template <class Table>
inline uint32_t ThroughTable(const Table& t, uint32_t a, uint32_t b, int scaleA, int offset)
{
    uint32_t out = kPixelOpaque;
    for (int shift = 0; shift < 24; shift += 8) {
        const int i = scaleA * static_cast<int>(Channel(a, shift)) - static_cast<int>(Channel(b, shift)) + offset;
        out |= uint32_t{t[static_cast<size_t>(i)]} << shift;
    }
    return out;
}

void CopyPixels(uint32_t* out, const uint32_t* in, int x0, int x1)
{
    if (x1 > x0) std::memcpy(out + x0, in + x0, sizeof(uint32_t) * static_cast<size_t>(x1 - x0));
}

// The frame of `margin` rows and columns around the visited area keeps the source's pixels;
// visit(y, lo, hi, out) computes row y's visited columns lo .. hi-1. The filters read only the
// unchanged working copy, so the band is computed as its share of whole rows (RowsOfBand).
template <class Visit>
void FilterBand(const WorkingCopy& src, QImage& dst, int x0, int x1, int margin, Visit visit)
{
    const int w = src.width(), h = src.height();
    const int lo = margin, hi = w - margin;
    const RowShare rows = RowsOfBand(w, h, x0, x1);
    for (int y = rows.from; y < rows.to; ++y) {
        uint32_t* out = PixelRow(dst, y);
        const uint32_t* in = src.row(y);
        if (y < margin || y >= h - margin || lo >= hi) {
            CopyPixels(out, in, 0, w);
            continue;
        }
        CopyPixels(out, in, 0, lo);
        visit(y, lo, hi, out);
        CopyPixels(out, in, hi, w);
    }
}

// |a - b + 128| held to 255, indexed by a - b + 255.
const std::array<uint8_t, 511>& EmbossTable()
{
    static const auto table = [] {
        std::array<uint8_t, 511> t{};
        for (int d = 0; d < 511; ++d) t[d] = static_cast<uint8_t>(std::min(255, std::abs(d - 255 + 128)));
        return t;
    }();
    return table;
}

// (3a - b) / 2 rounded halves to even and held to 0..255, indexed by 3a - b + 255.
const std::array<uint8_t, 1021>& SharpenTable()
{
    static const auto table = [] {
        std::array<uint8_t, 1021> t{};
        for (int i = 0; i < 1021; ++i) {
            const int n = i - 255;
            const int half = n >> 1;                  // floor(n / 2)
            const int v = half + (n & half & 1);      // a half goes to the even neighbour
            t[i] = static_cast<uint8_t>(CapChannel(v));
        }
        return t;
    }();
    return table;
}

// round(s / 9) for a 3 x 3 sum s of one channel; s / 9 is never a half.
const std::array<uint8_t, 9 * 255 + 1>& NinthTable()
{
    static const auto table = [] {
        std::array<uint8_t, 9 * 255 + 1> t{};
        for (int s = 0; s <= 9 * 255; ++s) t[s] = static_cast<uint8_t>((s + 4) / 9);
        return t;
    }();
    return table;
}

// The three channels of a pixel in 16-bit lanes, so that nine of them add up lane by lane.
inline uint64_t Lanes(uint32_t p)
{
    return (p & 0xFFu) | (uint64_t{p & 0xFF00u} << 8) | (uint64_t{p & 0xFF0000u} << 16);
}

TargetColumns Emboss()
{
    return [](const WorkingCopy& src, QImage& dst, int x0, int x1) {
        const auto& t = EmbossTable();
        const int w = src.width(), h = src.height();
        const int xe = std::min(x1, w - 1);
        for (int y = 0; y < h; ++y) {
            uint32_t* out = PixelRow(dst, y);
            if (y == h - 1) {
                std::fill(out + x0, out + x1, kMidGrey);
                continue;
            }
            const uint32_t* in = src.row(y);
            const uint32_t* below = src.row(y + 1);
            for (int x = x0; x < xe; ++x) out[x] = ThroughTable(t, in[x], below[x + 1], 1, 255);
            if (x1 == w) out[w - 1] = kMidGrey;
        }
    };
}

TargetColumns Sharpen()
{
    return [](const WorkingCopy& src, QImage& dst, int x0, int x1) {
        const auto& t = SharpenTable();
        FilterBand(src, dst, x0, x1, 1, [&](int y, int lo, int hi, uint32_t* out) {
            const uint32_t* in = src.row(y);
            const uint32_t* above = src.row(y - 1);
            for (int x = lo; x < hi; ++x) out[x] = ThroughTable(t, in[x], above[x - 1], 3, 255);
        });
    };
}

TargetColumns Smooth()
{
    return [](const WorkingCopy& src, QImage& dst, int x0, int x1) {
        const auto& t = NinthTable();
        std::vector<uint64_t> columnSums(static_cast<size_t>(src.width()) + 2);
        FilterBand(src, dst, x0, x1, 1, [&](int y, int lo, int hi, uint32_t* out) {
            const uint32_t* r0 = src.row(y - 1);
            const uint32_t* r1 = src.row(y);
            const uint32_t* r2 = src.row(y + 1);
            // sums[i]: the three pixels above each other in column lo - 1 + i.
            uint64_t* sums = columnSums.data();
            for (int c = lo - 1; c <= hi; ++c)
                sums[c - lo + 1] = Lanes(r0[c]) + Lanes(r1[c]) + Lanes(r2[c]);
            for (int x = lo; x < hi; ++x) {
                const uint64_t s = sums[x - lo] + sums[x - lo + 1] + sums[x - lo + 2];
                out[x] = kPixelOpaque | t[s & 0xFFFF] | (uint32_t{t[(s >> 16) & 0xFFFF]} << 8)
                         | (uint32_t{t[(s >> 32) & 0xFFFF]} << 16);
            }
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
// bisection on ScatterOffset itself, for even and for odd positions.
struct ScatterSteps {
    std::array<uint64_t, 4> from{};
    int offset(uint64_t m) const
    {
        return -2 + (m >= from[0]) + (m >= from[1]) + (m >= from[2]) + (m >= from[3]);
    }
};

// [0] for even positions, [1] for odd ones.
const std::array<ScatterSteps, 2>& Steps()
{
    static const std::array<ScatterSteps, 2> steps = [] {
        std::array<ScatterSteps, 2> s;
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

using Lanes8 = uint64_t __attribute__((vector_size(64)));

// The offsets of the `pixels` visited pixels of row y from draw `first` on, into offsets[2 i]
// (dy of pixel i) and offsets[2 i + 1] (dx): eight draws (four pixels) at a time with 64-bit
// lanes, where the processor has AVX-512 (multiplies of 64-bit lanes). The row starts at the
// even x = 2, so in every group of four pixels the lanes for dx alternate even and odd x.
// Returns how many draws it filled (whole groups of eight); the caller computes the rest of the
// row pixel by pixel, as it does the whole row on other processors.
__attribute__((target("avx512f,avx512dq")))
int ScatterOffsetsWide(const UniformBlock& draws, uint64_t first, int pixels, int y, int8_t* offsets)
{
    const std::array<ScatterSteps, 2>& steps = Steps();
    Lanes8 from[4];
    Lanes8 step;
    for (int j = 0; j < 8; ++j) {
        const ScatterSteps& s = j % 2 == 0 ? steps[y & 1] : steps[(j / 2) & 1];
        for (int k = 0; k < 4; ++k) from[k][j] = s.from[k];
        step[j] = j * detail::kStep;
    }
    int i = 0;
    for (; i + 8 <= 2 * pixels; i += 8) {
        Lanes8 m = draws.stateOf(first + i) + step;
        detail::MixToBits(m);
        // A compare gives -1 in each lane that reached the threshold.
        const Lanes8 reached = (m >= from[0]) + (m >= from[1]) + (m >= from[2]) + (m >= from[3]);
        for (int j = 0; j < 8; ++j) offsets[i + j] = static_cast<int8_t>(-2 - static_cast<int64_t>(reached[j]));
    }
    return i;
}

bool HasWideLanes()
{
    static const bool has = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq");
    return has;
}

TargetColumns Diffuse(const WorkingCopy& work)
{
    const int w = work.width(), h = work.height();
    const uint64_t visited = w >= 5 && h >= 5 ? uint64_t(w - 4) * uint64_t(h - 4) : 0;
    const UniformBlock draws = SharedGenerator().take(2 * visited);
    return [draws](const WorkingCopy& src, QImage& dst, int x0, int x1) {
        const int w = src.width();
        std::vector<int8_t> offsets(2 * static_cast<size_t>(std::max(0, w - 4)));
        FilterBand(src, dst, x0, x1, 2, [&](int y, int lo, int hi, uint32_t* out) {
            // Visited pixels are numbered in row order, n = (y - 2) * (W - 4) + (x - 2); pixel n
            // takes draw 2 n for dy and 2 n + 1 for dx. first: the row's first draw.
            const uint64_t first = 2 * uint64_t(y - 2) * uint64_t(w - 4);
            const uint32_t* near[5];   // source rows y - 2 .. y + 2
            for (int r = 0; r < 5; ++r) near[r] = src.row(y - 2 + r);
            int x = lo;
            if (HasWideLanes()) {
                const int filled = ScatterOffsetsWide(draws, first, hi - lo, y, offsets.data());
                const int8_t* o = offsets.data();
                for (; x < lo + filled / 2; ++x, o += 2) out[x] = near[o[0] + 2][x + o[1]];
            }
            const std::array<ScatterSteps, 2>& steps = Steps();
            for (; x < hi; ++x) {
                const uint64_t n = first + 2 * uint64_t(x - lo);
                const int dy = steps[y & 1].offset(draws.bitsAt(n));
                const int dx = steps[x & 1].offset(draws.bitsAt(n + 1));
                out[x] = near[dy + 2][x + dx];
            }
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
