// Wobbly, crystal shaper, waving and round wobbly against pixels worked out by hand.
#include "effects/circlize.h"
#include "effects/crystal_shaper.h"
#include "effects/grayscale.h"
#include "effects/round_wobbly.h"
#include "effects/waving.h"
#include "effects/wobbly.h"
#include "fills/video_feedback.h"
#include "tests/support/test_pictures.h"
#include <gtest/gtest.h>

namespace orv {
namespace {

using test::At;
using test::Numbered;
using test::RecordingSink;

// The colour of pixel (x, y) of a Numbered picture, which names where a pixel came from.
ColorRef From(int x, int y) { return At(Numbered(x + 1, y + 1), x, y); }

template <class Params>
QImage Applied(QImage img, std::vector<ColumnPass> (*passes)(WorkingCopy&, const Params&), const Params& p)
{
    EXPECT_TRUE(RunOnWorkingCopy(img, [&](WorkingCopy& w) { return passes(w, p); }, nullptr));
    return img;
}

// Compares every pixel with expected(x, y), the source position worked out by hand.
template <class Expected>
void ExpectPixels(const QImage& out, Expected expected)
{
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            const auto [sx, sy] = expected(x, y);
            EXPECT_EQ(At(out, x, y), From(sx, sy)) << "at " << x << ", " << y;
        }
}

using Source = std::pair<int, int>;

TEST(Wobbly, OffsetsTurnOnlyWhereTheTextIsThePlainNumber)
{
    // Only the plain number turns the wave; anything else rises without end.
    const std::vector<int> rising = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    const struct { const char* text; std::vector<int> offsets; } cases[] = {
        {"10", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 1, 2}},
        {"1", {1, 0, 1, 0, 1, 0}}, {"010", rising}, {" 10", rising}, {"+3", rising}, {"2.0", rising},
        {"0", rising}, {"-3", rising}, {"abc", rising}, {"", rising},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WobblyOffsets(QString::fromLatin1(c.text), int(c.offsets.size())), c.offsets) << c.text;
}

TEST(Wobbly, TopMovesColumnsUpAndLeftMovesRowsLeft)
{
    // Width "2": offsets 1, 2, 1, 0, 1. The cells a column or row leaves keep their pixels.
    static constexpr int o[] = {1, 2, 1, 0, 1};
    ExpectPixels(Applied(Numbered(5, 4), WobblyPasses, WobblyParams{WobblyMode::Top, "2"}),
                 [](int x, int y) { return Source{x, y + o[x] < 4 ? y + o[x] : y}; });
    ExpectPixels(Applied(Numbered(4, 5), WobblyPasses, WobblyParams{WobblyMode::Left, "2"}),
                 [](int x, int y) { return Source{x + o[y] < 4 ? x + o[y] : x, y}; });
}

TEST(Wobbly, BothMovesRowsOfTheMovedColumnsWithTheWaveRestarted)
{
    // Width "1" on 3 x 3: columns up by 1, 0, 1, then rows left by 1, 0, 1.
    const QImage out = Applied(Numbered(3, 3), WobblyPasses, WobblyParams{WobblyMode::Both, "1"});
    const Source expected[3][3] = {
        {{1, 0}, {2, 1}, {2, 1}},
        {{0, 2}, {1, 1}, {2, 2}},
        {{1, 2}, {2, 2}, {2, 2}},
    };
    ExpectPixels(out, [&](int x, int y) { return expected[y][x]; });
}

TEST(CrystalShaper, EvenWidthMirrorsSpansOf2_4_2_0_2AndLeavesLaterRows)
{
    QImage img = Numbered(4, 7);
    CrystalShape(img);
    const int a = 0, b = 1, c = 2, d = 3;
    const int rows[7][4] = {
        {a, d, b, d}, {d, c, b, a}, {a, d, b, d}, {a, b, c, d}, {a, d, b, d}, {a, b, c, d}, {a, b, c, d},
    };
    ExpectPixels(img, [&](int x, int y) { return Source{rows[y][x], y}; });
}

TEST(CrystalShaper, OddWidthKeepsWideningAndIsCutAtTheEdges)
{
    // W = 5: m = 3.5, 4.5, 5.5: spans end before columns 4, 4 and 6, 2, 4 and 6 wide.
    QImage img = Numbered(5, 3);
    CrystalShape(img);
    const int rows[3][5] = {{0, 1, 3, 1, 4}, {4, 3, 1, 0, 4}, {4, 3, 2, 2, 1}};
    ExpectPixels(img, [&](int x, int y) { return Source{rows[y][x], y}; });
}

