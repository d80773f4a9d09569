#include "effects/channel_map.h"

namespace orv {

void MapChannels(WorkingCopy& work, int x0, int x1, const ChannelTable& table)
{
    const uint8_t* t = table.data();
    const int h = work.height();
    for (int y = 0; y < h; ++y) {
        uint32_t* row = work.row(y);
        for (int x = x0; x < x1; ++x) {
            const uint32_t p = row[x];
            row[x] = kPixelOpaque | t[p & 0xFF] | (uint32_t{t[(p >> 8) & 0xFF]} << 8)
                     | (uint32_t{t[(p >> 16) & 0xFF]} << 16);
        }
    }
}

} // namespace orv
