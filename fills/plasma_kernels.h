#pragma once
// The row kernel of the plasma cloud, compiled for every SIMD instruction set and run with the
// best one the processor has; integers only, so every instruction set gives the same points.
#include <cstddef>
#include <cstdint>

namespace orv::kernels {

// The four neighbours `reach` away that a point starts from: none (the cloud's first points),
// diagonal (a cell's centre: its corners) or straight (an edge's midpoint: above, below, left
// and right). A neighbour beyond the picture's edge is replaced by the one opposite it.
enum class PlasmaNeighbours { None, Diagonal, Straight };

struct PlasmaStep {
    PlasmaNeighbours neighbours = PlasmaNeighbours::None;
    int reach = 0;
    int spread = 1;   // the displacement is ((random >> 16) x spread >> 16) - offset
    int offset = 0;
};

// Sets the points first, first + step, ... below w of row y of a w x h cloud of pixel words
// (rows `stride` words apart). Channel c (0 red, 1 green, 2 blue) of point (x, y) becomes
//   clamp(mean + ((random >> 16) x spread >> 16) - offset, 0, 255)
// with mean = (sum of the neighbours' channel + 2) >> 2 (0 without neighbours) and
// random = Mix(Mix(y << 17 | x << 2 | c) ^ key), Mix being a 32-bit integer hash. Top byte
// 0xFF. The neighbours must be set already and are not changed.
void PlasmaRow(uint32_t* grid, size_t stride, int w, int h, int y, int first, int step, const PlasmaStep& s,
               uint32_t key);

} // namespace orv::kernels
