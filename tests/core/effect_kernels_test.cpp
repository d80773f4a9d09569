// Invert / colour separation, brightness and contrast, run as the editor runs them.
#include "effects/brightness.h"
#include "effects/contrast.h"
#include "effects/invert.h"
#include "tests/support/test_pictures.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>

namespace orv {
namespace {

using test::At;
using test::RecordingSink;
QImage Picture(const std::vector<ColorRef>& pixels) { return test::Rows({pixels}); }

template <class Params>
bool RunEffect(QImage& img, std::vector<ColumnPass> (*passes)(WorkingCopy&, const Params&),
         const Params& p, ProgressSink* sink = nullptr)
{
    return RunOnWorkingCopy(img, [&](WorkingCopy& w) { return passes(w, p); }, sink);
}

TEST(InvertEffect, InvertAndSeparationOfTheTickedChannels)
{
    // Invert gives 255 - v on ticked channels and 0 on the others, separation keeps the ticked
    // ones and zeroes the others; every pixel stays opaque.
    const QImage src = Picture({0xFFFFFF, 0x000000, RGB(10, 200, 30)});
    const auto I = InvertMode::Invert, S = InvertMode::ColorSeparation;
    const struct { InvertMode mode; bool r, g, b; ColorRef expected[3]; } cases[] = {
        {I, 1, 1, 1, {0, 0xFFFFFF, RGB(245, 55, 225)}},      {S, 1, 1, 1, {0, 0xFFFFFF, RGB(245, 55, 225)}},
        {S, 0, 1, 1, {RGB(0, 255, 255), 0, RGB(0, 200, 30)}}, {I, 1, 0, 0, {0, RGB(255, 0, 0), RGB(245, 0, 0)}},
        {S, 0, 0, 0, {0, 0, 0}},                              {I, 0, 0, 0, {0, 0, 0}},
    };
    for (const auto& k : cases) {
        QImage out = src;
        ASSERT_TRUE(RunEffect(out, InvertPasses, InvertParams{k.mode, k.r, k.g, k.b}));
        for (int x = 0; x < 3; ++x) EXPECT_EQ(At(out, x), k.expected[x]) << int(k.mode) << k.r << k.g << k.b << " at " << x;
        EXPECT_EQ(reinterpret_cast<const uint32_t*>(out.constScanLine(0))[1] >> 24, 0xFFu);
    }
}

TEST(InvertEffect, AllChannelsIsOneWholePassWithoutProgressOrCancel)
{
    QImage img = Picture({RGB(1, 2, 3)});
    RecordingSink sink(1);
    EXPECT_TRUE(RunEffect(img, InvertPasses, InvertParams{}, &sink));
    EXPECT_TRUE(sink.values.empty());
    EXPECT_EQ(At(img, 0), RGB(254, 253, 252));
}

TEST(BrightnessEffect, AddsAndHoldsChannelsInRange)
{
    const struct { int value; std::vector<ColorRef> in, out; } cases[] = {
        {100, {RGB(200, 100, 10), RGB(0, 128, 255)}, {RGB(255, 200, 110), RGB(100, 228, 255)}},
        {-100, {RGB(200, 100, 10), RGB(0, 128, 255)}, {RGB(100, 0, 0), RGB(0, 28, 155)}},
        {0, {RGB(200, 100, 10), RGB(0, 128, 255)}, {RGB(200, 100, 10), RGB(0, 128, 255)}},
        {100, {RGB(200, 100, 10)}, {RGB(255, 200, 110)}},   // a one-pixel picture
    };
    for (const auto& k : cases) {
        QImage img = Picture(k.in);
        ASSERT_TRUE(RunEffect(img, BrightnessPasses, BrightnessParams{k.value}));
        EXPECT_EQ(img, Picture(k.out)) << k.value << ", " << k.in.size() << " pixels";
    }
}

TEST(ContrastEffect, ScalesFromTheBrightestAverage)
{
    const struct { const char* why; int value; std::vector<ColorRef> in, out; } cases[] = {
        {"the lowest value turns everything grey", -200, {0xFFFFFF, RGB(10, 200, 30), 0}, {RGB(128, 128, 128), RGB(128, 128, 128), RGB(128, 128, 128)}},
        // Brightest average (128 + 128 + 129) \ 3 = 128; v = 56: k = 256, scale 2, offset 0.
        {"scale 2", 56, {RGB(100, 50, 200), RGB(128, 128, 129), RGB(0, 1, 127)}, {RGB(200, 100, 255), 0xFFFFFF, RGB(0, 2, 254)}},
        {"a one-pixel picture", -200, {RGB(200, 100, 10)}, {RGB(128, 128, 128)}},
        // Every average is 0 (2 \ 3 = 0): there is no scale and the picture stays as it is.
        {"all black", 200, {0, RGB(2, 0, 0), 0}, {0, RGB(2, 0, 0), 0}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.why);
        QImage img = Picture(k.in);
        ASSERT_TRUE(RunEffect(img, ContrastPasses, ContrastParams{k.value}));
        EXPECT_EQ(img, Picture(k.out));
    }
}

TEST(ContrastEffect, TheBrightestPixelCountsInWhicheverBandItLies)
{
    // 1000 x 600 grey 100 runs in several bands; v = 55: k = 255, offset 0.5. With white in the
    // first row M = 255: 100 -> 100.5 -> 100 (even). With (200, 200, 200) in the last row and
    // no white M = 200: 100 * 255 / 200 + 0.5 = 128 -> 128, and 200 -> 255.5 -> held to 255.
    const struct { const char* why; int y; ColorRef brightest; ColorRef grey; } cases[] = {
        {"white in the first band", 0, 0xFFFFFF, RGB(100, 100, 100)},
        {"the brightest in the last band", 599, RGB(200, 200, 200), RGB(128, 128, 128)},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.why);
        QImage img = NewPixelBuffer(1000, 600, RGB(100, 100, 100));
        test::Put(img, 999, k.y, k.brightest);
        test::RecordingSink sink;
        ASSERT_TRUE(RunEffect(img, ContrastPasses, ContrastParams{55}, &sink));
        ASSERT_GE(sink.values.size(), 4u);   // two bands or more in each pass
        EXPECT_EQ(At(img, 0, 0), k.grey);
        EXPECT_EQ(At(img, 500, 599), k.grey);
        EXPECT_EQ(At(img, 999, k.y), 0xFFFFFF);
    }
}

TEST(EffectRuns, ProgressFollowsTheBands)
{
    // 4096 rows make a first band of 64 columns (ending at column 63); later bands may be
    // wider. Each value is from + x * span / W for the band's last column x, rising, and each
    // pass ends on its last column: 199 * 50 / 200 = 49.75 and 50 + 49.75 = 99.75.
    const int h = 4096;
    ASSERT_EQ(BandWidth(h), 64);
    QImage img = NewPixelBuffer(200, h, RGB(10, 20, 30));
    RecordingSink contrast;
    ASSERT_TRUE(RunEffect(img, ContrastPasses, ContrastParams{}, &contrast));
    ASSERT_GE(contrast.values.size(), 2u);
    EXPECT_EQ(contrast.values.front(), 15.75f);
    const auto split = std::find(contrast.values.begin(), contrast.values.end(), 49.75f);
    ASSERT_NE(split, contrast.values.end());
    EXPECT_EQ(*(split + 1), 65.75f);   // the writing pass starts again with a first band
    EXPECT_EQ(contrast.values.back(), 99.75f);
    for (size_t i = 1; i < contrast.values.size(); ++i) {
        EXPECT_LT(contrast.values[i - 1], contrast.values[i]);
        const float x = std::fmod(contrast.values[i], 50.0f) * 200.0f / 50.0f;
        EXPECT_EQ(x, std::floor(x)) << "not the value of a whole column";
    }

    RecordingSink brightness;
    ASSERT_TRUE(RunEffect(img, BrightnessPasses, BrightnessParams{1}, &brightness));
    EXPECT_EQ(brightness.values.front(), 31.5f);
    EXPECT_EQ(brightness.values.back(), 99.5f);
}

TEST(EffectRuns, CancelLeavesThePictureAndALaterRunCoversAllColumns)
{
    const QImage src = NewPixelBuffer(200, 4096, RGB(100, 50, 200));
    QImage img = src;
    RecordingSink cancelFirst(1);
    EXPECT_FALSE(RunEffect(img, BrightnessPasses, BrightnessParams{10}, &cancelFirst));
    EXPECT_EQ(img, src);

    RecordingSink cancelSecondPass(5);   // first band of the writing pass
    EXPECT_FALSE(RunEffect(img, ContrastPasses, ContrastParams{}, &cancelSecondPass));
    EXPECT_EQ(img, src);

    RecordingSink noCancel;
    ASSERT_TRUE(RunEffect(img, BrightnessPasses, BrightnessParams{10}, &noCancel));
    EXPECT_EQ(img, NewPixelBuffer(200, 4096, RGB(110, 60, 210)));
}

} // namespace
} // namespace orv
