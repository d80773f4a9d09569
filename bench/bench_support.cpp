#include "bench_support.h"
#include "effects/pixel_kernels.h"
#include <QCoreApplication>
#include <cstring>

namespace orv::bench {

namespace {

// The editor's sink: lets pending events run at every cancel test and keeps the value.
class EventLoopSink : public ProgressSink {
public:
    EventLoopSink()
    {
        static int argc = 1;
        static char name[] = "orvane_bench";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
    }
    void setProgress(float value) override { value_ = value; }
    bool cancelRequested() override
    {
        QCoreApplication::processEvents();
        return false;
    }

private:
    float value_ = 0.0f;
};

// The SIMD instruction set the effect kernels run with, printed with the machine's context.
const bool kKernelTargetNoted = [] {
    benchmark::AddCustomContext("kernel instruction set", kernels::KernelTargetName());
    return true;
}();

} // namespace

const QImage& TestPicture()
{
    static const QImage picture = [] {
        QImage img(kWidth, kHeight, kPixelFormat);
        uint32_t noise = 12345;
        for (int y = 0; y < kHeight; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(img.scanLine(y));
            for (int x = 0; x < kWidth; ++x) {
                noise = noise * 1664525u + 1013904223u;
                const int r = (x * 255 / kWidth + int(noise >> 28)) & 0xFF;
                const int g = (y * 255 / kHeight + int((noise >> 20) & 15)) & 0xFF;
                const int b = int(noise >> 24);
                row[x] = ToPixel(RGB(r, g, b));
            }
        }
        return img;
    }();
    return picture;
}

const Magick::Image& MagickPicture()
{
    static const Magick::Image image = [] {
        Magick::InitializeMagick(nullptr);
        const QImage rgb = TestPicture().convertToFormat(QImage::Format_RGB888);
        std::vector<uint8_t> packed(size_t(kWidth) * kHeight * 3);
        for (int y = 0; y < kHeight; ++y)
            std::memcpy(packed.data() + size_t(y) * kWidth * 3, rgb.constScanLine(y), kWidth * 3);
        return Magick::Image(kWidth, kHeight, "RGB", Magick::CharPixel, packed.data());
    }();
    return image;
}

ProgressSink* SinkFor(benchmark::State& state)
{
    static EventLoopSink* sink = nullptr;
    if (state.range(0) == 0) return nullptr;
    if (!sink) sink = new EventLoopSink;
    return sink;
}

void SetRates(benchmark::State& state)
{
    state.counters["pixels/s"] = benchmark::Counter(double(kWidth) * kHeight * double(state.iterations()),
                                                    benchmark::Counter::kIsRate);
}

} // namespace orv::bench
