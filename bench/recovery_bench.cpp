// Recovery copies of a 6000 x 4000 photo-like picture (smooth gradients with noise): the part
// the window thread does (taking a snapshot of the canvas), its price for a change made while a
// write is under way (beside the price of sharing the picture instead), the whole write (packing, compression, atomic durable write), the size against the
// raw 24-bit pixels (also for a camera-like photo decoded from a JPEG), and reading a copy back
// beside opening the same picture as a JPEG through the program's codec and through
// GraphicsMagick.
#include "bench/bench_support.h"
#include "documents/canvas.h"
#include "documents/picture_snapshot.h"
#include "documents/recovery_file.h"
#include "platform/picture_codec.h"
#include <QDateTime>
#include <algorithm>
#include <cmath>
#include <QFile>
#include <QFileInfo>
#include <chrono>
#include <thread>

namespace {

using namespace orv;

const QString kCopy = QStringLiteral("/tmp/orvane_recovery_bench.orc");
const QString kJpeg = QStringLiteral("/tmp/orvane_recovery_bench.jpg");
const QString kCameraJpeg = QStringLiteral("/tmp/orvane_recovery_bench_camera.jpg");

// A photo-like picture: smooth gradients and slow waves in every channel with some sensor-like
// noise (-4 to +3) on each. The shared test picture has a blue channel of pure noise, which no
// photo has; its figures are given too (BM_Recovery_WriteWhole_NoisyTestPicture).
const QImage& Photo()
{
    static const QImage picture = [] {
        QImage img(bench::kWidth, bench::kHeight, kPixelFormat);
        uint32_t noise = 12345;
        const auto wave = [](int v, int period) { return int(40 * std::sin(v * 6.2831853 / period)); };
        for (int y = 0; y < bench::kHeight; ++y) {
            uint8_t* d = img.scanLine(y);
            for (int x = 0; x < bench::kWidth; ++x) {
                noise = noise * 1664525u + 1013904223u;
                const int n[3] = {int(noise >> 29) - 4, int((noise >> 26) & 7) - 4, int((noise >> 23) & 7) - 4};
                const int c[3] = {x * 180 / bench::kWidth + 40 + wave(y, 900), y * 160 / bench::kHeight + 50 + wave(x, 1300),
                                  (x + y) * 120 / (bench::kWidth + bench::kHeight) + 60 + wave(x + 2 * y, 700)};
                for (int k = 0; k < 3; ++k) d[4 * x + k] = uint8_t(std::clamp(c[k] + n[k], 0, 255));
                d[4 * x + 3] = 0xFF;
            }
        }
        return img;
    }();
    return picture;
}

// A camera's photo as bench/batch_vs_gm.sh makes it: noise on a fractal, enlarged, saved as a
// JPEG at quality 85 (about 9 MB), then opened as the program opens it.
const QImage& CameraPhoto()
{
    static const QImage picture = [] {
        if (!QFile::exists(kCameraJpeg)) {
            bench::MagickPicture();   // starts GraphicsMagick
            Magick::Image image;
            image.size(Magick::Geometry(3000, 2000));
            image.read("plasma:fractal");
            image.addNoise(Magick::GaussianNoise);
            image.resize(Magick::Geometry(QStringLiteral("%1x%2!").arg(bench::kWidth).arg(bench::kHeight).toStdString()));
            image.quality(85);
            image.write(kCameraJpeg.toStdString());
        }
        return DecodePictureFile(kCameraJpeg).image;
    }();
    return picture;
}

RecoveryCopy Description()
{
    RecoveryCopy copy;
    copy.caption = QStringLiteral("photo.jpg");
    copy.filePath = QStringLiteral("/home/user/photo.jpg");
    copy.time = QDateTime::currentDateTime();
    return copy;
}

bool Write(const QImage& picture, const QString& path, QString* error)
{
    return WriteRecoveryCopy(Description(), PictureSnapshot::Holding(picture), path, error);
}

// A document's canvas showing the photo in pixel memory of its own.
std::unique_ptr<Canvas> PhotoCanvas()
{
    auto canvas = std::make_unique<Canvas>(bench::kWidth, bench::kHeight);
    canvas->setPicture(Photo());
    DetachPixelBuffer(canvas->buffer());
    return canvas;
}

void EnsureFiles()
{
    QString error;
    if (!QFile::exists(kCopy)) Write(Photo(), kCopy, &error);
    if (!QFile::exists(kJpeg)) EncodeJpeg(Photo(), kJpeg, 85, &error);
}

void BM_Recovery_TakeSnapshot_WindowThread(benchmark::State& state)
{
    const std::unique_ptr<Canvas> canvas = PhotoCanvas();
    for (auto _ : state) benchmark::DoNotOptimize(canvas->snapshot());
}
BENCHMARK(BM_Recovery_TakeSnapshot_WindowThread)->Unit(benchmark::kMicrosecond);

// The baseline: a write that shares the picture makes the canvas's next stroke copy all of it
// on the window thread.
void BM_Recovery_DrawWhileShared_Detach(benchmark::State& state)
{
    QImage canvas = Photo();
    DetachPixelBuffer(canvas);
    for (auto _ : state) {
        state.PauseTiming();
        QImage shared = canvas;
        state.ResumeTiming();
        canvas.scanLine(0)[0] ^= 1;
        benchmark::DoNotOptimize(canvas.constBits());
        state.PauseTiming();
        shared = QImage();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Recovery_DrawWhileShared_Detach)->Unit(benchmark::kMillisecond);

// The window thread's price of a change made while a write reads its snapshot, state.range(0)
// ms after the snapshot was taken (-1: with no write, the change's own price): a short stroke of
// width 5 (range(1) 0), or a box filled over the whole picture (1), the worst case: every row
// the write has not read yet is kept for it.
void BM_Recovery_ChangeDuringWrite_WindowThread(benchmark::State& state)
{
    const std::unique_ptr<Canvas> canvas = PhotoCanvas();
    canvas->setDrawWidth(5);
    const QString path = kCopy + QStringLiteral(".during");
    for (auto _ : state) {
        state.PauseTiming();
        std::thread writer;
        if (state.range(0) >= 0) {
            writer = std::thread([pixels = canvas->snapshot(), path]() mutable {
                QString error;
                WriteRecoveryCopy(Description(), std::move(pixels), path, &error);
            });
            std::this_thread::sleep_for(std::chrono::milliseconds(state.range(0)));
        }
        state.ResumeTiming();
        if (state.range(1) == 0) canvas->Line(3000, 2000, 3040, 2030);
        else canvas->Line(0, 0, bench::kWidth - 1, bench::kHeight - 1, 0xFF, LineMode::FilledBox);
        state.PauseTiming();
        if (writer.joinable()) writer.join();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Recovery_ChangeDuringWrite_WindowThread)
    ->Args({-1, 0})->Args({0, 0})->Args({20, 0})->Args({50, 0})->Args({-1, 1})->Args({0, 1})->Args({50, 1})
    ->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_Recovery_WriteWhole(benchmark::State& state)
{
    for (auto _ : state) {
        QString error;
        if (!Write(Photo(), kCopy, &error)) state.SkipWithError(qPrintable(error));
    }
    const double raw = double(bench::kWidth) * bench::kHeight * 3;
    state.counters["size_to_raw24"] = double(QFileInfo(kCopy).size()) / raw;
    state.counters["MB"] = double(QFileInfo(kCopy).size()) / 1e6;
}
BENCHMARK(BM_Recovery_WriteWhole)->Unit(benchmark::kMillisecond);

void BM_Recovery_WriteWhole_NoisyTestPicture(benchmark::State& state)
{
    const QString path = kCopy + QStringLiteral(".noisy");
    for (auto _ : state) {
        QString error;
        if (!Write(bench::TestPicture(), path, &error)) state.SkipWithError(qPrintable(error));
    }
    state.counters["size_to_raw24"] = double(QFileInfo(path).size()) / (double(bench::kWidth) * bench::kHeight * 3);
}
BENCHMARK(BM_Recovery_WriteWhole_NoisyTestPicture)->Unit(benchmark::kMillisecond);

void BM_Recovery_WriteWhole_CameraPhoto(benchmark::State& state)
{
    const QString path = kCopy + QStringLiteral(".camera");
    for (auto _ : state) {
        QString error;
        if (!Write(CameraPhoto(), path, &error)) state.SkipWithError(qPrintable(error));
    }
    state.counters["size_to_raw24"] = double(QFileInfo(path).size()) / (double(bench::kWidth) * bench::kHeight * 3);
}
BENCHMARK(BM_Recovery_WriteWhole_CameraPhoto)->Unit(benchmark::kMillisecond);

void BM_Recovery_ReadBack(benchmark::State& state)
{
    EnsureFiles();
    for (auto _ : state) {
        RecoveryCopy copy;
        QString error;
        if (!ReadRecoveryCopy(kCopy, true, &copy, &error)) state.SkipWithError(qPrintable(error));
        benchmark::DoNotOptimize(copy.pixels.constBits());
    }
}
BENCHMARK(BM_Recovery_ReadBack)->Unit(benchmark::kMillisecond);

void BM_Recovery_SamePictureAsJpeg_Orvane(benchmark::State& state)
{
    EnsureFiles();
    for (auto _ : state) {
        DecodedPicture d = DecodePictureFile(kJpeg);
        if (!d.ok()) state.SkipWithError(qPrintable(d.error));
        benchmark::DoNotOptimize(d.image.constBits());
    }
}
BENCHMARK(BM_Recovery_SamePictureAsJpeg_Orvane)->Unit(benchmark::kMillisecond);

void BM_Recovery_SamePictureAsJpeg_GraphicsMagickRead(benchmark::State& state)
{
    EnsureFiles();
    for (auto _ : state) {
        Magick::Image image;
        image.read(kJpeg.toStdString());
        benchmark::DoNotOptimize(image.columns());
    }
}
BENCHMARK(BM_Recovery_SamePictureAsJpeg_GraphicsMagickRead)->Unit(benchmark::kMillisecond);

} // namespace
