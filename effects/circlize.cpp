#include "effects/circlize.h"
#include "documents/shape_spans.h"
#include "effects/batch_params.h"
#include "effects/step_text.h"
#include "effects/target_picture.h"
#include "platform/numbers.h"
#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

namespace orv {

namespace {

// Circle centres along one axis as the circle primitive and the pixel read see them: `twice`
// is the centre in half pixels, `sample` the pixel whose colour the circle takes.
struct Centre {
    int64_t twice;
    int sample;
    int floorPixel() const { return static_cast<int>(twice >> 1); }
    // The centre's place within two pixels: its half-pixel offset, and whether its pixel is
    // odd, which decides where a circle thinner than a pixel rounds (halves to even).
    int phase() const { return static_cast<int>(twice & 3); }
};

// Positions 0, step, 2 step, ... (accumulated) while at most extent - 1, as single-precision
// values like the primitive takes them. A position giving the same centre and sample as the
// one before draws the very same circles again, so only the last of such a run is kept.
std::vector<Centre> Centres(double start, double step, int extent)
{
    std::vector<Centre> out;
    for (double v = start; v - start <= extent - 1; v += step) {
        const double p = static_cast<float>(v - start);
        const Centre c{static_cast<int64_t>(RoundHalfEven(2 * p)), static_cast<int>(RoundHalfEven(p))};
        if (!out.empty() && out.back().twice == c.twice && out.back().sample == c.sample)
            out.back() = c;
        else
            out.push_back(c);
    }
    return out;
}

// The outline of one circle as column spans per row, relative to the pixel that holds its
// centre, for each of the sixteen placements of the centre (see Centre::phase). A row has at most two
// spans (the left and the right side of the ring, or one span across the top or bottom).
struct Segment {
    int from;
    int to;   // inclusive
};
struct OutlineRow {
    std::array<Segment, 2> spans;
    int count = 0;
};

class Outlines {
public:
    // The circle is drawn around an even pixel `reach_` from the sketch's corner, so that each
    // placement keeps its pixel's parity.
    explicit Outlines(double radius) : reach_((static_cast<int>(std::ceil(radius)) + 3) & ~1)
    {
        const int side = 2 * reach_ + 4;
        for (int phaseY = 0; phaseY < kPhases; ++phaseY)
            for (int phaseX = 0; phaseX < kPhases; ++phaseX) {
                SpanSet ring(side, side);
                AddEllipse(ring, nullptr, 1, reach_ + phaseX * 0.5, reach_ + phaseY * 0.5, radius, radius);
                std::vector<OutlineRow>& rows = rows_[phaseY][phaseX];
                rows.assign(static_cast<size_t>(side), {});
                const int left = reach_ + phaseX / 2, top = reach_ + phaseY / 2;
                for (const PixelSpan& s : ring.spans()) {
                    OutlineRow& row = rows[static_cast<size_t>(s.y - top + reach_)];
                    if (row.count < 2) row.spans[static_cast<size_t>(row.count++)] = {s.x0 - left, s.x1 - left};
                }
            }
    }
    static constexpr int kPhases = 4;
    // How far from its centre pixel a circle's outline can reach.
    int reach() const { return reach_; }
    const OutlineRow& row(int phaseY, int phaseX, int dy) const
    {
        return rows_[phaseY][phaseX][static_cast<size_t>(dy + reach_)];
    }

private:
    int reach_;
    std::vector<OutlineRow> rows_[kPhases][kPhases];
};

// Painting in reverse: the colour a pixel ends with is that of the last circle drawn through
// it, so each output row asks the circle rows from the last one up which circle that is, and
// every pixel is written once.
class Circlizer {
public:
    Circlizer(int width, int height, const CirclizeParams& p)
        : width_(width), columns_(Centres(10, p.xstep, width)), rows_(Centres(20, p.ystep, height)),
          outlines_(std::fabs(static_cast<float>(p.radius)))
    {
        // lastColumn_[phase][q]: the last column centre of that placement (Centre::phase) whose centre
        // pixel is at most q, or -1.
        for (int phase = 0; phase < Outlines::kPhases; ++phase) {
            std::vector<int>& last = lastColumn_[phase];
            last.assign(static_cast<size_t>(width), -1);
            int j = -1;
            size_t next = 0;
            for (int q = 0; q < width; ++q) {
                for (; next < columns_.size() && columns_[next].floorPixel() <= q; ++next)
                    if (columns_[next].phase() == phase) j = static_cast<int>(next);
                last[static_cast<size_t>(q)] = j;
            }
            phasePresent_[phase] = j >= 0;
        }
    }

