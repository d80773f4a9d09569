// Rotate by 30° and by 270°, Resize with Lanczos-3 and with the nearest pixel to half and to
// double, and a 20-pixel Border on a 6000 x 4000 picture, each as the editor runs it, beside
// GraphicsMagick's RotateImage, ResizeImage with the Lanczos filter, SampleImage and
// BorderImage on the same pixels.
#include "bench_support.h"
#include "effects/geometry_kernels.h"

namespace orv::bench {
namespace {

void BM_Rotate30(benchmark::State& state)
{
    RunEffect(state, [](WorkingCopy& work) { return RotatePasses(work, {30, 0xFFFFFF}); }, SinkFor(state));
}
BENCHMARK(BM_Rotate30)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_Rotate270(benchmark::State& state)
{
    RunEffect(state, [](WorkingCopy& work) { return RotatePasses(work, {270, 0xFFFFFF}); }, SinkFor(state));
}
BENCHMARK(BM_Rotate270)->Arg(0)->Unit(benchmark::kMillisecond);

// state.range(1): the new size in percent.
void BM_ResizeLanczos(benchmark::State& state)
{
    const int percent = static_cast<int>(state.range(1));
    const ResizeParams p{kWidth * percent / 100, kHeight * percent / 100, ResizeFilter::Lanczos};
    RunEffect(state, [&](WorkingCopy& work) { return ResizePasses(work, p); }, SinkFor(state));
}
BENCHMARK(BM_ResizeLanczos)->Args({0, 50})->Args({0, 200})->Unit(benchmark::kMillisecond);

void BM_ResizeNearest(benchmark::State& state)
{
    const int percent = static_cast<int>(state.range(1));
    const ResizeParams p{kWidth * percent / 100, kHeight * percent / 100, ResizeFilter::Nearest};
    RunEffect(state, [&](WorkingCopy& work) { return ResizePasses(work, p); }, SinkFor(state));
}
BENCHMARK(BM_ResizeNearest)->Args({0, 50})->Args({0, 200})->Unit(benchmark::kMillisecond);

void BM_Border20(benchmark::State& state)
{
    RunEffect(state, [](WorkingCopy& work) { return BorderPasses(work, {20, 0}); }, SinkFor(state));
}
BENCHMARK(BM_Border20)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_Magick_Rotate30(benchmark::State& state)
{
    RunMagick(state, [](Magick::Image& image) { image.rotate(30.0); });
}
BENCHMARK(BM_Magick_Rotate30)->Unit(benchmark::kMillisecond);

void BM_Magick_Rotate270(benchmark::State& state)
{
    RunMagick(state, [](Magick::Image& image) { image.rotate(270.0); });
}
BENCHMARK(BM_Magick_Rotate270)->Unit(benchmark::kMillisecond);

void BM_Magick_ResizeLanczos(benchmark::State& state)
{
    const int percent = static_cast<int>(state.range(0));
    RunMagick(state, [percent](Magick::Image& image) {
        image.filterType(Magick::LanczosFilter);
        Magick::Geometry size(kWidth * percent / 100, kHeight * percent / 100);
        size.aspect(true);
        image.zoom(size);
    });
}
BENCHMARK(BM_Magick_ResizeLanczos)->Arg(50)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_Magick_ResizeNearest(benchmark::State& state)
{
    const int percent = static_cast<int>(state.range(0));
    RunMagick(state, [percent](Magick::Image& image) {
        Magick::Geometry size(kWidth * percent / 100, kHeight * percent / 100);
        size.aspect(true);
        image.sample(size);
    });
}
BENCHMARK(BM_Magick_ResizeNearest)->Arg(50)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_Magick_Border20(benchmark::State& state)
{
    RunMagick(state, [](Magick::Image& image) { image.border(Magick::Geometry(20, 20)); });
}
BENCHMARK(BM_Magick_Border20)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace orv::bench
