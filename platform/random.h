#pragma once
// The one process-wide generator of uniform values in [0, 1). It is never seeded, so every
// run of the program draws the same sequence (chalk speckles, diffuse, drip).
#include <cstdint>

namespace orv {

// Values reserved from a generator in one go: value k of the block is exactly what the
// generator's k-th next() would have returned, computed directly, so the block can be read in
// any order (an effect that visits bands of columns still gets the draws of the row order).
class UniformBlock {
public:
    double at(uint64_t k) const;
private:
    friend class UniformGenerator;
    uint64_t start_ = 0;
};

class UniformGenerator {
public:
    double next();   // uniform in [0, 1), 53 random bits
    // Reserves the next `count` values and moves the generator past them.
    UniformBlock take(uint64_t count);
private:
    uint64_t state_ = 0x0123456789ABCDEFull;
};

// The shared generator, and its next value.
UniformGenerator& SharedGenerator();
double Rnd();

} // namespace orv
