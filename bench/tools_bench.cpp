// Drawing on a 6000 x 4000 canvas as the mouse does it, one recorded pointer move per
// iteration: a freehand segment, a shape preview move (two inverting DrawShape calls), the
// colour read-out, and a flood fill of the whole canvas; each beside GraphicsMagick's nearest
// operation on the same picture.
#include "documents/canvas.h"
#include "tools/draw_tools.h"
#include "tools/tool.h"
#include <Magick++.h>
#include <benchmark/benchmark.h>
#include <cmath>
#include <vector>

namespace {

constexpr int kW = 6000;
constexpr int kH = 4000;

// A recorded drag: pointer positions 2 to 8 pixels apart along a wide spiral, as a mouse
// reports them while the hand draws.
const std::vector<QPointF>& RecordedMoves()
{
    static const std::vector<QPointF> moves = [] {
        std::vector<QPointF> out;
        double a = 0;
        for (int i = 0; i < 4096; ++i) {
            const double r = 300 + 0.4 * i;
            out.emplace_back(3000 + r * std::cos(a), 2000 + 0.6 * r * std::sin(a));
            a += 5.0 / r;
        }
        return out;
    }();
    return moves;
}

Magick::Image& MagickCanvas()
{
    static const bool started = (Magick::InitializeMagick(nullptr), true);
    (void)started;
    static Magick::Image image(Magick::Geometry(kW, kH), Magick::Color("white"));
    return image;
}

void BM_FreehandMove(benchmark::State& state)
{
    orv::Canvas canvas(kW, kH);
    canvas.setDrawWidth(int16_t(state.range(0)));
    orv::Tool* freehand = orv::FindTool(QStringLiteral("FreeDraw"));
    const auto& moves = RecordedMoves();
    freehand->press(canvas, {}, float(moves[0].x()), float(moves[0].y()));
    size_t i = 0;
    for (auto _ : state) {
        i = (i + 1) % moves.size();
        freehand->move(canvas, {}, 1, float(moves[i].x()), float(moves[i].y()));
    }
}
BENCHMARK(BM_FreehandMove)->Arg(1)->Arg(10)->Unit(benchmark::kMicrosecond);

void BM_MagickDrawLine(benchmark::State& state)
{
    Magick::Image& image = MagickCanvas();
    image.strokeWidth(double(state.range(0)));
    image.strokeColor("black");
    const auto& moves = RecordedMoves();
    size_t i = 0;
    for (auto _ : state) {
        const size_t next = (i + 1) % moves.size();
        image.draw(Magick::DrawableLine(moves[i].x(), moves[i].y(), moves[next].x(), moves[next].y()));
        i = next;
    }
}
BENCHMARK(BM_MagickDrawLine)->Arg(1)->Arg(10)->Unit(benchmark::kMicrosecond);

// Arg: the shape kind (2 ellipse, 3 line, 4 box); the drag starts 1000 pixels up-left of the
// recorded moves, so each preview spans about 1000 x 1000 pixels.
void BM_ShapePreviewMove(benchmark::State& state)
{
    static const char* const names[] = {"", "", "Circle", "Line", "Rectangle"};
    orv::Canvas canvas(kW, kH);
    orv::Tool* shape = orv::FindTool(QString::fromLatin1(names[state.range(0)]));
    orv::RubberBand = {};
    const auto& moves = RecordedMoves();
    shape->press(canvas, {}, float(moves[0].x() - 1000), float(moves[0].y() - 1000));
    size_t i = 0;
    for (auto _ : state) {
        i = (i + 1) % moves.size();
        shape->move(canvas, {}, 1, float(moves[i].x()), float(moves[i].y()));
    }
    shape->release(canvas, 1);
}
BENCHMARK(BM_ShapePreviewMove)->Arg(2)->Arg(3)->Arg(4)->Unit(benchmark::kMicrosecond);

// GraphicsMagick has no inverting pen: the nearest is drawing the outline twice.
void BM_MagickDrawRectangleTwice(benchmark::State& state)
{
    Magick::Image& image = MagickCanvas();
    image.strokeWidth(1);
    image.strokeColor("black");
    image.fillColor(Magick::Color());
    const auto& moves = RecordedMoves();
    const QPointF start = moves[0] - QPointF(1000, 1000);
    size_t i = 0;
    for (auto _ : state) {
        const size_t next = (i + 1) % moves.size();
        image.draw(Magick::DrawableRectangle(start.x(), start.y(), moves[i].x(), moves[i].y()));
        image.draw(Magick::DrawableRectangle(start.x(), start.y(), moves[next].x(), moves[next].y()));
        i = next;
    }
}
BENCHMARK(BM_MagickDrawRectangleTwice)->Unit(benchmark::kMicrosecond);

void BM_ColorReadout(benchmark::State& state)
{
    orv::Canvas canvas(kW, kH, orv::RGB(12, 200, 7));
    const auto& moves = RecordedMoves();
    size_t i = 0;
    for (auto _ : state) {
        i = (i + 1) % moves.size();
        benchmark::DoNotOptimize(orv::ColorReadoutText(canvas.Point(float(moves[i].x()), float(moves[i].y()))));
    }
}
BENCHMARK(BM_ColorReadout)->Unit(benchmark::kMicrosecond);

void BM_MagickPixelColorReadout(benchmark::State& state)
{
    Magick::Image& image = MagickCanvas();
    const auto& moves = RecordedMoves();
    size_t i = 0;
    for (auto _ : state) {
        i = (i + 1) % moves.size();
        const Magick::ColorRGB c = image.pixelColor(size_t(moves[i].x()), size_t(moves[i].y()));
        benchmark::DoNotOptimize(QStringLiteral("Color: R: %1. G: %2. B: %3")
                                     .arg(int(c.red() * 255)).arg(int(c.green() * 255)).arg(int(c.blue() * 255)));
    }
}
BENCHMARK(BM_MagickPixelColorReadout)->Unit(benchmark::kMicrosecond);

// A press of the fill tool on a one-colour canvas: every pixel changes.
void BM_FillToolWholeCanvas(benchmark::State& state)
{
    orv::Canvas canvas(kW, kH);
    orv::Tool* fill = orv::FindTool(QStringLiteral("Fill"));
    bool red = true;
    for (auto _ : state) {
        canvas.setForeColor(red ? 0x0000FF : 0xFFFFFF);
        fill->press(canvas, {}, kW / 2, kH / 2);
        red = !red;
    }
    state.SetItemsProcessed(state.iterations() * int64_t{kW} * kH);
}
BENCHMARK(BM_FillToolWholeCanvas)->Unit(benchmark::kMillisecond);

void BM_MagickFloodFillWholeCanvas(benchmark::State& state)
{
    Magick::Image image(Magick::Geometry(kW, kH), Magick::Color("white"));
    bool red = true;
    for (auto _ : state) {
        image.floodFillColor(kW / 2, kH / 2, Magick::Color(red ? "red" : "white"));
        red = !red;
    }
    state.SetItemsProcessed(state.iterations() * int64_t{kW} * kH);
}
BENCHMARK(BM_MagickFloodFillWholeCanvas)->Unit(benchmark::kMillisecond);

} // namespace
