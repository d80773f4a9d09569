#include "platform/random.h"

namespace orv {

using detail::kStep;

double UniformGenerator::next()
{
    uint64_t z = state_ += kStep;
    detail::MixToBits(z);
    return static_cast<double>(z) * 0x1.0p-53;
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
