// Tornado's row kernel: every instruction set gives the plain code's pixels, on sizes that
// leave partial vectors and with samples held at the picture's edges.
#include "effects/tornado.h"
#include "tests/support/kernel_targets.h"
#include "tests/support/test_pictures.h"

namespace orv {
namespace {

TEST(TornadoKernel, EveryInstructionSetGivesThePlainCodesPixels)
{
    struct Case {
        int w, h;
        TornadoParams p;
    };
    const Case cases[] = {{1, 1, {90, 5}},    {2, 3, {45, 1}},         {17, 9, {90, 6}},
                          {37, 23, {-270.5, 30}}, {61, 40, {3600, 25.3}}, {5, 67, {-3600, 100}}, {401, 299, {3600, 200}}};
    for (const Case& c : cases) {
        std::vector<QImage> results;
        test::ForEachKernelTarget([&] {
            QImage image = test::Numbered(c.w, c.h);
            ASSERT_TRUE(RunOnWorkingCopy(image, [&](WorkingCopy& work) { return TornadoPasses(work, c.p); }, nullptr));
            results.push_back(image);
        });
        // The targets come best first, the plain code last.
        for (const QImage& result : results) EXPECT_EQ(result, results.back()) << c.w << "x" << c.h;
    }
}

} // namespace
} // namespace orv
