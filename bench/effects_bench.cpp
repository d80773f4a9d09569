// Invert, brightness and contrast on a 6000 x 4000 picture, each as the editor runs it (working
// copy, passes, write-back), beside a plain copy of the picture and GraphicsMagick's nearest
// operations on the same pixels.
#include "bench_support.h"
#include "effects/brightness.h"
#include "effects/contrast.h"
#include "effects/invert.h"
#include <cstring>
#include <vector>

namespace orv::bench {
namespace {

void BM_Memcpy(benchmark::State& state)
{
    const QImage& src = TestPicture();
    std::vector<uint8_t> dst(src.sizeInBytes(), 1);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.constBits(), dst.size());
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    SetRates(state);
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

template <class Params, std::vector<ColumnPass> (*Passes)(WorkingCopy&, const Params&)>
void RunWith(benchmark::State& state, const Params& params, ProgressSink* sink)
{
    RunEffect(state, [&](WorkingCopy& work) { return Passes(work, params); }, sink);
}

void BM_Invert(benchmark::State& state)
{
    RunWith<InvertParams, InvertPasses>(state, InvertParams{}, SinkFor(state));
}
BENCHMARK(BM_Invert)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_InvertRedOnly(benchmark::State& state)
{
    InvertParams p;
    p.green = p.blue = false;
    RunWith<InvertParams, InvertPasses>(state, p, SinkFor(state));
}
BENCHMARK(BM_InvertRedOnly)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Brightness(benchmark::State& state)
{
    RunWith<BrightnessParams, BrightnessPasses>(state, BrightnessParams{30}, SinkFor(state));
}
BENCHMARK(BM_Brightness)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Contrast(benchmark::State& state)
{
    RunWith<ContrastParams, ContrastPasses>(state, ContrastParams{1}, SinkFor(state));
}
BENCHMARK(BM_Contrast)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Magick_Negate(benchmark::State& state)
{
    RunMagick(state, [](Magick::Image& image) { image.negate(); });
}
BENCHMARK(BM_Magick_Negate)->Unit(benchmark::kMillisecond);

void BM_Magick_Modulate110(benchmark::State& state)
{
    RunMagick(state, [](Magick::Image& image) { image.modulate(110.0, 100.0, 100.0); });
}
BENCHMARK(BM_Magick_Modulate110)->Unit(benchmark::kMillisecond);

// A linear stretch of every channel, as brightness and contrast are: white point at 225 of 255.
void BM_Magick_Level(benchmark::State& state)
{
    RunMagick(state, [](Magick::Image& image) { image.level(0.0, MaxRGB * 225.0 / 255.0); });
}
BENCHMARK(BM_Magick_Level)->Unit(benchmark::kMillisecond);

void BM_Magick_Contrast(benchmark::State& state)
{
    RunMagick(state, [](Magick::Image& image) { image.contrast(1); });
}
BENCHMARK(BM_Magick_Contrast)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace orv::bench
