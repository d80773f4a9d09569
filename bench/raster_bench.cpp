// Raster operations on a 6000 x 4000 picture beside GraphicsMagick's flip, flop and flood fill.
#include "platform/raster.h"
#include <Magick++.h>
#include <benchmark/benchmark.h>
#include <cstring>

namespace {

constexpr int kW = 6000;
constexpr int kH = 4000;
constexpr int64_t kPixels = int64_t{kW} * kH;

// A picture with varied colours, made once.
const QImage& Scene()
{
    static const QImage scene = [] {
        QImage img = orv::NewPixelBuffer(kW, kH, 0);
        for (int y = 0; y < kH; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(img.scanLine(y));
            for (int x = 0; x < kW; ++x) row[x] = orv::ToPixel(orv::RGB(x & 255, y & 255, (x ^ y) & 255));
        }
        return img;
    }();
    return scene;
}

// The same picture as a GraphicsMagick image, made once from the raw pixels.
const Magick::Image& MagickScene(const QImage& from)
{
    static const bool started = (Magick::InitializeMagick(nullptr), true);
    (void)started;
    static const Magick::Image image(kW, kH, "RGBA", Magick::CharPixel, from.constBits());
    return image;
}

void CountPixels(benchmark::State& state)
{
    state.SetItemsProcessed(state.iterations() * kPixels);
    state.SetBytesProcessed(state.iterations() * kPixels * 4);
}

// The plain copy between two buffers of the kind the editor keeps its canvas in.
void BM_MemcpyCanvas(benchmark::State& state)
{
    const QImage& src = Scene();
    QImage dst = orv::NewPixelBuffer(kW, kH, 0);
    for (auto _ : state) {
        std::memcpy(dst.bits(), src.constBits(), static_cast<size_t>(src.sizeInBytes()));
        benchmark::ClobberMemory();
    }
    CountPixels(state);
}
BENCHMARK(BM_MemcpyCanvas)->Unit(benchmark::kMillisecond);

void BM_BitBltSrcCopy(benchmark::State& state)
{
    const QImage& src = Scene();
    QImage dst = orv::NewPixelBuffer(kW, kH, 0);
    for (auto _ : state) {
        orv::BitBlt(dst, 0, 0, kW, kH, src, 0, 0, orv::Rop::SrcCopy);
        benchmark::ClobberMemory();
    }
    CountPixels(state);
}
BENCHMARK(BM_BitBltSrcCopy)->Unit(benchmark::kMillisecond);

// The flips of the editor: the picture stretched onto itself with a negative width or height.
void BM_StretchBltFlipHorizontal(benchmark::State& state)
{
    QImage img = Scene().copy();
    for (auto _ : state) {
        orv::StretchBlt(img, kW, 0, -kW, kH, img, 0, 0, kW, kH, orv::Rop::SrcCopy);
        benchmark::ClobberMemory();
    }
    CountPixels(state);
}
BENCHMARK(BM_StretchBltFlipHorizontal)->Unit(benchmark::kMillisecond);

void BM_StretchBltFlipVertical(benchmark::State& state)
{
    QImage img = Scene().copy();
    for (auto _ : state) {
        orv::StretchBlt(img, 0, kH, kW, -kH, img, 0, 0, kW, kH, orv::Rop::SrcCopy);
        benchmark::ClobberMemory();
    }
    CountPixels(state);
}
BENCHMARK(BM_StretchBltFlipVertical)->Unit(benchmark::kMillisecond);

// GraphicsMagick mirrors into a new image; the private copy it would first make of a shared
// image is made outside the timing.
void MagickMirror(benchmark::State& state, bool leftRight)
{
    const Magick::Image& base = MagickScene(Scene());
    for (auto _ : state) {
        state.PauseTiming();
        Magick::Image work = base;
        work.modifyImage();
        state.ResumeTiming();
        if (leftRight)
            work.flop();
        else
            work.flip();
    }
    CountPixels(state);
}

void BM_MagickFlop(benchmark::State& state) { MagickMirror(state, true); }
BENCHMARK(BM_MagickFlop)->Unit(benchmark::kMillisecond);

void BM_MagickFlip(benchmark::State& state) { MagickMirror(state, false); }
BENCHMARK(BM_MagickFlip)->Unit(benchmark::kMillisecond);

// Both flood fills cover the whole one-colour picture, switching between two colours.
void BM_FloodFillSurface(benchmark::State& state)
{
    QImage img = orv::NewPixelBuffer(kW, kH, 0xFFFFFF);
    bool red = true;
    for (auto _ : state) {
        benchmark::DoNotOptimize(orv::FloodFillSurface(img, kW / 2, kH / 2, red ? 0x0000FF : 0xFFFFFF));
        red = !red;
    }
    CountPixels(state);
}
BENCHMARK(BM_FloodFillSurface)->Unit(benchmark::kMillisecond);

void BM_MagickFloodFillColor(benchmark::State& state)
{
    MagickScene(Scene());
    Magick::Image img(Magick::Geometry(kW, kH), Magick::Color("white"));
    img.modifyImage();
    bool red = true;
    for (auto _ : state) {
        img.floodFillColor(kW / 2, kH / 2, Magick::Color(red ? "red" : "white"));
        red = !red;
    }
    CountPixels(state);
}
BENCHMARK(BM_MagickFloodFillColor)->Unit(benchmark::kMillisecond);

} // namespace
