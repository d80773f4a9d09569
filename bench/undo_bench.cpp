// The undo history on the 6000 x 4000 test picture: the memory of many strokes and effects, the
// cost of taking a stroke's step and of undoing and redoing, beside a memcpy of the picture
// and the single copy-on-write snapshot the editor took before.
#include "bench_support.h"
#include "documents/canvas.h"
#include "documents/undo_history.h"
#include <cstring>
#include <random>

namespace orv::bench {

namespace {

// A freehand stroke: 40 short segments of a 3-pixel pen wandering over about 600 pixels.
void Stroke(Canvas& c, std::mt19937& rnd)
{
    c.setDrawWidth(3);
    float x = float(rnd() % kWidth), y = float(rnd() % kHeight);
    for (int s = 0; s < 40; ++s) {
        const float nx = std::clamp(x + float(int(rnd() % 31) - 15), 0.f, float(kWidth - 1));
        const float ny = std::clamp(y + float(int(rnd() % 31) - 15), 0.f, float(kHeight - 1));
        c.Line(x, y, nx, ny, RGB(200, 30, 30), LineMode::Line);
        x = nx;
        y = ny;
    }
}

Canvas PictureCanvas()
{
    Canvas c(1, 1);
    c.setAutoSize(true);
    c.setPicture(TestPicture().copy());
    return c;
}

void BM_HistoryOf200Strokes(benchmark::State& state)
{
    for (auto _ : state) {
        Canvas c = PictureCanvas();
        UndoHistory h(c);
        std::mt19937 rnd(1);
        for (int i = 0; i < 200; ++i) {
            h.recordArea(QStringLiteral("Freeform"));
            Stroke(c, rnd);
            h.close();
        }
        state.counters["history_MB"] = double(h.bytes()) / (1 << 20);
        state.counters["steps"] = h.undoCount();
    }
}
BENCHMARK(BM_HistoryOf200Strokes)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_HistoryOf20EffectsIn1GB(benchmark::State& state)
{
    const int64_t before = UndoHistory::budget();
    UndoHistory::setBudget(int64_t(1) << 30);
    for (auto _ : state) {
        Canvas c = PictureCanvas();
        UndoHistory h(c);
        for (int i = 0; i < 20; ++i) {
            h.recordWhole(QStringLiteral("Invert"));
            c.buffer().invertPixels();
        }
        state.counters["history_MB"] = double(h.bytes()) / (1 << 20);
        state.counters["steps"] = h.undoCount();
    }
    UndoHistory::setBudget(before);
}
BENCHMARK(BM_HistoryOf20EffectsIn1GB)->Iterations(1)->Unit(benchmark::kMillisecond);

// The step's own work for one stroke: taking it, keeping the tiles as they are first drawn
// on, closing it; the drawing is done with the timer stopped.
void BM_TakeStrokeStep(benchmark::State& state)
{
    Canvas c = PictureCanvas();
    UndoHistory h(c);
    std::mt19937 rnd(2);
    for (auto _ : state) {
        h.recordArea(QStringLiteral("Freeform"));
        state.PauseTiming();
        // The tiles are copied inside Line through the canvas's report: timed apart below.
        Stroke(c, rnd);
        state.ResumeTiming();
        h.close();
    }
}
BENCHMARK(BM_TakeStrokeStep)->Unit(benchmark::kMicrosecond);

// A whole stroke with and without its history, so the difference is the step's full cost.
void BM_StrokeWithStep(benchmark::State& state)
{
    Canvas c = PictureCanvas();
    UndoHistory h(c);
    std::mt19937 rnd(2);
    for (auto _ : state) {
        if (state.range(0)) h.recordArea(QStringLiteral("Freeform"));
        Stroke(c, rnd);
        if (state.range(0)) h.close();
    }
}
BENCHMARK(BM_StrokeWithStep)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_UndoRedoStroke(benchmark::State& state)
{
    Canvas c = PictureCanvas();
    UndoHistory h(c);
    std::mt19937 rnd(4);
    h.recordArea(QStringLiteral("Freeform"));
    Stroke(c, rnd);
    h.close();
    for (auto _ : state) {
        h.undo();
        h.redo();
    }
}
BENCHMARK(BM_UndoRedoStroke)->Unit(benchmark::kMicrosecond);

// Undo and Redo of the newest effect step, and of one three steps back (compressed).
void BM_UndoRedoWholeStep(benchmark::State& state)
{
    Canvas c = PictureCanvas();
    UndoHistory h(c);
    for (int i = 0; i < 3; ++i) {
        h.recordWhole(QStringLiteral("Invert"));
        c.buffer().invertPixels();
    }
    for (auto _ : state) {
        for (int i = 0; i < state.range(0); ++i) h.undo();
        for (int i = 0; i < state.range(0); ++i) h.redo();
    }
}
BENCHMARK(BM_UndoRedoWholeStep)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_MemcpyPicture(benchmark::State& state)
{
    const QImage& src = TestPicture();
    QImage dst(src.size(), src.format());
    for (auto _ : state) {
        std::memcpy(dst.bits(), src.constBits(), size_t(src.sizeInBytes()));
        benchmark::DoNotOptimize(dst.constBits());
    }
}
BENCHMARK(BM_MemcpyPicture)->Unit(benchmark::kMillisecond);

// The editor's earlier single step: a shared copy of the picture, which the first stroke after
// it turns into a whole copy.
void BM_CopyOnWriteSnapshotThenStroke(benchmark::State& state)
{
    Canvas c = PictureCanvas();
    std::mt19937 rnd(5);
    for (auto _ : state) {
        QImage held = c.Image();
        Stroke(c, rnd);
        benchmark::DoNotOptimize(held.constBits());
    }
}
BENCHMARK(BM_CopyOnWriteSnapshotThenStroke)->Unit(benchmark::kMillisecond);

} // namespace

} // namespace orv::bench
