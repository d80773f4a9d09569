// Picture roll and tornado against pixels worked out by hand on small pictures, and the values
// that plasma, roll and tornado refuse.
#include "effects/picture_roll.h"
#include "effects/tornado.h"
#include "fills/plasma.h"
#include "tests/support/test_pictures.h"
#include <gtest/gtest.h>

namespace orv {

namespace {

template <class Params>
QImage Applied(QImage image, std::vector<ColumnPass> (*passes)(WorkingCopy&, const Params&), const Params& p)
{
    EXPECT_TRUE(RunOnWorkingCopy(image, [&](WorkingCopy& work) { return passes(work, p); }, nullptr));
    return image;
}

// Pixel (x, y) = RGB(50 x, 50 y, 0).
QImage Steps(int w, int h)
{
    QImage img = NewPixelBuffer(w, h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) test::Put(img, x, y, RGB(50 * x, 50 * y, 0));
    return img;
}

} // namespace

TEST(PictureRoll, WrapsBothWaysAndNegativeAmountsGoBack)
{
    const QImage in = test::Numbered(3, 2);
    const QImage rolled = Applied(in, RollPasses, RollParams{1, 1});
    // Pixel (x, y) comes from ((x - 1) mod 3, (y - 1) mod 2).
    const int from[2][3][2] = {{{2, 1}, {0, 1}, {1, 1}}, {{2, 0}, {0, 0}, {1, 0}}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(test::At(rolled, x, y), test::At(in, from[y][x][0], from[y][x][1])) << x << "," << y;
    EXPECT_EQ(Applied(in, RollPasses, RollParams{-2, 5}), rolled);
    EXPECT_EQ(Applied(in, RollPasses, RollParams{3, -2}), in);
}

TEST(Tornado, TurnsAboutTheCentreWithinTheRadiusOnly)
{
    const QImage in = Steps(7, 5);   // centre (3, 2)
    const QImage out = Applied(in, TornadoPasses, TornadoParams{90, 3});
    EXPECT_EQ(test::At(out, 3, 2), test::At(in, 3, 2));
    EXPECT_EQ(test::At(out, 0, 0), test::At(in, 0, 0));   // 3.6 from the centre
    // (4, 2): d = 1, turned by 90 (2/3)^2 = 40 degrees to (3 + cos 40, 2 + sin 40) =
    // (3.766, 2.643): weights 196 and 165 of 256, so red 150 + 50 x 196 / 256 = 188.3 and green
    // 100 + 50 x 165 / 256 = 132.2.
    EXPECT_EQ(test::At(out, 4, 2), RGB(188, 132, 0));
}

TEST(NewEffects, RefuseValuesThatAreNoNumbersOrOutOfRange)
{
    int v = 0;
    double d = 0;
    EXPECT_TRUE(PlasmaValueFromText(QStringLiteral("12"), 100, &v) && v == 12);
    for (const char* text : {"abc", "", "-1", "101", "2.5"})
        EXPECT_FALSE(PlasmaValueFromText(QString::fromLatin1(text), 100, &v)) << text;
    EXPECT_TRUE(TornadoAngleFromText(QStringLiteral("-3600"), &d));
    EXPECT_FALSE(TornadoAngleFromText(QStringLiteral("3600.5"), &d));
    EXPECT_FALSE(TornadoAngleFromText(QStringLiteral("left"), &d));
    EXPECT_FALSE(TornadoRadiusFromText(QStringLiteral("0"), &d));
    EXPECT_FALSE(TornadoRadiusFromText(QStringLiteral("40000"), &d));
    const std::tuple<bool (*)(const EffectParams&, QString*), EffectParams, const char*> refused[] = {
        {[](const EffectParams& p, QString* e) { PlasmaParams o; return ParsePlasmaParams(p, &o, e); },
         {{"seed", "-1"}}, "plasma: seed must be an integer from 0 to 999999999"},
        {[](const EffectParams& p, QString* e) { PlasmaParams o; return ParsePlasmaParams(p, &o, e); },
         {{"turbulence", "x"}}, "plasma: turbulence must be an integer from 0 to 100"},
        {[](const EffectParams& p, QString* e) { RollParams o; return ParseRollParams(p, &o, e); },
         {{"y", "32769"}}, "roll: y must be an integer from -32768 to 32768"},
        {[](const EffectParams& p, QString* e) { TornadoParams o; return ParseTornadoParams(p, &o, e); },
         {{"radius", "0"}}, "tornado: radius must be a number above 0 and at most 32768"},
        {[](const EffectParams& p, QString* e) { TornadoParams o; return ParseTornadoParams(p, &o, e); },
         {{"angle", "abc"}}, "tornado: angle must be a number from -3600 to 3600"},
    };
    for (const auto& [parse, params, message] : refused) {
        QString error;
        EXPECT_FALSE(parse(params, &error));
        EXPECT_EQ(error, QString::fromLatin1(message));
    }
}

} // namespace orv
