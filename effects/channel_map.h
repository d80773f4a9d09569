#pragma once
// Per-pixel maps over a band of columns of a working copy. A band [x0, x1) is visited row by
// row, so memory is read in runs of adjacent pixels; each pixel depends only on itself, so the
// result is the same as the column-by-column order.
#include "effects/working_copy.h"
#include <array>
#include <cstdint>
#include <cstring>

namespace orv {

// Four pixel words handled as one (compiles to SIMD registers where the machine has them).
using PixelQuad = uint32_t __attribute__((vector_size(16)));

// New value of one 8-bit channel for every old value.
using ChannelTable = std::array<uint8_t, 256>;

// Replaces every pixel p of columns x0 .. x1-1 by f(p). f is called with a uint32_t or with a
// PixelQuad, so it must be written with operators that work on both (generic lambda).
template <class PixelFn>
void MapPixels(WorkingCopy& work, int x0, int x1, PixelFn f)
{
    const int h = work.height();
    for (int y = 0; y < h; ++y) {
        uint32_t* row = work.row(y);
        int x = x0;
        for (; x + 4 <= x1; x += 4) {
            PixelQuad q;
            std::memcpy(&q, row + x, sizeof q);
            q = f(q);
            std::memcpy(row + x, &q, sizeof q);
        }
        for (; x < x1; ++x) row[x] = f(row[x]);
    }
}

// Sends each of the red, green and blue bytes of columns x0 .. x1-1 through `table`.
void MapChannels(WorkingCopy& work, int x0, int x1, const ChannelTable& table);

} // namespace orv
