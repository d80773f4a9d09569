#include "effects/grayscale.h"
#include "effects/pixel_kernels.h"
#include "effects/row_map.h"

namespace orv {

int GrayLevel(ColorRef c)
{
    const uint32_t in = ToPixel(c);
    uint32_t gray = 0;
    kernels::GrayRow(&in, &gray, 1);
    return static_cast<int>(gray & 0xFFu);
}

std::vector<ColumnPass> GrayscalePasses(WorkingCopy& work)
{
    ColumnPass pass;
    pass.columns = [&work](int x0, int x1) { MapRows(work, x0, x1, kernels::GrayRow); };
    return {pass};
}

} // namespace orv
