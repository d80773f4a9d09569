#pragma once
// Per-pixel maps over the share of a working copy that belongs to one band of a pass: whole
// rows, as RowsOfBand explains, read from the canvas snapshot where not yet copied
// (WorkingCopy::mapRow).
#include "effects/column_passes.h"
#include "effects/working_copy.h"
#include <array>
#include <cstdint>
#include <cstring>

namespace orv {

// Four pixel words handled as one (compiles to SIMD registers where the machine has them).
using PixelQuad = uint32_t __attribute__((vector_size(16)));

// New value of one 8-bit channel for every old value.
using ChannelTable = std::array<uint8_t, 256>;

// Replaces every pixel p of the band's rows by f(p). f is called with a uint32_t or with a
// PixelQuad, so it must be written with operators that work on both (generic lambda).
template <class PixelFn>
void MapPixels(WorkingCopy& work, int x0, int x1, PixelFn f)
{
    const RowShare rows = RowsOfBand(work.width(), work.height(), x0, x1);
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
