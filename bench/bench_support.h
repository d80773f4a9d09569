#pragma once
// What the effect benchmarks share: a 6000 x 4000 test picture (and the same pixels as a
// GraphicsMagick image), the editor's progress sink, and runners that time one operation.
#include "effects/column_passes.h"
#include "effects/working_copy.h"
#include "platform/color.h"
#include <Magick++.h>
#include <QImage>
#include <benchmark/benchmark.h>
#include <vector>

namespace orv::bench {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;

// Smooth gradients with some noise, so no channel is constant and no table entry is unused.
const QImage& TestPicture();
// The same pixels as a Magick::Image.
const Magick::Image& MagickPicture();

// state.range(0): 0 = no sink, 1 = the editor's sink, which processes events at every cancel
// test.
ProgressSink* SinkFor(benchmark::State& state);

// Pixels per second of the test picture.
void SetRates(benchmark::State& state);

// An effect as the editor runs it: working copy, passes, write-back.
template <class MakePasses>
void RunEffect(benchmark::State& state, MakePasses makePasses, ProgressSink* sink)
{
    for (auto _ : state) {
        QImage image = TestPicture();
        const bool done = RunOnWorkingCopy(image, makePasses, sink);
        benchmark::DoNotOptimize(done);
        benchmark::DoNotOptimize(image.constBits());
    }
    SetRates(state);
}

// An operation that works on the canvas itself: each run gets its own unshared copy of the
// picture in memory such as the editor's canvas has (see NewUninitializedPixelBuffer), made
// (and the last run's let go) outside the timing.
template <class Op>
void RunOnCopy(benchmark::State& state, Op op)
{
    QImage image;
    for (auto _ : state) {
        state.PauseTiming();
        image = QImage();
        image = TestPicture();
        DetachPixelBuffer(image);
        state.ResumeTiming();
        op(image);
        benchmark::DoNotOptimize(image.constBits());
    }
    SetRates(state);
}

// A GraphicsMagick operation on its own unshared copy of the picture, made outside the timing
// since the operations change it in place (the previous copy is freed there too).
template <class Op>
void RunMagick(benchmark::State& state, Op op)
{
    const Magick::Image& base = MagickPicture();
    Magick::Image image;
    for (auto _ : state) {
        state.PauseTiming();
        image = base;
        image.modifyImage();
        state.ResumeTiming();
        op(image);
        benchmark::DoNotOptimize(image);
    }
    SetRates(state);
}

// GraphicsMagick making a new picture of the test picture's size from a generator such as
// "gradient:#0000FF-#00FFFF" or "plasma:fractal".
inline void RunMagickGenerator(benchmark::State& state, const char* generator)
{
    MagickPicture();   // starts GraphicsMagick
    for (auto _ : state) {
        Magick::Image image;
        image.size(Magick::Geometry(kWidth, kHeight));
        image.read(generator);
        benchmark::DoNotOptimize(image);
    }
    SetRates(state);
}

} // namespace orv::bench
