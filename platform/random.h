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
    // The 53 random bits m of value k (the value is m / 2^53); inline for per-pixel use.
    uint64_t bitsAt(uint64_t k) const;
    // The generator state value k is mixed from; value k + j's is j * detail::kStep further.
    uint64_t stateOf(uint64_t k) const;
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

namespace detail {

// splitmix64: fast, well mixed and the same on every machine. The state only ever advances by
// kStep, so the value of any later draw can be computed without drawing the ones before it.
constexpr uint64_t kStep = 0x9E3779B97F4A7C15ull;

// The multipliers of the mix (the SIMD kernels repeat the mix lane by lane).
constexpr uint64_t kMixA = 0xBF58476D1CE4E5B9ull;
constexpr uint64_t kMixB = 0x94D049BB133111EBull;

// Turns a state into its 53 random bits.
inline void MixToBits(uint64_t& z)
{
    z = (z ^ (z >> 30)) * kMixA;
    z = (z ^ (z >> 27)) * kMixB;
    z ^= z >> 31;
    z >>= 11;
}

} // namespace detail

inline uint64_t UniformBlock::stateOf(uint64_t k) const
{
    return start_ + (k + 1) * detail::kStep;
}

inline uint64_t UniformBlock::bitsAt(uint64_t k) const
{
    uint64_t z = stateOf(k);
    detail::MixToBits(z);
    return z;
}

// The shared generator, and its next value.
UniformGenerator& SharedGenerator();
double Rnd();

} // namespace orv
