// Emboss, Diffuse, Sharpen and Smooth, run as the editor runs them.
#include "effects/typical.h"
#include "platform/random.h"
#include "tests/support/kernel_targets.h"
#include "tests/support/test_pictures.h"
#include <gtest/gtest.h>
#include <cmath>

namespace orv {
namespace {

QImage Filled(int w, int h, ColorRef c) { return NewPixelBuffer(w, h, c); }

using test::At;
using test::Numbered;
using test::Put;

QImage Filtered(QImage img, TypicalFilter f)
{
    const TypicalParams p{f};
    EXPECT_TRUE(RunOnWorkingCopy(img, [&](WorkingCopy& w) { return TypicalPasses(w, p); }, nullptr));
    return img;
}

// Emboss turns a flat picture mid-grey, down to a single pixel whose neighbour lies outside.
TEST(TypicalFilters, FlatPictures)
{
    const QImage flat = Filled(9, 8, RGB(30, 160, 250));
    EXPECT_EQ(Filtered(flat, TypicalFilter::Emboss), Filled(9, 8, RGB(128, 128, 128)));
    EXPECT_EQ(Filtered(Filled(1, 1, 0xFFFFFF), TypicalFilter::Emboss), Filled(1, 1, RGB(128, 128, 128)));
    for (TypicalFilter f : {TypicalFilter::Sharpen, TypicalFilter::Smooth, TypicalFilter::Diffuse}) EXPECT_EQ(Filtered(flat, f), flat);
}

TEST(TypicalFilters, SmoothAveragesTheBlock)
{
    QImage img = Filled(3, 3, RGB(0, 127, 255));
    Put(img, 1, 1, RGB(13, 131, 255));   // red sum 13, green sum 8 * 127 + 131 = 1147
    Put(img, 0, 0, RGB(200, 127, 255));
    const QImage out = Filtered(img, TypicalFilter::Smooth);
    EXPECT_EQ(At(out, 1, 1), RGB(24 /* 213 / 9 = 23.67 */, 127 /* 127.44 */, 255));
    EXPECT_EQ(At(out, 0, 0), RGB(200, 127, 255));   // the frame is not visited
}

TEST(TypicalFilters, SmallPicturesAreVisitedOnlyWhereTheFilterReaches)
{
    // Under 5 pixels Diffuse visits nothing and draws nothing; under 3 Sharpen and Smooth
    // visit nothing; one row or column divides by nothing.
    for (QSize size : {QSize(4, 9), QSize(9, 4), QSize(1, 1), QSize(2, 7), QSize(7, 1)}) {
        const QImage src = Numbered(size.width(), size.height());
        UniformGenerator before = SharedGenerator();
        EXPECT_EQ(Filtered(src, TypicalFilter::Diffuse), src);
        EXPECT_EQ(SharedGenerator().next(), before.next());
        if (size.width() < 3 || size.height() < 3) {
            EXPECT_EQ(Filtered(src, TypicalFilter::Sharpen), src);
            EXPECT_EQ(Filtered(src, TypicalFilter::Smooth), src);
        }
    }
}

TEST(TypicalFilters, DiffuseDrawsTwoValuesPerPixelInRowOrder)
{
    // A picture of several bands, each spread over threads; the sources are worked out with a
    // copy of the shared generator, drawing in the order rows outside, columns inside, with
    // every instruction set. Rows of 196 and of 199 visited pixels: draws are taken a vector
    // at a time, and 199 leaves some over at each row's end.
    test::ForEachKernelTarget([] {
        for (const int w : {200, 203}) {
            const int h = 2000;
            const QImage src = Numbered(w, h);
            UniformGenerator g = SharedGenerator();
            const QImage out = Filtered(src, TypicalFilter::Diffuse);
            int moved = 0;
            for (int y = 2; y <= h - 3; ++y) {
                for (int x = 2; x <= w - 3; ++x) {
                    const float d1 = static_cast<float>(g.next()) * 4.0f - 2.0f;
                    const float d2 = static_cast<float>(g.next()) * 4.0f - 2.0f;
                    const int sy = static_cast<int>(std::nearbyint(y + static_cast<double>(d1)));
                    const int sx = static_cast<int>(std::nearbyint(x + static_cast<double>(d2)));
                    ASSERT_LE(std::abs(sy - y), 2);
                    ASSERT_LE(std::abs(sx - x), 2);
                    ASSERT_EQ(At(out, x, y), At(src, sx, sy)) << x << "," << y << " of width " << w;
                    moved += sx != x || sy != y;
                }
            }
            EXPECT_GT(moved, (w - 4) * (h - 4) / 2);
            EXPECT_EQ(SharedGenerator().next(), g.next());
            for (int x = 0; x < w; ++x) {
                EXPECT_EQ(At(out, x, 1), At(src, x, 1));
                EXPECT_EQ(At(out, x, h - 2), At(src, x, h - 2));
            }
        }
    });
}

} // namespace
} // namespace orv
