#pragma once
// One row of the 0xAC0744 pattern combination, in vector code chosen for the running processor:
// d[i] keeps its colour where keep[i % 8] has all colour bits set and takes s[i]'s where it is
// 0; every result pixel is opaque. d and s must not overlap.
#include <cstdint>

namespace orv {

void PatternSelectRow(uint32_t* d, const uint32_t* s, int n, const uint32_t keep[8]);

} // namespace orv
