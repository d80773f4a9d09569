#include "effects/brightness.h"
#include "effects/batch_params.h"
#include "effects/channel_map.h"
#include <cstdlib>

namespace orv {

namespace {

using ByteVector = uint8_t __attribute__((vector_size(16)));   // four pixels as 16 bytes

// Adds `amount` to (or, for kAdd false, subtracts it from) the colour bytes of the band's rows,
// each held to 0..255: a saturating byte operation sixteen bytes at a time; the unused top
// byte gets 0 added. The last one to three pixels of a row go through the same operation in a
// zero-padded quad.
template <bool kAdd>
void AddToChannels(WorkingCopy& work, int x0, int x1, uint8_t amount)
{
    ByteVector step;
    for (int i = 0; i < 16; ++i) step[i] = i % 4 == 3 ? 0 : amount;
    const auto apply = [&step](ByteVector v) {
        if constexpr (kAdd) {
            const ByteVector sum = v + step;
            return sum | reinterpret_cast<ByteVector>(sum < v);    // carried: 255
        } else {
            const ByteVector diff = v - step;
            return diff & ~reinterpret_cast<ByteVector>(diff > v); // borrowed: 0
        }
    };
    const RowShare rows = RowsOfBand(work.width(), work.height(), x0, x1);
    const size_t rowBytes = size_t(work.width()) * 4;
    const size_t quadBytes = rowBytes / 16 * 16;
    for (int y = rows.from; y < rows.to; ++y) {
        const WorkingCopy::MappedRow row = work.mapRow(y);
        const auto* in = reinterpret_cast<const uint8_t*>(row.in);
        auto* out = reinterpret_cast<uint8_t*>(row.out);
        for (size_t i = 0; i < quadBytes; i += 16) {
            ByteVector v;
            std::memcpy(&v, in + i, sizeof v);
            v = apply(v);
            std::memcpy(out + i, &v, sizeof v);
        }
        if (quadBytes < rowBytes) {
            ByteVector v{};
            std::memcpy(&v, in + quadBytes, rowBytes - quadBytes);
            v = apply(v);
            std::memcpy(out + quadBytes, &v, rowBytes - quadBytes);
        }
    }
}

} // namespace

std::vector<ColumnPass> BrightnessPasses(WorkingCopy& work, const BrightnessParams& p)
{
    const auto amount = static_cast<uint8_t>(std::min(255, std::abs(p.value)));
    ColumnPass pass;
    if (p.value >= 0)
        pass.columns = [&work, amount](int x0, int x1) { AddToChannels<true>(work, x0, x1, amount); };
    else
        pass.columns = [&work, amount](int x0, int x1) { AddToChannels<false>(work, x0, x1, amount); };
    return {pass};
}

bool ParseBrightnessParams(const EffectParams& params, BrightnessParams* out, QString* error)
{
    const QString effect = QStringLiteral("brightness");
    BrightnessParams p;
    if (!CheckParamNames(effect, params, {"value"}, error)
        || !ReadIntParam(effect, params, "value", -100, 100, &p.value, error))
        return false;
    *out = p;
    return true;
}

} // namespace orv
