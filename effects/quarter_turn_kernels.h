#pragma once
// The tile kernel of the quarter turns, compiled for every SIMD instruction set and run with the
// best one the processor has.
#include <cstddef>
#include <cstdint>

namespace orv::kernels {

// Columns x .. x + m - 1 of n rows into m rows of n pixels: out[c][i] = rows[i][x + c] for
// i < n, c < m. A turn hands the rows over in the order its target reads them.
void TransposePixels(const uint32_t* const* rows, size_t n, size_t x, uint32_t* const* out, size_t m);

} // namespace orv::kernels
