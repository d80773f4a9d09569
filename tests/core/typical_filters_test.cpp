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

TEST(TypicalFilters, FlatPictures)
{
    const QImage flat = Filled(9, 8, RGB(30, 160, 250));
    EXPECT_EQ(Filtered(flat, TypicalFilter::Emboss), Filled(9, 8, RGB(128, 128, 128)));
    EXPECT_EQ(Filtered(flat, TypicalFilter::Sharpen), flat);
    EXPECT_EQ(Filtered(flat, TypicalFilter::Smooth), flat);
    EXPECT_EQ(Filtered(flat, TypicalFilter::Diffuse), flat);
}

TEST(TypicalFilters, EmbossComparesWithTheLowerRightNeighbour)
{
    // 3 x 2: only (0, 0) and (1, 0) are visited; the last column and row become mid-grey.
    QImage img = Filled(3, 2, 0);
    Put(img, 0, 0, RGB(255, 0, 100));
    Put(img, 1, 1, RGB(0, 255, 100));
    Put(img, 1, 0, RGB(7, 9, 11));
    const QImage out = Filtered(img, TypicalFilter::Emboss);
    EXPECT_EQ(At(out, 0, 0), RGB(255 /* 383 capped */, 127 /* |-127| */, 128));
    EXPECT_EQ(At(out, 1, 0), RGB(135, 137, 139));   // lower-right neighbour is black
    for (auto [x, y] : {std::pair{2, 0}, {2, 1}, {0, 1}, {1, 1}})
        EXPECT_EQ(At(out, x, y), RGB(128, 128, 128));
    EXPECT_EQ(Filtered(Filled(1, 1, 0xFFFFFF), TypicalFilter::Emboss), Filled(1, 1, RGB(128, 128, 128)));
}

TEST(TypicalFilters, SharpenAddsHalfTheStepFromTheUpperLeft)
{
    QImage img = Filled(4, 3, 0);
    Put(img, 0, 0, RGB(50, 0, 255));
    Put(img, 1, 1, RGB(100, 255, 0));
    Put(img, 1, 0, RGB(0, 0, 50));
    Put(img, 2, 1, RGB(1, 3, 100));
    const QImage out = Filtered(img, TypicalFilter::Sharpen);
    EXPECT_EQ(At(out, 1, 1), RGB(125, 255 /* 382.5 */, 0 /* -127.5 */));
    EXPECT_EQ(At(out, 2, 1), RGB(2 /* 1.5 */, 4 /* 4.5 */, 125));
    EXPECT_EQ(At(out, 0, 0), RGB(50, 0, 255));   // the frame is not visited
    EXPECT_EQ(At(out, 1, 0), RGB(0, 0, 50));
}

TEST(TypicalFilters, SmoothAveragesTheBlock)
{
    QImage img = Filled(3, 3, RGB(0, 127, 255));
    Put(img, 1, 1, RGB(13, 131, 255));   // red sum 13, green sum 8 * 127 + 131 = 1147
    Put(img, 0, 0, RGB(200, 127, 255));
    const QImage out = Filtered(img, TypicalFilter::Smooth);
    EXPECT_EQ(At(out, 1, 1), RGB(24 /* 213 / 9 = 23.67 */, 127 /* 127.44 */, 255));
    EXPECT_EQ(At(out, 0, 0), RGB(200, 127, 255));

    QImage single = Filled(3, 3, 0);
    Put(single, 2, 2, RGB(13, 0, 0));
    EXPECT_EQ(At(Filtered(single, TypicalFilter::Smooth), 1, 1), RGB(1, 0, 0));   // 1.44
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

TEST(TypicalFilters, BatchChoice)
{
    TypicalParams p;
    QString error;
    ASSERT_TRUE(ParseTypicalParams({}, &p, &error));
    EXPECT_EQ(p.filter, TypicalFilter::Emboss);
    ASSERT_TRUE(ParseTypicalParams({{"filter", "Smooth"}}, &p, &error));
    EXPECT_EQ(p.filter, TypicalFilter::Smooth);
    EXPECT_FALSE(ParseTypicalParams({{"filter", "Blur"}}, &p, &error));
    EXPECT_EQ(error, QStringLiteral("typical: filter must be Emboss, Diffuse, Sharpen or Smooth"));
}

} // namespace
} // namespace orv
