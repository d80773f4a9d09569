#include "effects/brightness.h"
#include "effects/batch_params.h"
#include "effects/channel_map.h"
#include <cstdlib>

namespace orv {

namespace {

using ByteVector = uint8_t __attribute__((vector_size(16)));   // four pixels as 16 bytes

// Adds `value` to the colour bytes of columns x0 .. x1-1, each held to 0..255: a saturating
// byte addition (or subtraction for a negative value) sixteen bytes at a time; the unused top
// byte gets 0 added. The last one to three columns of the band go through `table`, which
// holds the same sums.
template <bool kAdd>
void AddToChannels(WorkingCopy& work, int x0, int x1, uint8_t amount, const ChannelTable& table)
{
    ByteVector step;
    for (int i = 0; i < 16; ++i) step[i] = i % 4 == 3 ? 0 : amount;
    const int quads = (x1 - x0) / 4;
    for (int y = 0; y < work.height(); ++y) {
        auto* bytes = reinterpret_cast<uint8_t*>(work.row(y) + x0);
        for (int q = 0; q < quads; ++q) {
            ByteVector v;
            std::memcpy(&v, bytes + 16 * q, sizeof v);
            if constexpr (kAdd) {
                const ByteVector sum = v + step;
                v = sum | reinterpret_cast<ByteVector>(sum < v);    // carried: 255
            } else {
                const ByteVector diff = v - step;
                v = diff & ~reinterpret_cast<ByteVector>(diff > v); // borrowed: 0
            }
            std::memcpy(bytes + 16 * q, &v, sizeof v);
        }
    }
    MapChannels(work, x0 + 4 * quads, x1, table);
}

} // namespace

std::vector<ColumnPass> BrightnessPasses(WorkingCopy& work, const BrightnessParams& p)
{
    ChannelTable table;
    for (int u = 0; u < 256; ++u) table[u] = static_cast<uint8_t>(CapChannel(u + p.value));
    const auto amount = static_cast<uint8_t>(std::min(255, std::abs(p.value)));
    ColumnPass pass;
    if (p.value >= 0)
        pass.columns = [&work, amount, table](int x0, int x1) { AddToChannels<true>(work, x0, x1, amount, table); };
    else
        pass.columns = [&work, amount, table](int x0, int x1) { AddToChannels<false>(work, x0, x1, amount, table); };
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
