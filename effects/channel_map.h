#pragma once
// Per-pixel maps over the share of a working copy that belongs to one band of a pass.
//
// A pixel that depends only on itself comes out the same whichever order the pixels are
// visited in, and the working copy is seen by no one until the run writes it back (a cancelled
// run drops it). So a per-pixel kernel handed the band [x0, x1) of W columns does not walk
// those columns down all H rows, which jumps a whole row ahead at every step and runs at a
// fraction of the memory's speed; it maps whole rows instead, the same share of the rows as
// the band is of the columns. The bands of a pass cover every column once, so their row shares
// cover every row once, and the progress and cancel tests keep the pace of the column order.
#include "effects/working_copy.h"
#include <array>
#include <cstdint>
#include <cstring>

namespace orv {

// Four pixel words handled as one (compiles to SIMD registers where the machine has them).
using PixelQuad = uint32_t __attribute__((vector_size(16)));

// New value of one 8-bit channel for every old value.
using ChannelTable = std::array<uint8_t, 256>;

// Rows from .. to-1: the share of a per-pixel kernel for the band [x0, x1).
struct RowShare {
    int from;
    int to;
};

inline RowShare RowsOfBand(const WorkingCopy& work, int x0, int x1)
{
    const int64_t w = work.width(), h = work.height();
    if (w == 0) return {0, 0};
    return {static_cast<int>(x0 * h / w), static_cast<int>(x1 * h / w)};
}

// Replaces every pixel p of the band's rows by f(p). f is called with a uint32_t or with a
// PixelQuad, so it must be written with operators that work on both (generic lambda).
template <class PixelFn>
void MapPixels(WorkingCopy& work, int x0, int x1, PixelFn f)
{
    const RowShare rows = RowsOfBand(work, x0, x1);
    const int w = work.width();
    for (int y = rows.from; y < rows.to; ++y) {
        const WorkingCopy::MappedRow row = work.mapRow(y);
        int x = 0;
        for (; x + 4 <= w; x += 4) {
            PixelQuad q;
            std::memcpy(&q, row.in + x, sizeof q);
            q = f(q);
            std::memcpy(row.out + x, &q, sizeof q);
        }
        for (; x < w; ++x) row.out[x] = f(row.in[x]);
    }
}

// A ChannelTable applied to the red, green and blue bytes of a pixel: one table per channel
// holding the new byte already in its place (red's with the opaque top byte), so a pixel is
// three look-ups OR-ed together. MapChannels looks up 64 bytes at a time instead where the
// processor has byte permutes (AVX-512 VBMI), from the channel table itself.
class PixelTable {
public:
    explicit PixelTable(const ChannelTable& channel);
    uint32_t operator()(uint32_t p) const
    {
        return red_[p & 0xFFu] | green_[(p >> 8) & 0xFFu] | blue_[(p >> 16) & 0xFFu];
    }
    const ChannelTable& channel() const { return channel_; }

private:
    ChannelTable channel_;
    std::array<uint32_t, 256> red_, green_, blue_;
};

// Sends each of the red, green and blue bytes of the band's rows through the table.
void MapChannels(WorkingCopy& work, int x0, int x1, const PixelTable& table);

} // namespace orv
