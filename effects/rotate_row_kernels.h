#pragma once
// The row kernel of Rotate by any angle, compiled for every SIMD instruction set and run with
// the best one the processor has.
#include <cstddef>
#include <cstdint>

namespace orv::kernels {

// A w x h picture whose rows lie `stride` pixels apart, sampled bilinearly along a line:
// out[i] samples position (x + i stepX, y + i stepY), given in fixed point with 32 fraction
// bits. With (ix, iy) the position's whole part and fx, fy the top 8 bits of its fraction, the
// four pixels (ix, iy) .. (ix + 1, iy + 1) mix per channel as
//   mix(a, b, f) = (a (256 - f) + b f + 128) >> 8,
// first across with fx, then down with fy; a pixel outside the picture counts as `back`, an
// opaque pixel, which a position with no pixel of the picture around it therefore takes as it
// is. The top byte of every result is 0xFF.
void RotateSampleRow(const uint32_t* picture, size_t stride, int w, int h, int64_t x, int64_t y, int64_t stepX,
                     int64_t stepY, uint32_t back, uint32_t* out, size_t n);

} // namespace orv::kernels
