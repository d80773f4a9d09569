// Mix, drip, video feedback and circlize on a 6000 x 4000 picture, as the editor runs them,
// beside GraphicsMagick's nearest operations on the same pixels: a copy composite of a second
// picture (mix), a roll of the picture (drip's shifted blocks), and a nearest-pixel shrink
// composited back into the picture (one copy of video feedback). Circlize has no counterpart.
#include "bench_support.h"
#include "effects/circlize.h"
#include "fills/drip.h"
#include "fills/mix.h"
#include "fills/video_feedback.h"

namespace orv::bench {
namespace {

// Picture B of the mix: the test picture upside down, so that every pixel differs.
const QImage& SecondPicture()
{
    static const QImage b = TestPicture().mirrored(false, true);
    return b;
}

void BM_Mix(benchmark::State& state)
{
    const Pattern8x8 brush = MakeMixBrush(50, 100, false);
    RunOnCopy(state, [&](QImage& canvas) { MixPicture(canvas, SecondPicture(), brush, false); });
}
BENCHMARK(BM_Mix)->Unit(benchmark::kMillisecond);

// "Resize" with a picture B of half the size: stretched first, then mixed.
void BM_MixResized(benchmark::State& state)
{
    static const QImage half = SecondPicture().scaled(kWidth / 2, kHeight / 2);
    const Pattern8x8 brush = MakeMixBrush(50, 100, false);
    RunOnCopy(state, [&](QImage& canvas) { MixPicture(canvas, half, brush, true); });
}
BENCHMARK(BM_MixResized)->Unit(benchmark::kMillisecond);

// Default divisors and the given amount: blocks of 120 x 400 pixels moved down by 4 rows, or
// (second argument 1) moved right by 1 or 2 columns.
void BM_Drip(benchmark::State& state)
{
    DripParams p;
    p.amount = static_cast<int>(state.range(0));
    if (state.range(1) == 1) p.direction = DripDirection::Right;
    RunOnCopy(state, [&](QImage& canvas) {
        UniformGenerator rnd;
        Drip(canvas, p, rnd);
    });
}
BENCHMARK(BM_Drip)->Args({100, 0})->Args({1000, 0})->Args({1000, 1})->Unit(benchmark::kMillisecond);

// Default step 0.1 (91 copies), vanishing point in the middle.
void BM_VideoFeedback(benchmark::State& state)
{
    RunEffect(state, [](WorkingCopy& work) { return VideoFeedbackPasses(work, {}); }, SinkFor(state));
}
BENCHMARK(BM_VideoFeedback)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Default steps 3.5 and 2, radius 20.
void BM_Circlize(benchmark::State& state)
{
    RunEffect(state, [](WorkingCopy& work) { return CirclizePasses(work, {}); }, SinkFor(state));
}
BENCHMARK(BM_Circlize)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Magick_CompositeCopy(benchmark::State& state)
{
    static const Magick::Image b = [] {
        Magick::Image flipped = MagickPicture();
        flipped.flip();
        return flipped;
    }();
    RunMagick(state, [](Magick::Image& image) { image.composite(b, 0, 0, Magick::CopyCompositeOp); });
}
BENCHMARK(BM_Magick_CompositeCopy)->Unit(benchmark::kMillisecond);

void BM_Magick_RollDown4(benchmark::State& state)
{
    RunMagick(state, [](Magick::Image& image) { image.roll(0, 4); });
}
BENCHMARK(BM_Magick_RollDown4)->Unit(benchmark::kMillisecond);

void BM_Magick_SampleComposite(benchmark::State& state)
{
    RunMagick(state, [](Magick::Image& image) {
        Magick::Image small = image;
        small.sample(Magick::Geometry(kWidth / 2, kHeight / 2));
        image.composite(small, kWidth / 4, kHeight / 4, Magick::CopyCompositeOp);
    });
}
BENCHMARK(BM_Magick_SampleComposite)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace orv::bench
