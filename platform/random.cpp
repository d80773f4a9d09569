#include "platform/random.h"

namespace orv {

double UniformGenerator::next()
{
    // splitmix64: fast, well mixed and the same on every machine.
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<double>(z >> 11) * 0x1.0p-53;
}

double Rnd()
{
    static UniformGenerator shared;
    return shared.next();
}

} // namespace orv
