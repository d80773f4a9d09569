// orvane-batch reads the parameters as the dialogs read their controls: given values reach the
// kernel, and a bad one is refused with a message naming it and leaves the picture as it was.
#include "effects/effect_catalog.h"
#include "tests/support/test_pictures.h"
#include <gtest/gtest.h>

namespace orv {

TEST(BatchParameters, ValuesReachTheKernel)
{
    // Pixel (x, y) of a w x h Numbered picture comes from (sx, sy).
    const struct { const char* effect; EffectParams params; int w, h, x, y, sx, sy; } cases[] = {
        {"wobbly", {{"mode", "top"}, {"width", "2"}}, 5, 4, 1, 0, 1, 2},   // column 1 up by 2
        {"crystal-shaper", {}, 4, 7, 0, 1, 3, 1},
        {"waving", {{"phase", "4"}}, 40, 1, 39, 0, 30, 0},   // freq 4 by default
        {"round-wobbly", {{"direction", "top"}, {"angle", "4"}, {"width", "2"}}, 8, 5, 2, 4, 2, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.effect);
        QImage img = test::Numbered(c.w, c.h);
        QString error;
        ASSERT_TRUE(FindBatchEffect(QString::fromLatin1(c.effect))->run(img, c.params, nullptr, &error)) << error.toStdString();
        EXPECT_EQ(test::At(img, c.x, c.y), test::NumberedColor(c.sx, c.sy));
    }
}

TEST(BatchParameters, BadValuesAreNamedAndLeaveThePicture)
{
    const struct { const char* effect; EffectParams params; const char* message; } cases[] = {
        {"brightness", {{"value", "101"}}, "brightness: value must be an integer from -100 to 100"},
        {"brightness", {{"value", "2.5"}}, "brightness: value must be an integer from -100 to 100"},
        {"brightness", {{"level", "5"}}, "brightness: unknown parameter level"},
        {"contrast", {{"value", "-201"}}, "contrast: value must be an integer from -200 to 200"},
        {"contrast", {{"value", ""}}, "contrast: value must be an integer from -200 to 200"},
        {"invert", {{"mode", "Invert"}}, "invert: mode must be invert or separate"},
        {"invert", {{"red", "2"}}, "invert: red must be 0 or 1"},
        {"typical", {{"filter", "Blur"}}, "typical: filter must be Emboss, Diffuse, Sharpen or Smooth"},
        {"stained-glass", {{"height", "0"}}, "stained-glass: height must be a number greater than 0"},
        {"stained-glass", {{"width", "0.5"}}, "stained-glass: width must be a number greater than 0"},
        {"circlize", {{"ystep", "0"}}, "circlize: ystep must be a number of at least 0.01"},
        {"circlize", {{"xstep", "abc"}}, "circlize: xstep must be a number of at least 0.01"},
        {"circlize", {{"radius", "-1"}}, "circlize: radius must be a number of 0 or more"},
        {"round-wobbly", {{"angle", "0"}}, "round-wobbly: angle must be a number other than 0"},
        {"round-wobbly", {{"width", "0"}}, "round-wobbly: width must be a number of 1 or more"},
        {"round-wobbly", {{"height", "-2"}}, "round-wobbly: height must be a number of 1 or more"},
        {"round-wobbly", {{"direction", "up"}}, "round-wobbly: direction must be top, left or both"},
        {"waving", {{"freq", "11"}}, "waving: freq must be an integer from 0 to 10"},
        {"waving", {{"phase", "-1"}}, "waving: phase must be an integer from 0 to 32767"},
        {"wobbly", {{"mode", "right"}}, "wobbly: mode must be top, left or both"},
    };
    const QImage before = test::Numbered(6, 6);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const BatchEffect* effect = FindBatchEffect(QString::fromLatin1(c.effect));
        ASSERT_NE(effect, nullptr);
        QString checked, ran;
        EXPECT_FALSE(effect->check(c.params, &checked));
        QImage img = before;
        EXPECT_FALSE(effect->run(img, c.params, nullptr, &ran));
        EXPECT_EQ(checked, QString::fromLatin1(c.message));
        EXPECT_EQ(ran, QString::fromLatin1(c.message));
        EXPECT_EQ(img, before);
    }
}

} // namespace orv
