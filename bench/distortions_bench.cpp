// Wobbly, crystal shaper, waving and round wobbly on a 6000 x 4000 picture, each as the editor
// runs it, beside GraphicsMagick's distortions (wave, swirl, roll) on the same pixels; and the
// thumbnail previews, the effect on the thumbnail of that picture.
#include "bench_support.h"
#include "effects/crystal_shaper.h"
#include "effects/round_wobbly.h"
#include "effects/waving.h"
#include "effects/wobbly.h"
#include "platform/raster.h"

namespace orv::bench {
namespace {

// state.range(1): the mode or direction, 0 top, 1 left, 2 both.
void BM_Wobbly(benchmark::State& state)
{
    const WobblyParams p{static_cast<WobblyMode>(state.range(1))};
    RunEffect(state, [&](WorkingCopy& work) { return WobblyPasses(work, p); }, SinkFor(state));
}
BENCHMARK(BM_Wobbly)->ArgsProduct({{0, 1}, {0, 1, 2}})->Unit(benchmark::kMillisecond);

// Crystal shaper works on the canvas itself.
void BM_CrystalShaper(benchmark::State& state) { RunOnCopy(state, CrystalShape); }
BENCHMARK(BM_CrystalShaper)->Unit(benchmark::kMillisecond);

void BM_Waving(benchmark::State& state)
{
    const WavingParams p;
    RunEffect(state, [&](WorkingCopy& work) { return WavingPasses(work, p); }, SinkFor(state));
}
BENCHMARK(BM_Waving)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_RoundWobbly(benchmark::State& state)
{
    RoundWobblyParams p;
    p.direction = static_cast<RoundWobblyDirection>(state.range(1));
    RunEffect(state, [&](WorkingCopy& work) { return RoundWobblyPasses(work, p); }, SinkFor(state));
}
BENCHMARK(BM_RoundWobbly)->ArgsProduct({{0, 1}, {0, 1, 2}})->Unit(benchmark::kMillisecond);

// A Preview click: the effect on a copy of the 240 x 160 thumbnail of the test picture.
template <class MakePasses>
void RunOnThumbnail(benchmark::State& state, MakePasses makePasses)
{
    QImage thumbnail = NewUninitializedPixelBuffer(240, 160);
    StretchBlt(thumbnail, 0, 0, 240, 160, TestPicture(), 0, 0, kWidth, kHeight, Rop::SrcCopy);
    for (auto _ : state) {
        QImage image = thumbnail;
        RunOnWorkingCopy(image, makePasses, nullptr);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_WavingPreview(benchmark::State& state)
{
    RunOnThumbnail(state, [](WorkingCopy& work) { return WavingPasses(work, WavingParams{}); });
}
BENCHMARK(BM_WavingPreview)->Unit(benchmark::kMicrosecond);

void BM_RoundWobblyPreview(benchmark::State& state)
{
    RunOnThumbnail(state, [](WorkingCopy& work) { return RoundWobblyPasses(work, RoundWobblyParams{}); });
}
BENCHMARK(BM_RoundWobblyPreview)->Unit(benchmark::kMicrosecond);

// Wobbly previews on the full-size copy of the picture held in its dialog.
void BM_WobblyPreview(benchmark::State& state)
{
    for (auto _ : state) {
        QImage image = TestPicture();
        RunOnWorkingCopy(image, [](WorkingCopy& work) { return WobblyPasses(work, WobblyParams{}); }, nullptr);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_WobblyPreview)->Unit(benchmark::kMillisecond);

void BM_Magick_Wave(benchmark::State& state)
{
    RunMagick(state, [](Magick::Image& image) { image.wave(15.0, 60.0); });
}
BENCHMARK(BM_Magick_Wave)->Unit(benchmark::kMillisecond);

void BM_Magick_Swirl(benchmark::State& state)
{
    RunMagick(state, [](Magick::Image& image) { image.swirl(90.0); });
}
BENCHMARK(BM_Magick_Swirl)->Unit(benchmark::kMillisecond);

void BM_Magick_Roll10x10(benchmark::State& state)
{
    RunMagick(state, [](Magick::Image& image) { image.roll(10, 10); });
}
BENCHMARK(BM_Magick_Roll10x10)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace orv::bench
