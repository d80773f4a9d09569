// Grayscale, the flips, Rotate 90°, stained glass and the typical filters on a 6000 x 4000
// picture, each as the editor runs it, beside GraphicsMagick's nearest operations on the same
// pixels.
#include "bench_support.h"
#include "effects/flip.h"
#include "effects/grayscale.h"
#include "effects/rotate90.h"
#include "effects/stained_glass.h"
#include "effects/typical.h"

namespace orv::bench {
namespace {

void BM_Grayscale(benchmark::State& state)
{
    RunEffect(state, [](WorkingCopy& work) { return GrayscalePasses(work); }, SinkFor(state));
}
BENCHMARK(BM_Grayscale)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Rotate90(benchmark::State& state)
{
    RunEffect(state, [](WorkingCopy& work) { return Rotate90Passes(work); }, SinkFor(state));
}
BENCHMARK(BM_Rotate90)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The flips work on the canvas itself.
template <void (*Flip)(QImage&)>
void RunFlip(benchmark::State& state)
{
    RunOnCopy(state, Flip);
}

void BM_FlipHorizontal(benchmark::State& state) { RunFlip<FlipHorizontal>(state); }
BENCHMARK(BM_FlipHorizontal)->Unit(benchmark::kMillisecond);

void BM_FlipVertical(benchmark::State& state) { RunFlip<FlipVertical>(state); }
BENCHMARK(BM_FlipVertical)->Unit(benchmark::kMillisecond);

void BM_StainedGlass(benchmark::State& state)
{
    const StainedGlassParams p;
    RunEffect(state, [&](WorkingCopy& work) { return StainedGlassPasses(work, p); }, SinkFor(state));
}
BENCHMARK(BM_StainedGlass)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// state.range(1): the filter, in the list's order.
void BM_Typical(benchmark::State& state)
{
    const TypicalParams p{static_cast<TypicalFilter>(state.range(1))};
    state.SetLabel(TypicalFilterNames()[static_cast<int>(state.range(1))].toStdString());
    RunEffect(state, [&](WorkingCopy& work) { return TypicalPasses(work, p); }, SinkFor(state));
}
BENCHMARK(BM_Typical)->ArgsProduct({{0, 1}, {0, 1, 2, 3}})->Unit(benchmark::kMillisecond);

void BM_Magick_Grayscale(benchmark::State& state)
{
    RunMagick(state, [](Magick::Image& image) { image.type(Magick::GrayscaleType); });
}
BENCHMARK(BM_Magick_Grayscale)->Unit(benchmark::kMillisecond);

void BM_Magick_Flop(benchmark::State& state)
{
    RunMagick(state, [](Magick::Image& image) { image.flop(); });
}
BENCHMARK(BM_Magick_Flop)->Unit(benchmark::kMillisecond);

void BM_Magick_Flip(benchmark::State& state)
{
    RunMagick(state, [](Magick::Image& image) { image.flip(); });
}
BENCHMARK(BM_Magick_Flip)->Unit(benchmark::kMillisecond);

void BM_Magick_Rotate90(benchmark::State& state)
{
    RunMagick(state, [](Magick::Image& image) { image.rotate(90.0); });
}
BENCHMARK(BM_Magick_Rotate90)->Unit(benchmark::kMillisecond);

void BM_Magick_Emboss(benchmark::State& state)
{
    RunMagick(state, [](Magick::Image& image) { image.emboss(); });
}
BENCHMARK(BM_Magick_Emboss)->Unit(benchmark::kMillisecond);

void BM_Magick_Spread2(benchmark::State& state)
{
    RunMagick(state, [](Magick::Image& image) { image.spread(2); });
}
BENCHMARK(BM_Magick_Spread2)->Unit(benchmark::kMillisecond);

void BM_Magick_Sharpen(benchmark::State& state)
{
    RunMagick(state, [](Magick::Image& image) { image.sharpen(); });
}
BENCHMARK(BM_Magick_Sharpen)->Unit(benchmark::kMillisecond);

// Smooth is a 3 x 3 box average.
void BM_Magick_Convolve3x3(benchmark::State& state)
{
    static const double box[9] = {1.0 / 9, 1.0 / 9, 1.0 / 9, 1.0 / 9, 1.0 / 9,
                                  1.0 / 9, 1.0 / 9, 1.0 / 9, 1.0 / 9};
    RunMagick(state, [](Magick::Image& image) { image.convolve(3, box); });
}
BENCHMARK(BM_Magick_Convolve3x3)->Unit(benchmark::kMillisecond);

// Stained glass with 5 x 5 cells is a mosaic: each 5 x 5 block takes one of its pixels, as a
// nearest-pixel shrink to a fifth and enlargement back to the full size do.
void BM_Magick_SampleMosaic(benchmark::State& state)
{
    RunMagick(state, [](Magick::Image& image) {
        image.sample(Magick::Geometry(kWidth / 5, kHeight / 5));
        image.sample(Magick::Geometry(kWidth, kHeight));
    });
}
BENCHMARK(BM_Magick_SampleMosaic)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace orv::bench
