#include "platform/color.h"
#include "platform/numbers.h"
#include "platform/random.h"
#include <gtest/gtest.h>

namespace orv {

TEST(NumberRules, ConversionRoundsHalvesToEvenAndOverflowsOutOfRange)
{
    for (auto [v, expected] : {std::pair{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {32767.4, 32767}, {-32768.0, -32768}})
        EXPECT_EQ(CInt(v), expected) << v;
    EXPECT_EQ(CLng(3.5), 4);
    EXPECT_EQ(CLng(99.6), 100);
    EXPECT_THROW(CInt(32767.5), Overflow);   // rounds to 32768
    EXPECT_THROW(CLng(3e9), Overflow);
    EXPECT_THROW(CLng(std::nan("")), Overflow);
}

TEST(NumberRules, DivisionTruncatesAndModKeepsDividendSign)
{
    EXPECT_EQ(IntDiv(-7, 2), -3);
    EXPECT_EQ(IntDiv(-1, 65536), 0);
    EXPECT_EQ(Mod(-7, 3), -1);
    EXPECT_EQ(Mod(7, -3), 1);
    EXPECT_THROW(IntDiv(1, 0), Overflow);
}

TEST(Colors, RgbCapsEachChannelAndSplitColorGivesSignedChannels)
{
    EXPECT_EQ(RGB(10, 200, 30), 10 + 256 * 200 + 65536 * 30);
    EXPECT_EQ(RGB(300, 256, 1000), 0xFFFFFF);
    const ColorParts p = SplitColor(RGB(64, 128, 255));
    EXPECT_EQ(std::tuple(p.red, p.green, p.blue), std::tuple(64, 128, 255));
    const ColorParts m = SplitColor(-1);
    EXPECT_EQ(std::tuple(m.red, m.green, m.blue), std::tuple(-1, 0, 0));
}

TEST(Colors, PixelWordHoldsColorRefWithOpaqueTop)
{
    EXPECT_EQ(ToPixel(0x123456), 0xFF123456u);
    EXPECT_EQ(FromPixel(0xFF123456u), 0x123456);
    // Byte order R, G, B, X: the buffer shows on screen as it is.
    EXPECT_EQ(NewPixelBuffer(2, 1, RGB(1, 2, 3)).pixelColor(0, 0), QColor(1, 2, 3));
}

TEST(Random, UniformSequenceIsTheSameEveryRunAndInRange)
{
    UniformGenerator a, b;
    double sum = 0;
    for (int i = 0; i < 10000; ++i) {
        const double v = a.next();
        ASSERT_EQ(v, b.next());
        ASSERT_GE(v, 0.0);
        ASSERT_LT(v, 1.0);
        sum += v;
    }
    EXPECT_NEAR(sum / 10000, 0.5, 0.02);
}

} // namespace orv
