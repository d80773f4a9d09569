// The row kernels of Rotate and Resize with every SIMD instruction set this processor runs,
// against plain per-pixel loops, byte for byte: odd lengths, vector tails, and lines and taps
// that cross the picture's edges.
#include "effects/geometry_row_kernels.h"
#include "effects/rotate_row_kernels.h"
#include "tests/support/kernel_targets.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <random>
#include <vector>

namespace orv {
namespace {

using Row = std::vector<uint32_t>;
constexpr int kBits = 22;

Row RandomRow(std::mt19937& rng, size_t n)
{
    Row row(n);
    for (uint32_t& p : row) p = rng();
    return row;
}

// Sum over k < taps of weight(k) times each channel of pixel(k), rounded and held to 0..255.
template <class Pixel, class Weight>
uint32_t PlainFilter(Pixel pixel, Weight weight, int taps)
{
    uint32_t out = 0xFF000000u;
    for (int c = 0; c < 3; ++c) {
        int64_t sum = 1 << (kBits - 1);
        for (int k = 0; k < taps; ++k) sum += int64_t((pixel(k) >> (8 * c)) & 0xFF) * weight(k);
        out |= uint32_t(std::clamp<int64_t>(sum >> kBits, 0, 255)) << (8 * c);
    }
    return out;
}

// A bilinear sample at (x, y) in 32-bit fixed point, the outside counting as `back`.
uint32_t PlainSample(const Row& picture, int stride, int w, int h, int64_t x, int64_t y, uint32_t back)
{
    const auto at = [&](int64_t px, int64_t py) {
        return px >= 0 && py >= 0 && px < w && py < h ? picture[size_t(py * stride + px)] : back;
    };
    const auto mix = [](uint32_t a, uint32_t b, uint32_t f) {
        uint32_t out = 0;
        for (int c = 0; c < 3; ++c)
            out |= ((((a >> (8 * c)) & 0xFF) * (256 - f) + ((b >> (8 * c)) & 0xFF) * f + 128) >> 8) << (8 * c);
        return out;
    };
    const int64_t ix = x >> 32, iy = y >> 32;
    if (ix < -1 || iy < -1 || ix >= w || iy >= h) return back;
    const auto fx = uint32_t((x >> 24) & 0xFF), fy = uint32_t((y >> 24) & 0xFF);
    return mix(mix(at(ix, iy), at(ix + 1, iy), fx), mix(at(ix, iy + 1), at(ix + 1, iy + 1), fx), fy) | 0xFF000000u;
}

TEST(GeometryRowKernels, EverySimdSetGivesThePlainLoopsPixels)
{
    std::mt19937 rng(11);
    struct Case {
        std::string what;
        std::function<Row()> kernel;
        Row plain;
    };
    std::vector<Case> cases;

    // Rotate: lines through a 13 x 7 picture whose rows have 3 pixels of padding (which no
    // sample may read), at several angles and distances from the centre.
    const int w = 13, h = 7, stride = 16;
    const Row picture = RandomRow(rng, size_t(stride) * h);
    const uint32_t back = 0xFF123456u;
    const auto fixed = [](double v) { return int64_t(std::llround(std::ldexp(v, 32))); };
    for (const auto& [angle, n] : {std::pair{30.0, 29}, {-137.5, 33}, {0.2, 31}, {90.5, 17}, {0.0, 21}, {180.3, 1}}) {
        const double c = std::cos(angle * std::numbers::pi / 180), s = std::sin(angle * std::numbers::pi / 180);
        for (double off = -5; off <= 5; off += 0.37) {
            const double x0 = w / 2.0 - n / 2.0 * c - off * s, y0 = h / 2.0 + n / 2.0 * s - off * c;
            const int64_t x = fixed(x0), y = fixed(y0), sx = fixed(c), sy = fixed(-s);
            Row plain(static_cast<size_t>(n));
            for (int i = 0; i < n; ++i) plain[size_t(i)] = PlainSample(picture, stride, w, h, x + i * sx, y + i * sy, back);
            cases.push_back({"rotate " + std::to_string(angle) + " at " + std::to_string(off), [=, &picture] {
                                 Row out(static_cast<size_t>(n));
                                 kernels::RotateSampleRow(picture.data(), stride, w, h, x, y, sx, sy, back, out.data(), out.size());
                                 return out;
                             }, plain});
        }
    }

    // Resize: weights from -2^22 / taps to 2^23 / taps, whose sums pass 0..255 either way;
    // taps past the end of a row weigh 0 and read its last pixel.
    const auto weights = [&](size_t count, int taps) {
        std::vector<int32_t> ws(count);
        for (int32_t& v : ws) v = int32_t(rng() % (3u << 22) / uint32_t(taps)) - (1 << 22) / taps;
        return ws;
    };
    for (const auto& [width, n, taps] : {std::tuple{23, 11, 13}, {23, 50, 7}, {23, 1, 23}, {1, 17, 7}, {9, 67, 1}}) {
        const Row in = RandomRow(rng, size_t(width));
        std::vector<int32_t> start(static_cast<size_t>(n)), byTap = weights(size_t(n) * taps, taps);
        for (int i = 0; i < n; ++i) {
            start[size_t(i)] = int32_t(i == n - 1 ? width - 1 : rng() % uint32_t(width));
            for (int k = width - start[size_t(i)]; k < taps; ++k) byTap[size_t(k) * n + i] = 0;
        }
        Row plain(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) {
            const int s = start[size_t(i)];
            plain[size_t(i)] = PlainFilter([&](int k) { return in[size_t(s + k)]; },
                                           [&](int k) { return byTap[size_t(k) * n + i]; }, std::min(taps, width - s));
        }
        cases.push_back({"along " + std::to_string(width) + " to " + std::to_string(n), [=] {
                             Row out(static_cast<size_t>(n));
                             kernels::FilterAlongRow(in.data(), in.size(), start.data(), byTap.data(), size_t(taps), kBits,
                                                     out.data(), out.size());
                             return out;
                         }, plain});
    }
    for (const auto& [n, taps] : {std::pair{67, 5}, {7, 13}, {16, 1}}) {
        std::vector<Row> rows;
        for (int k = 0; k < taps; ++k) rows.push_back(RandomRow(rng, size_t(n)));
        const std::vector<int32_t> ws = weights(size_t(taps), taps);
        Row plain(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i)
            plain[size_t(i)] = PlainFilter([&](int k) { return rows[size_t(k)][size_t(i)]; }, [&](int k) { return ws[size_t(k)]; }, taps);
        cases.push_back({"down " + std::to_string(n), [=] {
                             std::vector<const uint32_t*> taps;
                             for (const Row& r : rows) taps.push_back(r.data());
                             Row out(static_cast<size_t>(n));
                             kernels::FilterDownRow(taps.data(), ws.data(), taps.size(), kBits, out.data(), out.size());
                             return out;
                         }, plain});
    }

    test::ForEachKernelTarget([&] {
        for (const Case& c : cases) EXPECT_EQ(c.kernel(), c.plain) << c.what;
    });
}

} // namespace
} // namespace orv
