// Picture codecs on a 6000 x 4000 photo-sized picture, each beside GraphicsMagick and
// TurboJPEG doing the same work alone: our decode (file read, decode into a new pixel buffer)
// and opening the file into a document's canvas against GraphicsMagick's read alone and
// TurboJPEG decoding the file's bytes into fresh memory; our encoders (encode, atomic write
// made durable) against GraphicsMagick writing the same pixels to a file and TurboJPEG
// encoding them and writing the bytes to a file (not made durable).
#include "documents/canvas.h"
#include "documents/image_loader.h"
#include "platform/color.h"
#include "platform/picture_codec.h"
#include <Magick++.h>
#include <QFile>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <turbojpeg.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace orv;

constexpr int kW = 6000;
constexpr int kH = 4000;
const QString kJpegIn = QStringLiteral("/tmp/orvane_codec_bench_in.jpg");
const QString kOut = QStringLiteral("/tmp/orvane_codec_bench_out");

// A smooth picture with some detail, so JPEG has realistic work.
const QImage& Picture()
{
    static const QImage picture = [] {
        QImage img = NewPixelBuffer(kW, kH, 0);
        for (int y = 0; y < kH; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(img.scanLine(y));
            for (int x = 0; x < kW; ++x)
                row[x] = ToPixel(RGB(x * 255 / kW, y * 255 / kH, ((x / 7) ^ (y / 5)) & 255));
        }
        return img;
    }();
    return picture;
}

void EnsureJpegInput()
{
    if (QFile::exists(kJpegIn)) return;
    QString error;
    EncodeJpeg(Picture(), kJpegIn, 85, &error);
}

void BM_Decode_Jpeg_Orvane(benchmark::State& state)
{
    EnsureJpegInput();
    for (auto _ : state) {
        DecodedPicture d = DecodePictureFile(kJpegIn);
        if (!d.ok()) state.SkipWithError(qPrintable(d.error));
        benchmark::DoNotOptimize(d.image.constBits());
    }
}
BENCHMARK(BM_Decode_Jpeg_Orvane)->Unit(benchmark::kMillisecond);

// What File > Open does to the canvas of a new document: clear it, decode, size and fill it.
void BM_Open_Jpeg_IntoCanvas_Orvane(benchmark::State& state)
{
    EnsureJpegInput();
    for (auto _ : state) {
        Canvas canvas(400, 300);
        const QString error = LoadImageFile(canvas, kJpegIn);
        if (!error.isEmpty()) state.SkipWithError(qPrintable(error));
        benchmark::DoNotOptimize(canvas.buffer().constBits());
    }
}
BENCHMARK(BM_Open_Jpeg_IntoCanvas_Orvane)->Unit(benchmark::kMillisecond);

void BM_Decode_Jpeg_GraphicsMagickReadAlone(benchmark::State& state)
{
    EnsureJpegInput();
    for (auto _ : state) {
        Magick::Image image;
        image.read(kJpegIn.toStdString());
        benchmark::DoNotOptimize(image.columns());
    }
}
BENCHMARK(BM_Decode_Jpeg_GraphicsMagickReadAlone)->Unit(benchmark::kMillisecond);

// TurboJPEG decoding the file's bytes into fresh memory each time, or (`reused`) into memory
// taken and touched once: the decode's own floor, without the memory a new picture needs.
void DecodeJpegTurboJpegAlone(benchmark::State& state, bool reused)
{
    EnsureJpegInput();
    QFile file(kJpegIn);
    if (!file.open(QIODevice::ReadOnly)) return state.SkipWithError("no input");
    const QByteArray jpeg = file.readAll();
    const auto* bytes = reinterpret_cast<const unsigned char*>(jpeg.constData());
    std::vector<unsigned char> touched(reused ? size_t(kW) * kH * 4 : 0, 0);
    for (auto _ : state) {
        tjhandle handle = tjInitDecompress();
        int w = 0, h = 0, subsampling = 0, colorspace = 0;
        tjDecompressHeader3(handle, bytes, jpeg.size(), &w, &h, &subsampling, &colorspace);
        std::unique_ptr<unsigned char[]> fresh(reused ? nullptr : new unsigned char[size_t(w) * h * 4]);
        unsigned char* pixels = reused ? touched.data() : fresh.get();
        if (tjDecompress2(handle, bytes, jpeg.size(), pixels, w, w * 4, h, TJPF_RGBX, 0) != 0)
            state.SkipWithError(tjGetErrorStr2(handle));
        benchmark::DoNotOptimize(pixels);
        tjDestroy(handle);
    }
}
void BM_Decode_Jpeg_TurboJpegAlone(benchmark::State& state) { DecodeJpegTurboJpegAlone(state, false); }
BENCHMARK(BM_Decode_Jpeg_TurboJpegAlone)->Unit(benchmark::kMillisecond);
void BM_Decode_Jpeg_TurboJpegAloneIntoTouchedMemory(benchmark::State& state) { DecodeJpegTurboJpegAlone(state, true); }
BENCHMARK(BM_Decode_Jpeg_TurboJpegAloneIntoTouchedMemory)->Unit(benchmark::kMillisecond);

