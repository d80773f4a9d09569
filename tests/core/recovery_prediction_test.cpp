// The prediction of recovery copies with every SIMD instruction set this processor runs,
// against plain per-pixel loops, byte for byte: rows around every vector width and their
// tails, with and without a row above, the planes' bytes past the row left alone.
#include "documents/recovery_prediction.h"
#include "tests/support/kernel_targets.h"
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace orv {
namespace {

using Bytes = std::vector<uint8_t>;

const int kWidths[] = {1, 2, 3, 16, 17, 33, 64, 65, 66, 130, 257};
constexpr size_t kGap = 5;   // bytes between one plane's row and the next plane

Bytes RandomBytes(std::mt19937& rng, size_t n)
{
    Bytes b(n);
    for (uint8_t& v : b) v = uint8_t(rng());
    return b;
}

uint8_t Mean(const uint8_t* a, const uint8_t* b, int k) { return uint8_t((a[k] + b[k] + 1) >> 1); }

// Pixel x of `row`'s prediction bytes: the left and the upper neighbour (up null: the left).
struct Neighbours {
    const uint8_t* left;
    const uint8_t* upper;
};
Neighbours Around(const uint8_t* row, const uint8_t* up, int x)
{
    static const uint8_t zero[4] = {};
    const uint8_t* left = x ? row + 4 * (x - 1) : up ? up : zero;
    return {left, up ? up + 4 * x : left};
}

Bytes PlainDifferences(const Bytes& row, const Bytes* up, int w)
{
    const size_t plane = size_t(w) + kGap;
    Bytes d(3 * plane, 0xA5);
    for (int x = 0; x < w; ++x) {
        const Neighbours n = Around(row.data(), up ? up->data() : nullptr, x);
        for (int k = 0; k < 3; ++k) d[k * plane + size_t(x)] = uint8_t(row[4 * x + k] - Mean(n.left, n.upper, k));
    }
    return d;
}

Bytes PlainPixels(const Bytes& d, const Bytes* up, int w)
{
    const size_t plane = size_t(w) + kGap;
    Bytes row(4 * size_t(w));
    for (int x = 0; x < w; ++x) {
        const Neighbours n = Around(row.data(), up ? up->data() : nullptr, x);
        for (int k = 0; k < 3; ++k) row[4 * x + k] = uint8_t(d[k * plane + size_t(x)] + Mean(n.left, n.upper, k));
        row[4 * x + 3] = 0xFF;
    }
    return row;
}

TEST(RecoveryPrediction, EverySimdSetGivesThePlainDifferences)
{
    std::mt19937 rng(7);
    test::ForEachKernelTarget([&] {
        for (const int w : kWidths) {
            for (const bool above : {false, true}) {
                const Bytes row = RandomBytes(rng, 4 * size_t(w)), up = RandomBytes(rng, row.size());
                Bytes d(3 * (size_t(w) + kGap), 0xA5);
                kernels::ToDifferences(row.data(), above ? up.data() : nullptr, d.data(), w, size_t(w) + kGap);
                EXPECT_EQ(d, PlainDifferences(row, above ? &up : nullptr, w)) << w << " pixels, above " << above;
            }
        }
    });
}

TEST(RecoveryPrediction, EverySimdSetGivesThePlainPixels)
{
    std::mt19937 rng(8);
    test::ForEachKernelTarget([&] {
        for (const int w : kWidths) {
            for (const bool above : {false, true}) {
                // Any bytes above, the fourth not 0xFF either: the result's fourth byte is.
                const Bytes d = RandomBytes(rng, 3 * (size_t(w) + kGap)), up = RandomBytes(rng, 4 * size_t(w));
                Bytes row(up.size(), 0x5A);
                kernels::FromDifferences(d.data(), above ? up.data() : nullptr, row.data(), w, size_t(w) + kGap);
                EXPECT_EQ(row, PlainPixels(d, above ? &up : nullptr, w)) << w << " pixels, above " << above;
            }
        }
    });
}

} // namespace
} // namespace orv
