// The undo history on the 6000 x 4000 test picture: the memory of many strokes and effects, the
// cost of taking a stroke's or a whole step and of undoing and redoing, beside a memcpy of the
// picture and the single copy-on-write snapshot the editor took before.
#include "bench_support.h"
#include "documents/canvas.h"
#include "documents/undo_history.h"
#include "tools/tool.h"
#include <QThreadPool>
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

Canvas PictureCanvas(const QImage& picture = TestPicture())
{
    Canvas c(1, 1);
    c.setAutoSize(true);
    c.setPicture(picture.copy());
    return c;
}

// The test picture cut to eight levels a channel: broad bands with ragged edges, which zstd
// packs (the noisy test picture itself does not pay to pack).
const QImage& BandedPicture()
{
    static const QImage picture = [] {
        QImage img = TestPicture().copy();
        auto* p = reinterpret_cast<uint32_t*>(img.bits());
        for (qsizetype i = 0, n = img.sizeInBytes() / 4; i < n; ++i) p[i] &= 0xFFE0E0E0u;
        return img;
    }();
    return picture;
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

// The compression each whole step's picture gets once a newer step exists: on the packing
// thread now, on the window thread before. 0: the noisy test picture, 1: the banded one.
void BM_PackPicture(benchmark::State& state)
{
    const QImage& picture = state.range(0) ? BandedPicture() : TestPicture();
    int64_t packed = 0;
    for (auto _ : state) packed = PackBytes(picture.constBits(), size_t(picture.sizeInBytes())).size();
    state.counters["ratio"] = double(packed) / double(picture.sizeInBytes());
}
BENCHMARK(BM_PackPicture)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The window thread's part of taking a whole step after an earlier one, whose picture is now
// handed to the packing thread. Arg 1 adds the first write after it, which copies the picture
// the step shares with the canvas. The effect itself and the packing run untimed.
void BM_TakeWholeStep(benchmark::State& state)
{
    Canvas c = PictureCanvas(BandedPicture());
    UndoHistory h(c);
    h.recordWhole(QStringLiteral("Invert"));
    c.buffer().invertPixels();
    for (auto _ : state) {
        h.recordWhole(QStringLiteral("Invert"));
        if (state.range(0)) c.buffer().bits()[0] ^= 1;
        state.PauseTiming();
        c.buffer().invertPixels();
        PackingThread().waitForDone();
        state.ResumeTiming();
    }
    state.counters["history_MB"] = double(h.bytes()) / (1 << 20);
}
BENCHMARK(BM_TakeWholeStep)->Arg(0)->Arg(1)->Iterations(20)->Unit(benchmark::kMillisecond);

// Undo of a whole step whose picture was packed: it is unpacked onto the canvas. Arg 0: at
// once after the Undo before it; arg 1: after a pause, in which it was unpacked ahead.
void BM_UndoPackedWholeStep(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        {
            Canvas c = PictureCanvas(BandedPicture());
            UndoHistory h(c);
            for (int i = 0; i < 2; ++i) {
                h.recordWhole(QStringLiteral("Invert"));
                c.buffer().invertPixels();
            }
            PackingThread().waitForDone();
            state.counters["history_MB"] = double(h.bytes()) / (1 << 20);
            h.undo();   // the newest step, held as it is
            if (state.range(0)) PackingThread().waitForDone();
            state.ResumeTiming();
            h.undo();
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_UndoPackedWholeStep)->Arg(0)->Arg(1)->Iterations(10)->Unit(benchmark::kMillisecond);

// A fill of a small closed area (inside a 100 x 100 box on a white 6000 x 4000 picture) as a
// step: the history keeps the tiles the fill paints.
void BM_SmallFillStep(benchmark::State& state)
{
    Canvas c(kWidth, kHeight);
    c.Line(1000, 1000, 1100, 1100, 0, LineMode::Box);
    UndoHistory h(c);
    Tool* fill = FindTool(QStringLiteral("Fill"));
    int i = 0;
    for (auto _ : state) {
        c.setForeColor(RGB(0, 0, ++i & 1 ? 255 : 128));
        h.recordArea(QStringLiteral("Fill"));
        fill->press(c, ToolContext{}, 1050, 1050);
        h.close();
    }
}
BENCHMARK(BM_SmallFillStep)->Unit(benchmark::kMillisecond);

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