void BM_Encode_Bmp24_Orvane(benchmark::State& state)
{
    const QImage& picture = Picture();
    QString error;
    for (auto _ : state) {
        if (!EncodeBmp24(picture, kOut + ".bmp", &error)) state.SkipWithError(qPrintable(error));
    }
}
BENCHMARK(BM_Encode_Bmp24_Orvane)->Unit(benchmark::kMillisecond);

Magick::Image MagickPicture()
{
    EnsurePictureCodecsReady();
    const QImage& picture = Picture();
    Magick::Image image(kW, kH, "RGBA", Magick::CharPixel, picture.constBits());
    image.matte(false);
    image.type(Magick::TrueColorType);
    image.depth(8);
    return image;
}

void BM_Encode_Bmp24_GraphicsMagickWriteAlone(benchmark::State& state)
{
    Magick::Image image = MagickPicture();
    for (auto _ : state) image.write(("BMP3:" + kOut + "_gm.bmp").toStdString());
}
BENCHMARK(BM_Encode_Bmp24_GraphicsMagickWriteAlone)->Unit(benchmark::kMillisecond);

void BM_Encode_Jpeg85_Orvane(benchmark::State& state)
{
    const QImage& picture = Picture();
    QString error;
    for (auto _ : state) {
        if (!EncodeJpeg(picture, kOut + ".jpg", 85, &error)) state.SkipWithError(qPrintable(error));
    }
}
BENCHMARK(BM_Encode_Jpeg85_Orvane)->Unit(benchmark::kMillisecond);

void BM_Encode_Jpeg85_GraphicsMagickWriteAlone(benchmark::State& state)
{
    Magick::Image image = MagickPicture();
    image.quality(85);
    for (auto _ : state) image.write(("JPEG:" + kOut + "_gm.jpg").toStdString());
}
BENCHMARK(BM_Encode_Jpeg85_GraphicsMagickWriteAlone)->Unit(benchmark::kMillisecond);

// TurboJPEG encoding the pixels and writing the bytes to a file; `durable` also makes the file
// durable (fsync), as every save of ours does before it renames the file into place.
void EncodeJpeg85TurboJpegAlone(benchmark::State& state, bool durable)
{
    const QImage& picture = Picture();
    for (auto _ : state) {
        tjhandle handle = tjInitCompress();
        unsigned char* jpeg = nullptr;
        unsigned long size = 0;
        if (tjCompress2(handle, picture.constBits(), kW, kW * 4, kH, TJPF_RGBX, &jpeg, &size, TJSAMP_420, 85, 0) != 0)
            state.SkipWithError(tjGetErrorStr2(handle));
        if (FILE* f = std::fopen(qPrintable(kOut + "_tj.jpg"), "wb")) {
            std::fwrite(jpeg, 1, size, f);
            std::fflush(f);
            if (durable) ::fsync(fileno(f));
            std::fclose(f);
        }
        tjFree(jpeg);
        tjDestroy(handle);
    }
}
void BM_Encode_Jpeg85_TurboJpegAlone(benchmark::State& state) { EncodeJpeg85TurboJpegAlone(state, false); }
BENCHMARK(BM_Encode_Jpeg85_TurboJpegAlone)->Unit(benchmark::kMillisecond);
void BM_Encode_Jpeg85_TurboJpegAloneDurable(benchmark::State& state) { EncodeJpeg85TurboJpegAlone(state, true); }
BENCHMARK(BM_Encode_Jpeg85_TurboJpegAloneDurable)->Unit(benchmark::kMillisecond);

} // namespace
