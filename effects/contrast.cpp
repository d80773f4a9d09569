#include "effects/contrast.h"
#include "effects/batch_params.h"
#include "effects/pixel_kernels.h"
#include "effects/row_map.h"
#include "platform/numbers.h"
#include <algorithm>
#include <array>
#include <memory>

namespace orv {

namespace {

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
    std::unique_ptr<kernels::LineTable> channels;   // built when the writing pass starts
};

} // namespace

// With m = 0 the scale would divide by zero; the map is then the identity, so an all-black
// picture stays as it is.
kernels::LineTable ContrastChannels(int m, int value)
{
    const double k = value + 200;
    const double scale = m == 0 ? 1.0 : k / m;
    const double offset = m == 0 ? 0.0 : (256 - k) / 2;
    std::array<uint8_t, 256> table;
    for (int u = 0; u < 256; ++u) table[u] = static_cast<uint8_t>(RoundHalfEven(std::clamp(u * scale + offset, 0.0, 255.0)));
    return kernels::MakeLineTable(table.data(), scale, offset);
}

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
        if (!run->channels)
            run->channels = std::make_unique<kernels::LineTable>(ContrastChannels(static_cast<int>(run->maxSum / 3), value));
        const kernels::LineTable& channels = *run->channels;
        MapRows(work, x0, x1, [&channels](const uint32_t* in, uint32_t* out, size_t n) {
            kernels::LineTableRow(in, out, n, channels);
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
