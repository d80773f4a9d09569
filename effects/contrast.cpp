#include "effects/contrast.h"
#include "effects/batch_params.h"
#include "effects/channel_map.h"
#include "platform/numbers.h"
#include <algorithm>
#include <memory>
#include <optional>

namespace orv {

namespace {

// The writing pass's map of one channel for the brightest average m and the scroll-bar value.
// With m = 0 the scale would divide by zero; the map is then the identity, so an all-black
// picture stays as it is.
ChannelTable ContrastTable(int m, int value)
{
    ChannelTable table;
    if (m == 0) {
        for (int u = 0; u < 256; ++u) table[u] = static_cast<uint8_t>(u);
        return table;
    }
    const double k = value + 200;
    const double scale = k / m;
    const double offset = (256 - k) / 2;
    for (int u = 0; u < 256; ++u) {
        const double w = std::clamp(u * scale + offset, 0.0, 255.0);
        table[u] = static_cast<uint8_t>(RoundHalfEven(w));
    }
    return table;
}

// The greatest r + g + b over the band's rows, four pixels at a time.
int GreatestChannelSum(const WorkingCopy& work, int x0, int x1)
{
    const auto sumOf = [](auto px) { return (px & 0xFF) + ((px >> 8) & 0xFF) + ((px >> 16) & 0xFF); };
    PixelQuad bestQuad{0, 0, 0, 0};
    uint32_t best = 0;
    const RowShare rows = RowsOfBand(work.width(), work.height(), x0, x1);
    const int w = work.width();
    for (int y = rows.from; y < rows.to; ++y) {
        const uint32_t* row = work.row(y);
        int x = 0;
        for (; x + 4 <= w; x += 4) {
            PixelQuad q;
            std::memcpy(&q, row + x, sizeof q);
            const PixelQuad s = sumOf(q);
            bestQuad = s > bestQuad ? s : bestQuad;
        }
        for (; x < w; ++x) best = std::max(best, sumOf(row[x]));
    }
    for (int i = 0; i < 4; ++i) best = std::max(best, bestQuad[i]);
    return static_cast<int>(best);
}

// What the measuring pass hands to the writing pass.
struct ContrastRun {
    int maxSum = 0;                     // greatest r + g + b so far
    std::optional<PixelTable> table;  // built when the writing pass starts
};

} // namespace

std::vector<ColumnPass> ContrastPasses(WorkingCopy& work, const ContrastParams& p)
{
    auto run = std::make_shared<ContrastRun>();

    // (r + g + b) \ 3 grows with r + g + b, so the greatest average is the greatest sum \ 3.
    ColumnPass measure;
    measure.progressFrom = 0.0f;
    measure.progressSpan = 50.0f;
    measure.columns = [&work, run](int x0, int x1) {
        run->maxSum = std::max(run->maxSum, GreatestChannelSum(work, x0, x1));
    };

    ColumnPass write;
    write.progressFrom = 50.0f;
    write.progressSpan = 50.0f;
    write.columns = [&work, run, value = p.value](int x0, int x1) {
        if (!run->table) run->table.emplace(ContrastTable(run->maxSum / 3, value));
        MapChannels(work, x0, x1, *run->table);
    };
    return {measure, write};
}

bool ParseContrastParams(const EffectParams& params, ContrastParams* out, QString* error)
{
    const QString effect = QStringLiteral("contrast");
    ContrastParams p;
    if (!CheckParamNames(effect, params, {"value"}, error)
        || !ReadIntParam(effect, params, "value", -200, 200, &p.value, error))
        return false;
    *out = p;
    return true;
}

} // namespace orv
