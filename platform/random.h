#pragma once
// The one process-wide generator of uniform values in [0, 1). It is never seeded, so every
// run of the program draws the same sequence (chalk speckles, diffuse, drip).
#include <cstdint>

namespace orv {

class UniformGenerator {
public:
    double next();   // uniform in [0, 1), 53 random bits
private:
    uint64_t state_ = 0x0123456789ABCDEFull;
};

// The shared generator's next value.
double Rnd();

} // namespace orv
