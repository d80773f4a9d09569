#include "effects/contrast.h"
#include "effects/batch_params.h"
#include "effects/pixel_kernels.h"
#include "effects/row_map.h"
#include "platform/numbers.h"
#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace orv {

namespace {

// New value of one 8-bit channel for every old value.
using ChannelTable = std::array<uint8_t, 256>;

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

// The greatest r + g + b over the band's rows.
uint32_t GreatestChannelSum(const WorkingCopy& work, int x0, int x1)
{
    const RowShare rows = RowsOfBand(work.width(), work.height(), x0, x1);
    const auto w = static_cast<size_t>(work.width());
    uint32_t best = 0;
    for (int y = rows.from; y < rows.to; ++y) best = std::max(best, kernels::GreatestChannelSumRow(work.row(y), w));
    return best;
}

// What the measuring pass hands to the writing pass.
struct ContrastRun {
    uint32_t maxSum = 0;                  // greatest r + g + b so far
    std::vector<uint32_t> pairs;          // the table's ChannelPairs, built when the writing pass starts
};

} // namespace

std::vector<ColumnPass> ContrastPasses(WorkingCopy& work, const ContrastParams& p)
{
    auto run = std::make_shared<ContrastRun>();

    // (r + g + b) \ 3 grows with r + g + b, so the greatest average is the greatest sum \ 3.
    ColumnPass measure;
    measure.progressFrom = 0.0f;
    measure.progressSpan = 50.0f;
    // Once a white pixel is seen nothing can exceed it, and the other bands need no reading.
    measure.columns = [&work, run](int x0, int x1) {
        if (run->maxSum < 3 * 255) run->maxSum = std::max(run->maxSum, GreatestChannelSum(work, x0, x1));
    };

    ColumnPass write;
    write.progressFrom = 50.0f;
    write.progressSpan = 50.0f;
    write.columns = [&work, run, value = p.value](int x0, int x1) {
        if (run->pairs.empty()) run->pairs = kernels::ChannelPairs(ContrastTable(static_cast<int>(run->maxSum / 3), value).data());
        const uint32_t* pairs = run->pairs.data();
        MapRows(work, x0, x1, [pairs](const uint32_t* in, uint32_t* out, size_t n) {
            kernels::ChannelTableRow(in, out, n, pairs);
        });
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
