#include "effects/brightness.h"
#include "effects/batch_params.h"
#include "effects/pixel_kernels.h"
#include "effects/row_map.h"
#include <algorithm>
#include <cstdlib>

namespace orv {

std::vector<ColumnPass> BrightnessPasses(WorkingCopy& work, const BrightnessParams& p)
{
    const auto amount = static_cast<uint8_t>(std::min(255, std::abs(p.value)));
    const bool add = p.value >= 0;
    ColumnPass pass;
    pass.columns = [&work, amount, add](int x0, int x1) {
        MapRows(work, x0, x1, [=](const uint32_t* in, uint32_t* out, size_t n) {
            kernels::AddToChannelsRow(in, out, n, amount, add);
        });
    };
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
