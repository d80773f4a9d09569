#include "platform/color.h"
#include "platform/numbers.h"
#include "platform/random.h"
#include <gtest/gtest.h>

namespace orv {

TEST(NumberRules, ConversionRoundsHalvesToEven)
{
    EXPECT_EQ(CInt(0.5), 0);
    EXPECT_EQ(CInt(1.5), 2);
    EXPECT_EQ(CInt(2.5), 2);
    EXPECT_EQ(CInt(-0.5), 0);
    EXPECT_EQ(CInt(-1.5), -2);
    EXPECT_EQ(CInt(2.4999), 2);
    EXPECT_EQ(CLng(3.5), 4);
    EXPECT_EQ(CLng(99.6), 100);
    // Radius rule of the ellipse box: W = 5 gives 2, W = 7 gives 4.
    EXPECT_EQ(CInt(5 / 2.0), 2);
    EXPECT_EQ(CInt(7 / 2.0), 4);
}

TEST(NumberRules, ConversionOutOfRangeOverflows)
{
    EXPECT_EQ(CInt(32767.4), 32767);
    EXPECT_EQ(CInt(-32768.0), -32768);
    EXPECT_THROW(CInt(32767.5), Overflow);   // rounds to 32768
    EXPECT_THROW(CInt(1e9), Overflow);
    EXPECT_THROW(CLng(3e9), Overflow);
    EXPECT_THROW(CLng(std::nan("")), Overflow);
}

TEST(NumberRules, DivisionTruncatesAndModKeepsDividendSign)
{
    EXPECT_EQ(IntDiv(7, 2), 3);
    EXPECT_EQ(IntDiv(-7, 2), -3);
    EXPECT_EQ(IntDiv(-1, 65536), 0);
    EXPECT_EQ(Mod(-7, 3), -1);
    EXPECT_EQ(Mod(7, -3), 1);
    EXPECT_EQ(Mod(-1, 256), -1);
    EXPECT_THROW(IntDiv(1, 0), Overflow);
}

TEST(Colors, RgbCapsEachChannel)
{
    EXPECT_EQ(RGB(255, 0, 0), 0x0000FF);
    EXPECT_EQ(RGB(0, 0, 255), 0xFF0000);
    EXPECT_EQ(RGB(300, 256, 1000), 0xFFFFFF);
    EXPECT_EQ(RGB(10, 200, 30), 10 + 256 * 200 + 65536 * 30);
}

TEST(Colors, SplitColorGivesSignedChannels)
{
    const ColorParts p = SplitColor(RGB(64, 128, 255));
    EXPECT_EQ(p.red, 64);
    EXPECT_EQ(p.green, 128);
    EXPECT_EQ(p.blue, 255);
    const ColorParts m = SplitColor(-1);
    EXPECT_EQ(m.red, -1);
    EXPECT_EQ(m.green, 0);
    EXPECT_EQ(m.blue, 0);
    for (ColorRef c : {0, 0xFFFFFF, 0x123456, 0x00FF00}) {
        const ColorParts q = SplitColor(c);
        EXPECT_EQ(RGB(q.red, q.green, q.blue), c);
    }
}

TEST(Colors, PixelWordHoldsColorRefWithOpaqueTop)
{
    EXPECT_EQ(ToPixel(0x123456), 0xFF123456u);
    EXPECT_EQ(FromPixel(0xFF123456u), 0x123456);
    QImage img = NewPixelBuffer(2, 1, RGB(1, 2, 3));
    // Byte order R, G, B, X: the buffer shows on screen as it is.
    EXPECT_EQ(img.pixelColor(0, 0), QColor(1, 2, 3));
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
