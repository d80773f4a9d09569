// The tile kernel of the quarter turns with every SIMD instruction set this processor runs,
// against a plain loop, byte for byte: tiles of every size around the 4 x 4 blocks, taken from
// inside the rows, the target rows' pixels past the tile left alone.
#include "effects/quarter_turn_kernels.h"
#include "tests/support/kernel_targets.h"
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace orv {
namespace {

using Row = std::vector<uint32_t>;

TEST(QuarterTurnKernels, EverySimdSetGivesThePlainLoopsPixels)
{
    std::mt19937 rng(5);
    const size_t kX = 3, kPast = 2;   // the tile's first column; target pixels after it
    test::ForEachKernelTarget([&] {
        for (const size_t n : {1, 3, 4, 5, 8, 11, 64}) {
            for (const size_t m : {1, 2, 4, 7, 9, 64}) {
                std::vector<Row> rows(n, Row(kX + m + 1));
                for (Row& r : rows)
                    for (uint32_t& p : r) p = rng();
                std::vector<Row> out(m, Row(n + kPast, 0x12345678u)), plain = out;
                std::vector<const uint32_t*> in;
                std::vector<uint32_t*> to;
                for (const Row& r : rows) in.push_back(r.data());
                for (Row& r : out) to.push_back(r.data());
                for (size_t c = 0; c < m; ++c)
                    for (size_t i = 0; i < n; ++i) plain[c][i] = rows[i][kX + c];
                kernels::TransposePixels(in.data(), n, kX, to.data(), m);
                EXPECT_EQ(out, plain) << n << " rows, " << m << " columns";
            }
        }
    });
}

} // namespace
} // namespace orv
