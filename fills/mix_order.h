#pragma once
// The order in which Mix switches the 64 cells of its 8 x 8 stipple pattern, one step at a time.
// Entry i (0-based) names the cell switched at step i + 1 as a number p from 1 to 64: byte row
// (p - 1) / 8 and bit (p - 1) % 8 of a bottom-up one-bit-per-pixel picture, that is screen row
// 7 - (p - 1) / 8 from the top and screen column 7 - (p - 1) % 8 from the left. Each step lands
// as far as it can from the cells already switched, so every level is an even half-tone.
#include <array>

namespace orv {

inline constexpr std::array<int, 64> kMixOrder = {
    1,  5,  33, 37, 19, 23, 51, 55, 17, 21, 49, 53, 3,  7,  35, 39,
    10, 14, 42, 46, 28, 32, 60, 64, 26, 30, 58, 62, 12, 16, 44, 48,
    8,  4,  40, 36, 22, 18, 54, 50, 24, 20, 56, 52, 6,  2,  38, 34,
    15, 11, 47, 43, 29, 25, 61, 57, 31, 27, 63, 59, 13, 9,  45, 41,
};

} // namespace orv
