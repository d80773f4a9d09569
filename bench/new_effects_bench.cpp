// Plasma, picture roll and tornado on a 6000 x 4000 picture as the editor runs them, beside
// GraphicsMagick making its "plasma:fractal" picture of that size, rolling and swirling.
#include "bench_support.h"
#include "effects/picture_roll.h"
#include "effects/tornado.h"
#include "fills/plasma.h"

namespace orv::bench {
namespace {

void BM_Plasma(benchmark::State& state)
{
    RunEffect(state, [](WorkingCopy& work) { return PlasmaPasses(work, PlasmaParams{}); }, SinkFor(state));
}
BENCHMARK(BM_Plasma)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Roll(benchmark::State& state)
{
    RunEffect(state, [](WorkingCopy& work) { return RollPasses(work, RollParams{10, 10}); }, SinkFor(state));
}
BENCHMARK(BM_Roll)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A swirl over the whole picture: the radius of GraphicsMagick's swirl, half the longer side.
void BM_Tornado(benchmark::State& state)
{
    const TornadoParams p{90, kWidth / 2.0};
    RunEffect(state, [&p](WorkingCopy& work) { return TornadoPasses(work, p); }, SinkFor(state));
}
BENCHMARK(BM_Tornado)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Magick_Plasma(benchmark::State& state)
{
    RunMagickGenerator(state, "plasma:fractal");
}
BENCHMARK(BM_Magick_Plasma)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace orv::bench
