// The SIMD row kernels with every instruction set this processor runs, and whole effects on
// pictures of several bands, against plain per-pixel code written from each effect's rule.
#include "effects/brightness.h"
#include "effects/contrast.h"
#include "effects/flip.h"
#include "effects/grayscale.h"
#include "effects/pixel_kernels.h"
#include "effects/rotate90.h"
#include "effects/stained_glass.h"
#include "effects/typical.h"
#include "tests/support/kernel_targets.h"
#include "tests/support/test_pictures.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

namespace orv {
namespace {

using Row = std::vector<uint32_t>;

using test::ForEachKernelTarget;

// Row lengths around every vector width (4 to 16 words) and their tails.
const int kWidths[] = {1, 3, 4, 5, 8, 9, 15, 16, 17, 31, 33, 65, 131};

Row RandomRow(std::mt19937& rng, int n)
{
    Row row(static_cast<size_t>(n));
    for (uint32_t& p : row) p = rng();
    return row;
}

int Ch(uint32_t p, int c) { return static_cast<int>((p >> (8 * c)) & 0xFFu); }

// Red, green and blue from f(channel index, channel of a, channel of b), top byte 0xFF.
template <class F>
uint32_t Channels(uint32_t a, uint32_t b, F f)
{
    uint32_t out = 0xFF000000u;
    for (int c = 0; c < 3; ++c) out |= static_cast<uint32_t>(f(Ch(a, c), Ch(b, c))) << (8 * c);
    return out;
}

TEST(PixelKernels, PerPixelMapsMatchTheirRules)
{
    std::mt19937 rng(7);
    // Contrast with value 30 on a picture whose brightest average is 200: u * 230 / 200 + 13.
    const kernels::LineTable line = ContrastChannels(200, 30);
    const auto contrast = [](int u, int) { return static_cast<int>(std::nearbyint(std::clamp(u * 1.15 + 13, 0.0, 255.0))); };
    struct Case {
        const char* name;
        std::function<void(const uint32_t*, uint32_t*, size_t)> kernel;
        std::function<uint32_t(uint32_t)> rule;
    };
    const Case cases[] = {
        {"invert", [](const uint32_t* i, uint32_t* o, size_t n) { kernels::MaskRow(i, o, n, 0xFFFFFFu, ~0u, 0); },
         [](uint32_t p) { return p ^ 0xFFFFFFu; }},
        {"invert red", [](const uint32_t* i, uint32_t* o, size_t n) { kernels::MaskRow(i, o, n, ~0u, 0xFFu, 0xFF000000u); },
         [](uint32_t p) { return 0xFF000000u | (255 - Ch(p, 0)); }},
        {"brighter by 30", [](const uint32_t* i, uint32_t* o, size_t n) { kernels::AddToChannelsRow(i, o, n, 30, true); },
         [](uint32_t p) { return (p & 0xFF000000u) | (Channels(p, 0, [](int a, int) { return std::min(255, a + 30); }) & 0xFFFFFFu); }},
        {"darker by 100", [](const uint32_t* i, uint32_t* o, size_t n) { kernels::AddToChannelsRow(i, o, n, 100, false); },
         [](uint32_t p) { return (p & 0xFF000000u) | (Channels(p, 0, [](int a, int) { return std::max(0, a - 100); }) & 0xFFFFFFu); }},
        {"contrast", [&](const uint32_t* i, uint32_t* o, size_t n) { kernels::LineTableRow(i, o, n, line); },
         [&](uint32_t p) { return Channels(p, 0, contrast); }},
        {"gray", kernels::GrayRow,
         [](uint32_t p) {
             const auto g = static_cast<uint32_t>(std::nearbyint(Ch(p, 1) * 150.0 / 255 + Ch(p, 0) * 76.0 / 255 + Ch(p, 2) * 28.0 / 255));
             return 0xFF000000u | g * 0x010101u;
         }},
    };
    ForEachKernelTarget([&] {
        for (const Case& c : cases) {
            for (const int n : kWidths) {
                const Row in = RandomRow(rng, n);
                Row expected(in.size());
                std::transform(in.begin(), in.end(), expected.begin(), c.rule);
                Row out(in.size(), 0x12345678u);
                c.kernel(in.data(), out.data(), in.size());
                EXPECT_EQ(out, expected) << c.name << ", " << n << " pixels";
                Row inPlace = in;
                c.kernel(inPlace.data(), inPlace.data(), inPlace.size());
                EXPECT_EQ(inPlace, expected) << c.name << " in place, " << n << " pixels";
            }
        }
    });
}

// Every channel value for every scroll-bar value and brightest average against the rule
// u * k / M + (256 - k) / 2 with k = value + 200, held to 0..255 and rounded halves to even
// (M = 0 leaves the channels as they are). Halves occur, e.g. 27.5 for u = 0, value 1.
TEST(PixelKernels, ContrastSendsEveryChannelValueWhereTheRuleDoes)
{
    Row in(256);
    for (uint32_t u = 0; u < 256; ++u) in[u] = u | (255 - u) << 8 | ((u * 77 + 5) & 0xFFu) << 16 | (u * 3) << 24;
    ForEachKernelTarget([&] {
        Row out(in.size()), expected(in.size());
        for (int m = 0; m <= 255; ++m) {
            for (int value = -200; value <= 200; ++value) {
                const double k = value + 200;
                const auto rule = [&](int u, int) {
                    return m == 0 ? u : static_cast<int>(std::nearbyint(std::clamp(u * (k / m) + (256 - k) / 2, 0.0, 255.0)));
                };
                std::transform(in.begin(), in.end(), expected.begin(), [&](uint32_t p) { return Channels(p, 0, rule); });
                kernels::LineTableRow(in.data(), out.data(), in.size(), ContrastChannels(m, value));
                ASSERT_EQ(out, expected) << "M " << m << ", value " << value;
            }
        }
    });
}

TEST(PixelKernels, NeighbourFiltersMatchTheirRules)
{
    std::mt19937 rng(11);
    const auto emboss = [](int a, int b) { return std::min(255, std::abs(a - b + 128)); };
    const auto sharpen = [](int a, int b) { return std::clamp(static_cast<int>(std::nearbyint((3 * a - b) / 2.0)), 0, 255); };
    ForEachKernelTarget([&] {
        for (const int n : kWidths) {
            // Three rows with one pixel more on each side, as the smoothing reads them.
            const Row r0 = RandomRow(rng, n + 2), r1 = RandomRow(rng, n + 2), r2 = RandomRow(rng, n + 2);
            Row e(static_cast<size_t>(n)), s(e.size()), m(e.size());
            for (int i = 0; i < n; ++i) {
                e[i] = Channels(r1[i + 1], r2[i + 2], emboss);
                s[i] = Channels(r1[i + 1], r0[i], sharpen);
                uint32_t avg = 0xFF000000u;
                for (int c = 0; c < 3; ++c) {
                    int sum = 0;
                    for (const Row* r : {&r0, &r1, &r2})
                        for (int dx = 0; dx < 3; ++dx) sum += Ch((*r)[i + dx], c);
                    avg |= static_cast<uint32_t>(std::nearbyint(sum / 9.0)) << (8 * c);
                }
                m[i] = avg;
            }
            Row out(e.size());
            kernels::EmbossRow(r1.data() + 1, r2.data() + 2, out.data(), out.size());
            EXPECT_EQ(out, e) << "emboss, " << n << " pixels";
            kernels::SharpenRow(r1.data() + 1, r0.data(), out.data(), out.size());
            EXPECT_EQ(out, s) << "sharpen, " << n << " pixels";
            kernels::SmoothRow(r0.data() + 1, r1.data() + 1, r2.data() + 1, out.data(), out.size());
            EXPECT_EQ(out, m) << "smooth, " << n << " pixels";
        }
    });
}

// Pixels worked out by hand, put at every place of a 37-pixel row (last place: a tail).
TEST(PixelKernels, HandWorkedPixelsAtEveryPlace)
{
    struct Case {
        const char* name;
        uint32_t a, b, expected;
        void (*kernel)(const uint32_t*, const uint32_t*, uint32_t*, size_t);
    };
    const Case cases[] = {
        // |10 - 250 + 128| = 112; 200 - 0 + 128 = 328 held to 255; 128 - 128 + 128 = 128
        {"emboss", ToPixel(RGB(10, 200, 128)), ToPixel(RGB(250, 0, 128)), ToPixel(RGB(112, 255, 128)), kernels::EmbossRow},
        // |0 - 255 + 128| = 127; 255 - 0 + 128 held; 127 - 255 + 128 = 0
        {"emboss low", ToPixel(RGB(0, 255, 127)), ToPixel(RGB(255, 0, 255)), ToPixel(RGB(127, 255, 0)), kernels::EmbossRow},
        // (300 - 51) / 2 = 124.5 -> 124; (0 - 255) / 2 -> 0; 765 / 2 -> 255
        {"sharpen", ToPixel(RGB(100, 0, 255)), ToPixel(RGB(51, 255, 0)), ToPixel(RGB(124, 0, 255)), kernels::SharpenRow},
        // 9 / 2 = 4.5 -> 4; 15 / 2 = 7.5 -> 8; (30 - 1) / 2 = 14.5 -> 14
        {"sharpen halves", ToPixel(RGB(3, 5, 10)), ToPixel(RGB(0, 0, 1)), ToPixel(RGB(4, 8, 14)), kernels::SharpenRow},
    };
    ForEachKernelTarget([&] {
        for (const Case& c : cases) {
            for (int at = 0; at < 37; ++at) {
                Row a(37, ToPixel(RGB(7, 7, 7))), b(37, ToPixel(RGB(7, 7, 7))), out(37);
                a[at] = c.a;
                b[at] = c.b;
                c.kernel(a.data(), b.data(), out.data(), out.size());
                EXPECT_EQ(out[at], c.expected) << c.name << " at " << at;
            }
        }
    });
}

TEST(PixelKernels, RowMovesAndGreatestSum)
{
    std::mt19937 rng(5);
    ForEachKernelTarget([&] {
        for (const int n : kWidths) {
            const Row in = RandomRow(rng, n);
            Row reversed = in;
            kernels::ReverseRow(reversed.data(), reversed.size());
            EXPECT_TRUE(std::equal(reversed.begin(), reversed.end(), in.rbegin())) << n;

            Row a = in, b = RandomRow(rng, n);
            const Row b0 = b;
            kernels::SwapRows(a.data(), b.data(), a.size());
            EXPECT_EQ(a, b0);
            EXPECT_EQ(b, in);

            std::vector<int32_t> index(in.size());
            for (int32_t& i : index) i = static_cast<int32_t>(rng() % static_cast<uint32_t>(n));
            Row gathered(in.size());
            kernels::GatherRow(in.data(), index.data(), gathered.data(), gathered.size());
            for (int i = 0; i < n; ++i) EXPECT_EQ(gathered[i], in[index[i]]);

            uint32_t best = 0;
            for (uint32_t p : in) best = std::max<uint32_t>(best, Ch(p, 0) + Ch(p, 1) + Ch(p, 2));
            EXPECT_EQ(kernels::GreatestChannelSumRow(in.data(), in.size()), best) << n;
        }
        EXPECT_EQ(kernels::GreatestChannelSumRow(nullptr, 0), 0u);
    });
}

// Slots of 16 pixels: pixel p of slot s is 100 s + p to begin with.
TEST(PixelKernels, SlotCopiesAndTurns)
{
    constexpr size_t kSlot = kernels::kSlotPixels;
    ForEachKernelTarget([&] {
        for (const auto& [first, last] : {std::pair<size_t, size_t>{3, 11}, {0, 16}, {15, 16}, {0, 1}, {5, 6}}) {
            for (const bool lastFirst : {true, false}) {
                std::vector<uint32_t> store(3 * kSlot);
                for (size_t i = 0; i < store.size(); ++i) store[i] = static_cast<uint32_t>(i / kSlot * 100 + i % kSlot);
                // Slot 1 takes slot 0's pixels and slot 2 slot 1's: with the last row first,
                // slot 2 gets slot 1's own pixels, else those it has just taken from slot 0.
                const int32_t to[] = {1, 2}, from[] = {0, 1};
                kernels::CopySlotPixels(store.data(), to, from, 2, lastFirst, first, last);
                for (size_t p = 0; p < kSlot; ++p) {
                    const bool copied = p >= first && p < last;
                    EXPECT_EQ(store[p], p);
                    EXPECT_EQ(store[kSlot + p], copied ? p : 100 + p) << p;
                    EXPECT_EQ(store[2 * kSlot + p], copied ? (lastFirst ? 100 + p : p) : 200 + p) << p;
                }
            }
        }
        // Pixel k of line i is 1000 i + k; 9 stands for pixels that must stay as they are.
        for (const size_t count : {1, 3, 4, 5, 16})
            for (const size_t width : {1, 3, 4, 7, 17}) {
                std::vector<Row> lines(count, Row(width + 1, 9));
                std::vector<uint32_t*> linePointers;
                for (size_t i = 0; i < count; ++i) {
                    for (size_t k = 0; k < width; ++k) lines[i][k] = static_cast<uint32_t>(1000 * i + k);
                    linePointers.push_back(lines[i].data());
                }
                std::vector<uint32_t> store(width * kSlot, 9);
                kernels::LinesToSlots(linePointers.data(), count, width, store.data());
                for (size_t k = 0; k < width; ++k)
                    for (size_t i = 0; i < kSlot; ++i) EXPECT_EQ(store[k * kSlot + i], i < count ? 1000 * i + k : 9);
                // Back through the slots in reverse order: each line comes out reversed.
                std::vector<int32_t> slotOf(width);
                for (size_t k = 0; k < width; ++k) slotOf[k] = static_cast<int32_t>(width - 1 - k);
                kernels::SlotsToLines(store.data(), slotOf.data(), width, linePointers.data(), count);
                for (size_t i = 0; i < count; ++i) {
                    for (size_t k = 0; k < width; ++k) EXPECT_EQ(lines[i][k], 1000 * i + width - 1 - k);
                    EXPECT_EQ(lines[i][width], 9u);
                }
            }
    });
}

uint32_t Px(const QImage& img, int x, int y) { return reinterpret_cast<const uint32_t*>(img.constScanLine(y))[x]; }

QImage Applied(QImage img, const std::function<std::vector<ColumnPass>(WorkingCopy&)>& passes)
{
    EXPECT_TRUE(RunOnWorkingCopy(img, passes, nullptr));
    return img;
}

// Every pixel of the result against the rule, on a picture of random colours big enough that
// its rows are run in several bands (the turn also on several threads).
TEST(PixelKernels, WholeEffectsOnLargePictures)
{
    std::mt19937 rng(3);
    const int w = 601, h = 437;
    QImage src = NewPixelBuffer(w, h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) test::Put(src, x, y, static_cast<ColorRef>(rng() & 0xFFFFFFu));
    const auto p = [&](int x, int y) { return Px(src, x, y); };
    // Stained glass with cells of 2.5: cells start at round(2.5 k) and cover round(2.5 k) and
    // round(2.5 k + 1), halves to even, so round(2.5) = 2 and round(3.5) = 4 leave position 3
    // in no cell (-1): it keeps its own pixel.
    std::vector<int> start(static_cast<size_t>(w), -1);
    for (int k = 0; 2.5 * k <= w - 1; ++k)
        for (const double at : {std::nearbyint(2.5 * k), std::nearbyint(2.5 * k + 1)})
            if (at < w) start[static_cast<size_t>(at)] = int(std::nearbyint(2.5 * k));
    ASSERT_EQ(start[3], -1);
    ASSERT_EQ(start[4], 2);
    struct Case { const char* name; std::function<QImage()> run; std::function<uint32_t(int x, int y)> rule; };
    const Case cases[] = {
        {"brightness -40", [&] { return Applied(src, [](WorkingCopy& wc) { return BrightnessPasses(wc, BrightnessParams{-40}); }); },
         [&](int x, int y) { return Channels(p(x, y), 0, [](int a, int) { return std::max(0, a - 40); }); }},
        {"sharpen", [&] { return Applied(src, [](WorkingCopy& wc) { return TypicalPasses(wc, TypicalParams{TypicalFilter::Sharpen}); }); },
         [&](int x, int y) {
             if (x == 0 || y == 0 || x == w - 1 || y == h - 1) return p(x, y);
             return Channels(p(x, y), p(x - 1, y - 1), [](int a, int b) {
                 return std::clamp(static_cast<int>(std::nearbyint((3 * a - b) / 2.0)), 0, 255);
             });
         }},
        {"emboss", [&] { return Applied(src, [](WorkingCopy& wc) { return TypicalPasses(wc, TypicalParams{TypicalFilter::Emboss}); }); },
         [&](int x, int y) {
             if (x == w - 1 || y == h - 1) return ToPixel(RGB(128, 128, 128));
             return Channels(p(x, y), p(x + 1, y + 1), [](int a, int b) { return std::min(255, std::abs(a - b + 128)); });
         }},
        {"stained glass", [&] { return Applied(src, [](WorkingCopy& wc) { return StainedGlassPasses(wc, StainedGlassParams{2.5, 2.5}); }); },
         [&](int x, int y) { return start[x] < 0 || start[y] < 0 ? p(x, y) : p(start[x], start[y]); }},
        // The quarter turn: (x, y) lands at (h - 1 - y, x).
        {"rotate", [&] { return Applied(src, Rotate90Passes); }, [&](int x, int y) { return p(y, h - 1 - x); }},
        {"flips", [&] { QImage img = src.copy(); FlipHorizontal(img); FlipVertical(img); return img; },
         [&](int x, int y) { return p(w - 1 - x, h - 1 - y); }},
    };
    ForEachKernelTarget([&] {
        for (const Case& c : cases) {
            const QImage out = c.run();
            ASSERT_EQ(out.size(), c.name == std::string("rotate") ? QSize(h, w) : QSize(w, h));
            for (int y = 0; y < out.height(); ++y)
                for (int x = 0; x < out.width(); ++x) ASSERT_EQ(Px(out, x, y), c.rule(x, y)) << c.name << " " << x << "," << y;
        }
    });
}

} // namespace
} // namespace orv