TEST(Waving, RippleTablesAndDistances)
{
    // 8 x 6: centre (5, 4), maxR = round(sqrt(41) + 2) = 8.
    RippleTables t = MakeRippleTables(8, 6, WavingParams{0, 4});
    EXPECT_EQ(t.cx, 5);
    EXPECT_EQ(t.cy, 4);
    EXPECT_EQ(t.maxR, 8);
    // round(sin(0.4 k) x 15): 5.84, 10.76, 13.98, 14.99, 13.64, 10.13, 5.02, -0.88.
    EXPECT_EQ(t.wave, (std::vector<int16_t>{0, 6, 11, 14, 15, 14, 10, 5, -1}));
    t = MakeRippleTables(8, 6, WavingParams{2, 4});
    EXPECT_EQ(t.wave[0], -11);   // sin(-0.8) x 15 = -10.76
    EXPECT_EQ(t.wave[2], 0);     // the ring at the phase stays
    EXPECT_EQ(MakeRippleTables(8, 6, WavingParams{3, 0}).wave, std::vector<int16_t>(9, 0));

    const int distances[][3] = {{0, 0, 0}, {1, 1, 1}, {1, 2, 2}, {2, 3, 4}, {3, 4, 5}, {5, 5, 7}, {18, 1, 18}};
    for (const auto& d : distances) EXPECT_EQ(RippleDistance(d[0], d[1]), d[2]) << d[0] << ", " << d[1];
}

TEST(Waving, PhaseMaximumInHundredthsOfAMillimetreCapped)
{
    // 96 pixels are 2540 units: centre 1 + 1270 = 1271, round(1797.47 + 2) = 1799.
    EXPECT_EQ(WavingPhaseMaximum(96, 96), 1799);
    EXPECT_EQ(WavingPhaseMaximum(6000, 4000), kWavingPhaseCap);
}

TEST(Waving, PixelsComeFromTheirRowReflectedAtBothEdges)
{
    // 40 x 1, phase 4, freq 0.4: centre (21, 1), every pixel at dy = 1.
    const QImage out = Applied(Numbered(40, 1), WavingPasses, WavingParams{4, 4});
    // x = 39: d = round(sqrt(18^2 + 1)) = 18, w = round(sin(5.6) x 15) = -9, sx = 48 -> 78 - 48.
    EXPECT_EQ(At(out, 39), From(30, 0));
    // x = 0: d = 21, w = round(sin(6.8) x 15) = 7, sx = -7 -> 7.
    EXPECT_EQ(At(out, 0), From(7, 0));
    // x = 21: d = 1, w = round(sin(-1.2) x 15) = -14, sx = 35.
    EXPECT_EQ(At(out, 21), From(35, 0));

    // With freq 0.4 and phase 0, distance 4 takes its colour from 15 columns to the left.
    const QImage tall = Applied(Numbered(40, 30), WavingPasses, WavingParams{0, 4});
    EXPECT_EQ(At(tall, 25, 16), From(10, 16));   // centre (21, 16)
}

TEST(Waving, FrequencyZeroLeavesEveryPicture)
{
    for (const QSize size : {QSize(30, 7), QSize(1, 1)})
        for (int phase : {0, 1000}) {
            const QImage in = Numbered(size.width(), size.height());
            EXPECT_EQ(Applied(in, WavingPasses, WavingParams{phase, 0}), in) << phase;
        }
}

TEST(Waving, NarrowPicturesReadOnlyInsideThePicture)
{
    // 15-pixel shifts on a picture 3 wide fold back and forth until they land inside.
    const QImage out = Applied(Numbered(3, 9), WavingPasses, WavingParams{0, 4});
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(GreenOf(At(out, x, y)), y);
            EXPECT_LT(RedOf(At(out, x, y)), 3);
        }
}

// Angle 4 with strips of 2: k = pi / 4, strips at 0, 2, 4, 6 move by 0, +2, 0, -2.
TEST(RoundWobbly, ColumnStripsMoveDownAndUpRowStripsRightAndLeftKeepingWhatTheyLeave)
{
    // (along, across) to the strip: the moved strips are 2 .. 3 (by +2) and 6 .. 7 (by -2).
    const auto moved = [](int along, int across) {
        if (across == 2 || across == 3) return along >= 2 ? along - 2 : along;
        if (across == 6 || across == 7) return along + 2 < 5 ? along + 2 : along;
        return along;
    };
    ExpectPixels(Applied(Numbered(8, 5), RoundWobblyPasses, RoundWobblyParams{RoundWobblyDirection::Top, 4, 2, 2}),
                 [&](int x, int y) { return Source{x, moved(y, x)}; });
    ExpectPixels(Applied(Numbered(5, 8), RoundWobblyPasses, RoundWobblyParams{RoundWobblyDirection::Left, 4, 2, 2}),
                 [&](int x, int y) { return Source{moved(x, y), y}; });
}

