// The fills on a 6000 x 4000 picture as the editor draws them (straight onto the canvas), beside
// a plain copy of the picture (BM_Memcpy in effects_bench.cpp) and GraphicsMagick drawing the
// same gradient, lines, dots or tiling.
#include "bench_support.h"
#include "fills/gradient.h"
#include "fills/grid.h"
#include "fills/image_fill.h"
#include "fills/insert_image.h"
#include "fills/gradient_dots.h"
#include <list>

namespace orv::bench {
namespace {

// The canvas: one unshared picture, drawn over again in every iteration (each fill sets its
// pixels whatever they held, so iterations do the same work).
QImage& Canvas()
{
    static QImage canvas = TestPicture().copy();
    return canvas;
}

template <class Draw>
void RunFill(benchmark::State& state, Draw draw)
{
    QImage& canvas = Canvas();
    for (auto _ : state) {
        draw(canvas);
        benchmark::DoNotOptimize(canvas.constBits());
        benchmark::ClobberMemory();
    }
    SetRates(state);
}

void BM_FillGradientHorizontal(benchmark::State& state)
{
    RunFill(state, [](QImage& c) { DrawLinearGradient(c, 16711680, 16776960, 1); });
}
BENCHMARK(BM_FillGradientHorizontal)->Unit(benchmark::kMillisecond);

void BM_FillGradientVertical(benchmark::State& state)
{
    RunFill(state, [](QImage& c) { DrawLinearGradient(c, 16711680, 16776960, 0); });
}
BENCHMARK(BM_FillGradientVertical)->Unit(benchmark::kMillisecond);

void BM_FillGradientSpecial(benchmark::State& state)
{
    RunFill(state, [](QImage& c) { DrawSpecialGradient(c); });
}
BENCHMARK(BM_FillGradientSpecial)->Unit(benchmark::kMillisecond);

GridParams DenseGrid()
{
    GridParams p;
    p.columns = 60;
    p.rows = 40;
    p.threeD = true;
    p.width = 2;
    return p;
}

// The dialog's 3 x 3, and a 3D grid of 60 x 40 lines 2 pixels wide.
void BM_FillGrid(benchmark::State& state)
{
    const GridParams p = state.range(0) ? DenseGrid() : GridParams{};
    RunFill(state, [&p](QImage& c) { DrawGrid(c, p); });
}
BENCHMARK(BM_FillGrid)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// As the editor runs Grid: the undo snapshot shares the canvas, so the first line drawn makes
// the canvas's own copy of the picture.
void BM_FillGridAfterSnapshot(benchmark::State& state)
{
    const GridParams p = DenseGrid();
    QImage& canvas = Canvas();
    for (auto _ : state) {
        const QImage snapshot = canvas;
        DrawGrid(canvas, p);
        benchmark::DoNotOptimize(canvas.constBits());
        benchmark::DoNotOptimize(snapshot.constBits());
    }
    SetRates(state);
}
BENCHMARK(BM_FillGridAfterSnapshot)->Unit(benchmark::kMillisecond);

// Tiles of 30 x 40 and 256 x 256 pixels, cut from the test picture.
QImage Tile(int side) { return side ? TestPicture().copy(0, 0, side, side) : TestPicture().copy(0, 0, 30, 40); }

void BM_FillImage(benchmark::State& state)
{
    const QImage tile = Tile(int(state.range(0)));
    RunFill(state, [&tile](QImage& c) { TileImage(c, tile); });
}
BENCHMARK(BM_FillImage)->Arg(0)->Arg(256)->Unit(benchmark::kMillisecond);

// Insert over a canvas whose every pixel has the key colour, a picture as large as the canvas.
void BM_InsertImage(benchmark::State& state)
{
    const QImage picture = TestPicture();
    QImage keyed = NewPixelBuffer(kWidth, kHeight, 0);
    for (auto _ : state) {
        state.PauseTiming();
        keyed.fill(ToPixel(0));
        state.ResumeTiming();
        TransparentBlit(keyed, picture, 0);
        benchmark::DoNotOptimize(keyed.constBits());
    }
    SetRates(state);
}
BENCHMARK(BM_InsertImage)->Unit(benchmark::kMillisecond);

// ---- GraphicsMagick ----------------------------------------------------------------------------

Magick::Image MagickTile(int side)
{
    const QImage tile = Tile(side).convertToFormat(QImage::Format_RGBX8888);
    MagickPicture();   // starts GraphicsMagick
    return Magick::Image(tile.width(), tile.height(), "RGBA", Magick::CharPixel, tile.constBits());
}

// GraphicsMagick's gradient: blue to cyan from top to bottom, into a new picture.
void BM_Magick_Gradient(benchmark::State& state)
{
    RunMagickGenerator(state, "gradient:#0000FF-#00FFFF");
}
BENCHMARK(BM_Magick_Gradient)->Unit(benchmark::kMillisecond);

// The special gradient's 26 x 26 dots as filled circles, without antialiasing.
void BM_Magick_Dots(benchmark::State& state)
{
    const double r = SpecialGradientPenWidth(kWidth, kHeight) / 2.0;
    std::list<Magick::Drawable> dots;
    dots.push_back(Magick::DrawableStrokeAntialias(false));
    dots.push_back(Magick::DrawableStrokeColor(Magick::Color()));
    for (int x = 1; x <= 251; x += 10)
        for (int y = 1; y <= 251; y += 10) {
            const double cx = x * kWidth / 255.0, cy = y * kHeight / 255.0;
            dots.push_back(Magick::DrawableFillColor(Magick::ColorRGB(x / 255.0, y / 255.0, (255 - x) / 255.0)));
            dots.push_back(Magick::DrawableCircle(cx, cy, cx + r, cy));
        }
    RunMagick(state, [&dots](Magick::Image& image) { image.draw(dots); });
}
BENCHMARK(BM_Magick_Dots)->Unit(benchmark::kMillisecond);

// The same grid's lines (with 3D, the face line before each), without antialiasing.
void BM_Magick_Grid(benchmark::State& state)
{
    const GridParams p = state.range(0) ? DenseGrid() : GridParams{};
    std::list<Magick::Drawable> lines;
    lines.push_back(Magick::DrawableStrokeAntialias(false));
    lines.push_back(Magick::DrawableStrokeWidth(p.width));
    const auto line = [&](ColorRef color, double x1, double y1, double x2, double y2) {
        lines.push_back(Magick::DrawableStrokeColor(
            Magick::ColorRGB(RedOf(color) / 255.0, GreenOf(color) / 255.0, BlueOf(color) / 255.0)));
        lines.push_back(Magick::DrawableLine(x1, y1, x2, y2));
    };
    for (int i = 1; i <= p.columns - 1; ++i) {
        const double x = i * kWidth / p.columns;
        if (p.threeD) line(p.face, x - 1, 0, x - 1, kHeight);
        line(p.threeD ? p.shadow : p.color, x, 0, x, kHeight);
    }
    for (int j = 1; j <= p.rows - 1; ++j) {
        const double y = j * kHeight / p.rows;
        if (p.threeD) line(p.face, 0, y - 1, kWidth, y - 1);
        line(p.threeD ? p.shadow : p.color, 0, y, kWidth, y);
    }
    RunMagick(state, [&lines](Magick::Image& image) { image.draw(lines); });
}
BENCHMARK(BM_Magick_Grid)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Magick_Texture(benchmark::State& state)
{
    const Magick::Image tile = MagickTile(int(state.range(0)));
    RunMagick(state, [&tile](Magick::Image& image) { image.texture(tile); });
}
BENCHMARK(BM_Magick_Texture)->Arg(0)->Arg(256)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace orv::bench
