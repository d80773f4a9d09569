#pragma once
// The row kernels of Resize's filters, down the columns and along the rows, compiled for every
// SIMD instruction set and run with the best one the processor has.
#include <cstddef>
#include <cstdint>

namespace orv::kernels {

// out[i] = per channel clamp((sum_k weight[k] * channel(rows[k][i]) + 2^(bits-1)) >> bits,
// 0, 255) for red, green and blue, top byte 0xFF; the weights are fixed point of `bits` bits.
void FilterDownRow(const uint32_t* const* rows, const int32_t* weight, size_t taps, int bits, uint32_t* out,
                   size_t n);

// The same along one row of `width` pixels: out[i] sums weight[k * n + i] * channel(in[s])
// over k < taps, s being start[i] + k held to width - 1 (where the weight is 0).
void FilterAlongRow(const uint32_t* in, size_t width, const int32_t* start, const int32_t* weight, size_t taps,
                    int bits, uint32_t* out, size_t n);

} // namespace orv::kernels
