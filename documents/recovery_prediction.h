#pragma once
// The prediction of recovery copies, compiled for every SIMD instruction set and run with the
// best one the processor has.
#include <cstddef>
#include <cstdint>

namespace orv::kernels {

// A row of w pixels as differences of their bytes 0, 1 and 2 to their prediction, each byte in
// its own plane (`plane` bytes apart from d): the rounded mean of the left and the upper
// neighbour, or the left one alone on a band's first row (`up` null). Smooth areas become runs
// of small values, and a photo's noise weighs less than against one neighbour. The first pixel
// of a row is predicted by the one above it (or by zero).
void ToDifferences(const uint8_t* row, const uint8_t* up, uint8_t* d, int w, size_t plane);

// The inverse of ToDifferences, `up` the row above as already restored; the fourth byte of
// every pixel is 0xFF.
void FromDifferences(const uint8_t* d, const uint8_t* up, uint8_t* row, int w, size_t plane);

} // namespace orv::kernels
