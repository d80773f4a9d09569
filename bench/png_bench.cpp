// Saving a 6000 x 4000 picture as PNG (pixel hand-over, encode, atomic write) beside
// GraphicsMagick writing the same pixels as a 24-bit PNG at its own settings.
#include "bench/bench_support.h"
#include "platform/picture_codec.h"

namespace {

using namespace orv;

const QString kOut = QStringLiteral("/tmp/orvane_png_bench_out");

void BM_Encode_Png24_Orvane(benchmark::State& state)
{
    const QImage& picture = bench::TestPicture();
    QString error;
    for (auto _ : state)
        if (!EncodePng24(picture, kOut + ".png", &error)) state.SkipWithError(qPrintable(error));
}
BENCHMARK(BM_Encode_Png24_Orvane)->Unit(benchmark::kMillisecond);

void BM_Encode_Png24_GraphicsMagickWriteAlone(benchmark::State& state)
{
    Magick::Image image = bench::MagickPicture();
    for (auto _ : state) image.write(("PNG24:" + kOut + "_gm.png").toStdString());
}
BENCHMARK(BM_Encode_Png24_GraphicsMagickWriteAlone)->Unit(benchmark::kMillisecond);

} // namespace
