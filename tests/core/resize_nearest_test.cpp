// Resize with the nearest pixel with every SIMD instruction set this processor runs, against
// the pixel under each target pixel's centre picked by hand: odd sizes each way, one side kept,
// shrinking and growing, a source whose top bytes are not all 0xFF.
#include "effects/geometry_kernels.h"
#include "tests/support/kernel_targets.h"
#include <gtest/gtest.h>
#include <random>

namespace orv {
namespace {

TEST(ResizeNearest, EverySimdSetPicksThePixelUnderEachCentre)
{
    std::mt19937 rng(3);
    QImage source = NewUninitializedPixelBuffer(37, 23);
    for (int y = 0; y < source.height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(source.scanLine(y));
        for (int x = 0; x < source.width(); ++x) row[x] = rng();
    }
    const auto under = [](int i, int from, int to) { return int((2 * int64_t(i) + 1) * from / (2 * int64_t(to))); };
    test::ForEachKernelTarget([&] {
        for (const QSize to : {QSize(1, 1), QSize(37, 9), QSize(5, 23), QSize(80, 51), QSize(13, 70), QSize(129, 2)}) {
            QImage image = source;
            ASSERT_TRUE(RunOnWorkingCopy(image, [&](WorkingCopy& w) {
                return ResizePasses(w, {to.width(), to.height(), ResizeFilter::Nearest});
            }, nullptr));
            ASSERT_EQ(image.size(), to);
            for (int y = 0; y < to.height(); ++y) {
                const auto* in = reinterpret_cast<const uint32_t*>(source.constScanLine(under(y, 23, to.height())));
                const auto* out = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
                for (int x = 0; x < to.width(); ++x)
                    ASSERT_EQ(out[x], in[under(x, 37, to.width())] | kPixelOpaque) << to.width() << "x" << to.height() << " at " << x << ", " << y;
            }
        }
    });
}

} // namespace
} // namespace orv