TEST(RoundWobbly, RoundedStripsOverlapAndTheLaterOneWins)
{
    // Width 1.5, angle 3: strips at 0, 1.5, 3, 4.5 start at columns 0, 2, 3, 4, two columns
    // wide, and move by round(1.5 sin(pi/3 x)) = 0, 2 (1.5 to even), 0, -2. Column 3 is moved
    // down by the second strip, then put back by the third; column 4 moves up with the last.
    const QImage out = Applied(Numbered(5, 4), RoundWobblyPasses,
                               RoundWobblyParams{RoundWobblyDirection::Top, 3, 1.5, 10});
    ExpectPixels(out, [](int x, int y) {
        if (x == 2) return Source{x, y >= 2 ? y - 2 : y};
        if (x == 4) return Source{x, y < 2 ? y + 2 : y};
        return Source{x, y};
    });
}

TEST(RoundWobbly, BothMovesRowsOfTheMovedColumnsOverThePictureAsItWas)
{
    // Columns (width 2): strip 2-3 moves down by 2. Rows (height 1): row 0 stays, rows 1 and 2
    // move right by round(sin(pi / 4)) = round(sin(pi / 2)) = 1, over the unmoved picture.
    const QImage out = Applied(Numbered(4, 3), RoundWobblyPasses, RoundWobblyParams{RoundWobblyDirection::Both, 4, 2, 1});
    const Source expected[3][4] = {
        {{0, 0}, {1, 0}, {2, 0}, {3, 0}},
        {{0, 1}, {0, 1}, {1, 1}, {2, 1}},
        {{0, 2}, {0, 2}, {1, 2}, {2, 0}},
    };
    ExpectPixels(out, [&](int x, int y) { return expected[y][x]; });
}

TEST(RoundWobbly, UnusableValuesAreNamedAndLeaveTheParameters)
{
    const struct { const char* angle; const char* width; const char* height; const char* refused; } cases[] = {
        {"0", "10", "10", "angle"},  {"abc", "10", "10", "angle"},   {"180", "0", "10", "width"},
        {"180", "x", "10", "width"}, {"180", "10", "0.5", "height"},
    };
    for (const auto& c : cases) {
        RoundWobblyParams p;
        EXPECT_EQ(ReadRoundWobblyValues(c.angle, c.width, c.height, &p), QString::fromLatin1(c.refused)) << c.angle;
        EXPECT_EQ(std::tuple(p.angle, p.width, p.height), std::tuple(180.0, 10.0, 10.0));
    }
    RoundWobblyParams p;
    EXPECT_TRUE(ReadRoundWobblyValues("90", "3", "2.5", &p).isEmpty());
    EXPECT_EQ(std::tuple(p.angle, p.width, p.height), std::tuple(90.0, 3.0, 2.5));
}

TEST(RoundWobbly, StripsOfExactlyOnePixelAreTakenAndRun)
{
    // Angle 2, strips 1 wide: column x moves down by round(sin(pi / 2 x)) = 0, 1, 0, -1.
    RoundWobblyParams p;
    ASSERT_EQ(ReadRoundWobblyValues("2", "1", "1", &p), QString());
    p.direction = RoundWobblyDirection::Top;
    ExpectPixels(Applied(Numbered(4, 3), RoundWobblyPasses, p), [](int x, int y) {
        if (x == 1) return Source{x, y >= 1 ? y - 1 : y};
        if (x == 3) return Source{x, y + 1 < 3 ? y + 1 : y};
        return Source{x, y};
    });
}

TEST(EffectCancel, LeavesThePictureAndARunAfterwardsChangesIt)
{
    const QImage before = Numbered(1500, 1200);   // several bands
    const std::vector<std::function<std::vector<ColumnPass>(WorkingCopy&)>> effects = {
        [](WorkingCopy& w) { return WavingPasses(w, WavingParams{}); },
        [](WorkingCopy& w) { return RoundWobblyPasses(w, RoundWobblyParams{}); },
        [](WorkingCopy& w) { return RoundWobblyPasses(w, RoundWobblyParams{RoundWobblyDirection::Left}); },
        [](WorkingCopy& w) { return WobblyPasses(w, WobblyParams{}); },
        [](WorkingCopy& w) { return CirclizePasses(w, CirclizeParams{}); },
        [](WorkingCopy& w) { return VideoFeedbackPasses(w, VideoFeedbackParams{}); },
        [](WorkingCopy& w) { return GrayscalePasses(w); },
    };
    for (size_t i = 0; i < effects.size(); ++i) {
        QImage img = before;
        RecordingSink sink(1);
        EXPECT_FALSE(RunOnWorkingCopy(img, effects[i], &sink)) << i;
        EXPECT_EQ(img, before) << i;
        RecordingSink full;
        EXPECT_TRUE(RunOnWorkingCopy(img, effects[i], &full)) << i;
        EXPECT_NE(img, before) << i;
        EXPECT_LT(full.values.back(), 100.0f);
    }
}

} // namespace
} // namespace orv
