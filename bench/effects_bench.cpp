// Invert, brightness and contrast on a 6000 x 4000 picture, each as the editor runs it (working
// copy, passes, write-back), beside a plain copy of the picture and GraphicsMagick's nearest
// operations on the same pixels.
#include "effects/brightness.h"
#include "effects/contrast.h"
#include "effects/invert.h"
#include <Magick++.h>
#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <cstring>
#include <vector>

namespace orv {
namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;
constexpr double kPixels = double(kWidth) * kHeight;

// Smooth gradients with some noise, so no channel is constant and no table entry is unused.
const QImage& TestPicture()
{
    static const QImage picture = [] {
        QImage img(kWidth, kHeight, kPixelFormat);
        uint32_t noise = 12345;
        for (int y = 0; y < kHeight; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(img.scanLine(y));
            for (int x = 0; x < kWidth; ++x) {
                noise = noise * 1664525u + 1013904223u;
                const int r = (x * 255 / kWidth + int(noise >> 28)) & 0xFF;
                const int g = (y * 255 / kHeight + int((noise >> 20) & 15)) & 0xFF;
                const int b = int(noise >> 24);
                row[x] = ToPixel(RGB(r, g, b));
            }
        }
        return img;
    }();
    return picture;
}

// The editor's sink: lets pending events run at every cancel test and keeps the value.
class EventLoopSink : public ProgressSink {
public:
    EventLoopSink()
    {
        static int argc = 1;
        static char name[] = "orvane_bench";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
    }
    void setProgress(float value) override { value_ = value; }
    bool cancelRequested() override
    {
        QCoreApplication::processEvents();
        return false;
    }

private:
    float value_ = 0.0f;
};

void SetRates(benchmark::State& state)
{
    state.counters["pixels/s"] =
        benchmark::Counter(kPixels * double(state.iterations()), benchmark::Counter::kIsRate);
}

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
void RunEffect(benchmark::State& state, const Params& params, ProgressSink* sink)
{
    for (auto _ : state) {
        QImage image = TestPicture();
        const bool done = RunOnWorkingCopy(
            image, [&](WorkingCopy& work) { return Passes(work, params); }, sink);
        benchmark::DoNotOptimize(done);
        benchmark::DoNotOptimize(image.constBits());
    }
    SetRates(state);
}

// state.range(0): 0 = no sink, 1 = a sink that processes events at every cancel test.
ProgressSink* SinkFor(benchmark::State& state)
{
    static EventLoopSink* sink = nullptr;
    if (state.range(0) == 0) return nullptr;
    if (!sink) sink = new EventLoopSink;
    return sink;
}

void BM_Invert(benchmark::State& state)
{
    RunEffect<InvertParams, InvertPasses>(state, InvertParams{}, SinkFor(state));
}
BENCHMARK(BM_Invert)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_InvertRedOnly(benchmark::State& state)
{
    InvertParams p;
    p.green = p.blue = false;
    RunEffect<InvertParams, InvertPasses>(state, p, SinkFor(state));
}
BENCHMARK(BM_InvertRedOnly)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Brightness(benchmark::State& state)
{
    RunEffect<BrightnessParams, BrightnessPasses>(state, BrightnessParams{30}, SinkFor(state));
}
BENCHMARK(BM_Brightness)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Contrast(benchmark::State& state)
{
    RunEffect<ContrastParams, ContrastPasses>(state, ContrastParams{1}, SinkFor(state));
}
BENCHMARK(BM_Contrast)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// GraphicsMagick: the same pixels as a Magick::Image, made once; every iteration works on
// its own unshared copy, made outside the timing since the operations change it in place.
const Magick::Image& MagickPicture()
{
    static const Magick::Image image = [] {
        Magick::InitializeMagick(nullptr);
        const QImage rgb = TestPicture().convertToFormat(QImage::Format_RGB888);
        std::vector<uint8_t> packed(size_t(kWidth) * kHeight * 3);
        for (int y = 0; y < kHeight; ++y)
            std::memcpy(packed.data() + size_t(y) * kWidth * 3, rgb.constScanLine(y), kWidth * 3);
        return Magick::Image(kWidth, kHeight, "RGB", Magick::CharPixel, packed.data());
    }();
    return image;
}

template <class Op>
void RunMagick(benchmark::State& state, Op op)
{
    const Magick::Image& base = MagickPicture();
    for (auto _ : state) {
        state.PauseTiming();
        Magick::Image image = base;
        image.modifyImage();
        state.ResumeTiming();
        op(image);
        benchmark::DoNotOptimize(image);
    }
    SetRates(state);
}

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
} // namespace orv
