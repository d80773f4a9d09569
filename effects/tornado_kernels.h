#pragma once
// The row kernel of Tornado, compiled for every SIMD instruction set and run with the best one
// the processor has. Every instruction set computes exactly the same pixels: the kernel uses
// only single-precision additions, multiplications and square roots (each rounded the one way
// the floating-point standard allows; the file is compiled without fused multiply-adds),
// conversions that truncate, and integers. The sine and cosine are the kernel's own
// polynomials rather than a library's.
#include <cstddef>
#include <cstdint>

namespace orv::kernels {

// A swirl about (cx, cy): a pixel at distance d from the centre is turned by
// turns x (1 - d x inverseRadius)^2 whole turns.
struct Swirl {
    float cx = 0, cy = 0;
    float inverseRadius = 0;
    float turns = 0;
};

// Pixels first .. last-1 of row y of the swirled picture, into out[first .. last-1]. The
// source is w x h pixel words, rows `stride` words apart. Pixel x, at (dx, dy) = (x - cx,
// y - cy), takes the colour at (cx + dx cos t - dy sin t, cy + dx sin t + dy cos t), held
// inside the picture, between its four nearest pixels: each channel
// (sum of channel x weight + 32768) >> 16, the weights being the products of the distances in
// 256ths ((fraction x 256 + 0.5) truncated). Top byte 0xFF.
void SwirlRow(const uint32_t* src, size_t stride, int w, int h, int y, int first, int last, const Swirl& swirl,
              uint32_t* out);

} // namespace orv::kernels