    // Output row y from the unchanged picture.
    void row(const WorkingCopy& source, int y, uint32_t* out, std::vector<int>& open) const
    {
        const int reach = outlines_.reach();
        // Circle rows whose centre pixel lies within reach of y, from the last drawn.
        auto k = std::upper_bound(rows_.begin(), rows_.end(), y + reach,
                                  [](int v, const Centre& c) { return v < c.floorPixel(); });
        open.clear();
        bool all = true;   // every pixel still open, without listing them
        for (; k != rows_.begin();) {
            --k;
            const int dy = y - k->floorPixel();
            if (dy > reach) break;
            // The outline spans of this circle row at y, for each placement the columns have:
            // a circle reaches x through a span when its centre pixel is x - to .. x - from.
            struct Probe {
                const int* last;
                int from;
                int to;
            };
            Probe probes[Outlines::kPhases * 2];
            int probeCount = 0;
            for (int phase = 0; phase < Outlines::kPhases; ++phase) {
                if (!phasePresent_[phase]) continue;
                const OutlineRow& r = outlines_.row(k->phase(), phase, dy);
                for (int s = 0; s < r.count; ++s)
                    probes[probeCount++] = {lastColumn_[phase].data(), r.spans[static_cast<size_t>(s)].from,
                                            r.spans[static_cast<size_t>(s)].to};
            }
            if (probeCount == 0) continue;   // this row of circles does not reach y
            const uint32_t* colours = source.row(k->sample);
            auto winner = [&](int x) {
                int best = -1;
                for (int i = 0; i < probeCount; ++i) {
                    const int q = std::min(x - probes[i].from, width_ - 1);
                    if (q < 0) continue;
                    const int j = probes[i].last[q];
                    if (j > best && columns_[static_cast<size_t>(j)].floorPixel() >= x - probes[i].to) best = j;
                }
                return best;
            };
            if (all) {
                for (int x = 0; x < width_; ++x) {
                    const int j = winner(x);
                    if (j >= 0) out[x] = colours[columns_[static_cast<size_t>(j)].sample];
                    else open.push_back(x);
                }
                all = false;
            } else {
                size_t kept = 0;
                for (const int x : open) {
                    const int j = winner(x);
                    if (j >= 0) out[x] = colours[columns_[static_cast<size_t>(j)].sample];
                    else open[kept++] = x;
                }
                open.resize(kept);
            }
            if (open.empty()) return;
        }
        const uint32_t* own = source.row(y);
        if (all) std::copy(own, own + width_, out);
        for (const int x : open) out[x] = own[x];
    }

private:
    int width_;
    std::vector<Centre> columns_;
    std::vector<Centre> rows_;
    Outlines outlines_;
    std::vector<int> lastColumn_[Outlines::kPhases];
    bool phasePresent_[Outlines::kPhases] = {};
};

} // namespace

bool RadiusFromText(const QString& text, double* radius)
{
    return DialogNumberAtLeast(text, 0.0, radius);
}

std::vector<ColumnPass> CirclizePasses(WorkingCopy& work, const CirclizeParams& p)
{
    const int w = work.width(), h = work.height();
    // An outline further from its centre than the picture's far corner misses the picture.
    if (w <= 0 || h <= 0 || !(std::fabs(p.radius) <= double(w) + h)) return {};
    auto circles = std::make_shared<const Circlizer>(w, h, p);
    return {PassIntoTarget(work, w, h, [circles, w, h](const WorkingCopy& source, QImage& target, int x0, int x1) {
        std::vector<int> open;
        open.reserve(static_cast<size_t>(w));
        const RowShare rows = RowsOfBand(w, h, x0, x1);
        const PixelRows out(target);
        for (int y = rows.from; y < rows.to; ++y) circles->row(source, y, out[y], open);
    })};
}

bool ParseCirclizeParams(const EffectParams& params, CirclizeParams* out, QString* error)
{
    const QString effect = QStringLiteral("circlize");
    if (!CheckParamNames(effect, params, {"ystep", "xstep", "radius"}, error)) return false;
    CirclizeParams p;
    const QString stepRule = QStringLiteral("a number of at least %1").arg(kSmallestStep);
    if (!ReadNumberParam(effect, params, QStringLiteral("ystep"), StepFromText, stepRule, &p.ystep, error)
        || !ReadNumberParam(effect, params, QStringLiteral("xstep"), StepFromText, stepRule, &p.xstep, error)
        || !ReadNumberParam(effect, params, QStringLiteral("radius"), RadiusFromText,
                            QStringLiteral("a number of 0 or more"), &p.radius, error))
        return false;
    *out = p;
    return true;
}

} // namespace orv
