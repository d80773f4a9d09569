#include "effects/grayscale.h"
#include "effects/channel_map.h"

namespace orv {

namespace {

// round(s / 255) for the weighted sum s = 150 g + 76 r + 28 b (at most 64770). s / 255 is
// never a half (that would need 2 s = 255 times an odd number), so it is floor((s + 127) / 255),
// and for these values floor(n / 255) = (n * 65794) >> 24 exactly, within 32 bits:
// 65794 / 2^24 exceeds 1 / 255 by less than 1 / (255 * 64897).
template <class Px>
Px GrayPixel(Px px)
{
    const Px s = (px & 0xFFu) * 76u + ((px >> 8) & 0xFFu) * 150u + ((px >> 16) & 0xFFu) * 28u;
    const Px gray = ((s + 127u) * 65794u) >> 24;
    return gray * 0x010101u | kPixelOpaque;
}

} // namespace

int GrayLevel(ColorRef c)
{
    return static_cast<int>(GrayPixel(ToPixel(c)) & 0xFFu);
}

std::vector<ColumnPass> GrayscalePasses(WorkingCopy& work)
{
    ColumnPass pass;
    pass.columns = [&work](int x0, int x1) {
        MapPixels(work, x0, x1, [](auto px) { return GrayPixel(px); });
    };
    return {pass};
}

} // namespace orv
