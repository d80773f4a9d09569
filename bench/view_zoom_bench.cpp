// Repainting a 1920 x 1080 viewport of a 6000 x 4000 picture at every zoom step, beside
// QPainter::drawImage with smooth scaling drawing the same region at the same zoom and
// GraphicsMagick's box-filtered resize of the same region. The pyramid's levels are made once,
// as a window that stays at one zoom keeps them; its full rebuild after a whole-picture change
// is timed on its own.
#include "bench_support.h"
#include "documents/view_zoom.h"
#include "documents/zoom_pyramid.h"
#include <QPainter>

namespace {

constexpr int kViewW = 1920;
constexpr int kViewH = 1080;

// The screen rectangle shown: the viewport, or the whole zoomed picture where it is smaller,
// from the middle of the zoomed picture.
QRect Shown(orv::ZoomStep z)
{
    const int w = std::min(kViewW, orv::ZoomedExtent(orv::bench::kWidth, z));
    const int h = std::min(kViewH, orv::ZoomedExtent(orv::bench::kHeight, z));
    return {(orv::ZoomedExtent(orv::bench::kWidth, z) - w) / 2, (orv::ZoomedExtent(orv::bench::kHeight, z) - h) / 2, w, h};
}

void BM_ZoomedRepaint(benchmark::State& state)
{
    const orv::ZoomStep z = orv::kZoomSteps[state.range(0)];
    const QImage& picture = orv::bench::TestPicture();
    orv::ZoomPyramid pyramid;
    const QRect r = Shown(z);
    QImage out(r.size(), orv::kPixelFormat);
    pyramid.render(picture, z.factor(), r.x(), r.y(), out);   // the levels this zoom needs
    for (auto _ : state) {
        pyramid.render(picture, z.factor(), r.x(), r.y(), out);
        benchmark::DoNotOptimize(out.constBits());
    }
    state.SetLabel(orv::ZoomPercentText(int(state.range(0))).toStdString());
}
BENCHMARK(BM_ZoomedRepaint)->DenseRange(0, orv::kZoomStepCount - 1)->Unit(benchmark::kMillisecond);

void BM_QPainterSmoothRepaint(benchmark::State& state)
{
    const orv::ZoomStep z = orv::kZoomSteps[state.range(0)];
    const QImage& picture = orv::bench::TestPicture();
    const QRect r = Shown(z);
    QImage out(r.size(), orv::kPixelFormat);
    // The picture's part that lands in the shown rectangle.
    const QRectF source(r.x() / z.factor(), r.y() / z.factor(), r.width() / z.factor(), r.height() / z.factor());
    for (auto _ : state) {
        QPainter p(&out);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(QRectF(0, 0, r.width(), r.height()), picture, source);
        p.end();
        benchmark::DoNotOptimize(out.constBits());
    }
    state.SetLabel(orv::ZoomPercentText(int(state.range(0))).toStdString());
}
BENCHMARK(BM_QPainterSmoothRepaint)->DenseRange(0, orv::kZoomStepCount - 1)->Unit(benchmark::kMillisecond);

// GraphicsMagick: the same region cropped and resized with a box filter.
void BM_Magick_ZoomedRegion(benchmark::State& state)
{
    const orv::ZoomStep z = orv::kZoomSteps[state.range(0)];
    const QRect r = Shown(z);
    const Magick::Geometry crop(size_t(std::ceil(r.width() / z.factor())), size_t(std::ceil(r.height() / z.factor())),
                                ssize_t(r.x() / z.factor()), ssize_t(r.y() / z.factor()));
    for (auto _ : state) {
        Magick::Image image = orv::bench::MagickPicture();
        image.crop(crop);
        image.filterType(z.factor() >= 1 ? Magick::PointFilter : Magick::BoxFilter);
        Magick::Geometry size(size_t(r.width()), size_t(r.height()));
        size.aspect(true);
        image.resize(size);
        benchmark::DoNotOptimize(image.getConstPixels(0, 0, 1, 1));
    }
    state.SetLabel(orv::ZoomPercentText(int(state.range(0))).toStdString());
}
BENCHMARK(BM_Magick_ZoomedRegion)->DenseRange(0, orv::kZoomStepCount - 1)->Unit(benchmark::kMillisecond);

// After a whole-picture change (an effect): every level made again, as the next zoomed-out
// paint does.
void BM_PyramidRebuild(benchmark::State& state)
{
    const QImage& picture = orv::bench::TestPicture();
    orv::ZoomPyramid pyramid;
    pyramid.level(picture, 4);
    for (auto _ : state) {
        pyramid.invalidate(picture.rect());
        benchmark::DoNotOptimize(pyramid.level(picture, 4).constBits());
    }
    orv::bench::SetRates(state);
}
BENCHMARK(BM_PyramidRebuild)->Unit(benchmark::kMillisecond);

// A stroke's move at 8:1: the 16 x 16 picture pixels it changed, shown again.
void BM_StrokeRepaintAt8(benchmark::State& state)
{
    const orv::ZoomStep z = orv::kZoomSteps[13];
    const QImage& picture = orv::bench::TestPicture();
    orv::ZoomPyramid pyramid;
    QImage out(16 * 8, 16 * 8, orv::kPixelFormat);
    for (auto _ : state) {
        pyramid.render(picture, z.factor(), 3000 * 8, 2000 * 8, out);
        benchmark::DoNotOptimize(out.constBits());
    }
}
BENCHMARK(BM_StrokeRepaintAt8)->Unit(benchmark::kMicrosecond);

} // namespace
