#include "platform/random.h"

namespace orv {

namespace {

// splitmix64: fast, well mixed and the same on every machine. The state only ever advances by
// kStep, so the value of any later draw can be computed without drawing the ones before it.
constexpr uint64_t kStep = 0x9E3779B97F4A7C15ull;

double Mix(uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<double>(z >> 11) * 0x1.0p-53;
}

} // namespace

double UniformBlock::at(uint64_t k) const
{
    return Mix(start_ + (k + 1) * kStep);
}

double UniformGenerator::next()
{
    return Mix(state_ += kStep);
}

UniformBlock UniformGenerator::take(uint64_t count)
{
    UniformBlock block;
    block.start_ = state_;
    state_ += count * kStep;
    return block;
}

UniformGenerator& SharedGenerator()
{
    static UniformGenerator shared;
    return shared;
}

double Rnd()
{
    return SharedGenerator().next();
}

} // namespace orv
