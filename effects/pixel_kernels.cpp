// Compiled once per SIMD instruction set: foreach_target.h includes this file again for each.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "effects/pixel_kernels.cpp"
#include <hwy/foreach_target.h>
#include <hwy/highway.h>

#include "effects/pixel_kernels.h"
#include "platform/random.h"
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

HWY_BEFORE_NAMESPACE();
namespace orv::kernels {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

using D32 = hn::ScalableTag<uint32_t>;
using V32 = hn::Vec<D32>;

// Room for one vector of the widest instruction set.
constexpr size_t kMaxWords = HWY_MAX_BYTES / sizeof(uint32_t);

// Runs body over whole vectors of the rows, then over the last partial vector copied into
// zero-padded buffers, so one body serves every row length and in-place rows.
template <class Body>
HWY_INLINE void EachVector(const uint32_t* a, const uint32_t* b, uint32_t* out, size_t n, Body body)
{
    const D32 d;
    const size_t N = hn::Lanes(d);
    size_t i = 0;
    for (; i + N <= n; i += N) hn::StoreU(body(hn::LoadU(d, a + i), hn::LoadU(d, b + i)), d, out + i);
    if (i == n) return;
    HWY_ALIGN uint32_t ta[kMaxWords] = {};
    HWY_ALIGN uint32_t tb[kMaxWords] = {};
    const size_t rest = (n - i) * sizeof(uint32_t);
    std::memcpy(ta, a + i, rest);
    std::memcpy(tb, b + i, rest);
    hn::Store(body(hn::Load(d, ta), hn::Load(d, tb)), d, ta);
    std::memcpy(out + i, ta, rest);
}

template <class Body>
HWY_INLINE void EachVector(const uint32_t* in, uint32_t* out, size_t n, Body body)
{
    EachVector(in, in, out, n, [&body](V32 v, V32) { return body(v); });
}

HWY_INLINE V32 Opaque() { return hn::Set(D32(), 0xFF000000u); }

void MaskRow(const uint32_t* in, uint32_t* out, size_t n, uint32_t flip, uint32_t keep, uint32_t set)
{
    const D32 d;
    const V32 f = hn::Set(d, flip), k = hn::Set(d, keep), s = hn::Set(d, set);
    EachVector(in, out, n, [&](V32 v) { return hn::Or(hn::And(hn::Xor(v, f), k), s); });
}

uint32_t GreatestChannelSumRow(const uint32_t* in, size_t n)
{
    const D32 d;
    const V32 low = hn::Set(d, 0xFFu);
    V32 best = hn::Zero(d);
    const size_t N = hn::Lanes(d);
    auto sums = [&](V32 v) {
        return hn::Add(hn::Add(hn::And(v, low), hn::And(hn::ShiftRight<8>(v), low)),
                       hn::And(hn::ShiftRight<16>(v), low));
    };
    size_t i = 0;
    for (; i + N <= n; i += N) best = hn::Max(best, sums(hn::LoadU(d, in + i)));
    if (i < n) {   // zero padding adds sums of 0, which never exceed a real one
        HWY_ALIGN uint32_t tail[kMaxWords] = {};
        std::memcpy(tail, in + i, (n - i) * sizeof(uint32_t));
        best = hn::Max(best, sums(hn::Load(d, tail)));
    }
    return hn::GetLane(hn::MaxOfLanes(d, best));
}

// round(s / 255) for s = 76 r + 150 g + 28 b (at most 64770): s / 255 is never a half, so it
// is floor((s + 127) / 255), and for these values floor(m / 255) = (m * 65794) >> 24 exactly
// within 32 bits: 65794 / 2^24 exceeds 1 / 255 by less than 1 / (255 * 64897).
void GrayRow(const uint32_t* in, uint32_t* out, size_t n)
{
    const D32 d;
    const V32 low = hn::Set(d, 0xFFu);
    EachVector(in, out, n, [&](V32 v) {
        const V32 s = hn::Add(hn::Add(hn::Mul(hn::And(v, low), hn::Set(d, 76u)),
                                      hn::Mul(hn::And(hn::ShiftRight<8>(v), low), hn::Set(d, 150u))),
                              hn::Mul(hn::And(hn::ShiftRight<16>(v), low), hn::Set(d, 28u)));
        const V32 gray = hn::ShiftRight<24>(hn::Mul(hn::Add(s, hn::Set(d, 127u)), hn::Set(d, 65794u)));
        return hn::Or(hn::Mul(gray, hn::Set(d, 0x010101u)), Opaque());
    });
}

void ReverseRow(uint32_t* row, size_t n)
{
    const D32 d;
    const size_t N = hn::Lanes(d);
    size_t lo = 0, hi = n;
    for (; hi - lo >= 8 * N; lo += 4 * N, hi -= 4 * N) {
        const V32 l0 = hn::LoadU(d, row + lo), l1 = hn::LoadU(d, row + lo + N);
        const V32 l2 = hn::LoadU(d, row + lo + 2 * N), l3 = hn::LoadU(d, row + lo + 3 * N);
        const V32 r0 = hn::LoadU(d, row + hi - N), r1 = hn::LoadU(d, row + hi - 2 * N);
        const V32 r2 = hn::LoadU(d, row + hi - 3 * N), r3 = hn::LoadU(d, row + hi - 4 * N);
        hn::StoreU(hn::Reverse(d, r0), d, row + lo);
        hn::StoreU(hn::Reverse(d, r1), d, row + lo + N);
        hn::StoreU(hn::Reverse(d, r2), d, row + lo + 2 * N);
        hn::StoreU(hn::Reverse(d, r3), d, row + lo + 3 * N);
        hn::StoreU(hn::Reverse(d, l0), d, row + hi - N);
        hn::StoreU(hn::Reverse(d, l1), d, row + hi - 2 * N);
        hn::StoreU(hn::Reverse(d, l2), d, row + hi - 3 * N);
        hn::StoreU(hn::Reverse(d, l3), d, row + hi - 4 * N);
    }
    for (; hi - lo >= 2 * N; lo += N, hi -= N) {
        const V32 left = hn::LoadU(d, row + lo);
        const V32 right = hn::LoadU(d, row + hi - N);
        hn::StoreU(hn::Reverse(d, right), d, row + lo);
        hn::StoreU(hn::Reverse(d, left), d, row + hi - N);
    }
    std::reverse(row + lo, row + hi);   // fewer than two vectors in the middle
}

void SwapRows(uint32_t* a, uint32_t* b, size_t n)
{
    const D32 d;
    const size_t N = hn::Lanes(d);
    size_t i = 0;
    for (; i + N <= n; i += N) {
        const V32 va = hn::LoadU(d, a + i);
        hn::StoreU(hn::LoadU(d, b + i), d, a + i);
        hn::StoreU(va, d, b + i);
    }
    std::swap_ranges(a + i, a + n, b + i);   // less than one vector
}

void GatherRow(const uint32_t* in, const int32_t* index, uint32_t* out, size_t n)
{
    const D32 d;
    const hn::RebindToSigned<D32> di;
    const size_t N = hn::Lanes(d);
    size_t i = 0;
    for (; i + N <= n; i += N) hn::StoreU(hn::GatherIndex(d, in, hn::LoadU(di, index + i)), d, out + i);
    if (i == n) return;
    HWY_ALIGN int32_t tailIndex[kMaxWords] = {};   // padding reads in[0]
    HWY_ALIGN uint32_t tail[kMaxWords];
    std::memcpy(tailIndex, index + i, (n - i) * sizeof(int32_t));
    hn::Store(hn::GatherIndex(d, in, hn::Load(di, tailIndex)), d, tail);
    std::memcpy(out + i, tail, (n - i) * sizeof(uint32_t));
}

void CopySlotPixels(uint32_t* store, const int32_t* to, const int32_t* from, size_t rows, bool lastFirst,
                    size_t first, size_t last)
{
    const hn::CappedTag<uint32_t, kSlotPixels> d;
    const size_t N = hn::Lanes(d);
    HWY_ALIGN uint32_t copied[kSlotPixels];   // all ones for the pixels taken over
    for (size_t i = 0; i < kSlotPixels; ++i) copied[i] = i >= first && i < last ? ~0u : 0u;
    // Only the vectors that hold some of those pixels.
    const size_t begin = first / N * N, end = (last + N - 1) / N * N;
    for (size_t k = 0; k < rows; ++k) {
        const size_t r = lastFirst ? rows - 1 - k : k;
        uint32_t* out = store + static_cast<size_t>(to[r]) * kSlotPixels;
        const uint32_t* in = store + static_cast<size_t>(from[r]) * kSlotPixels;
        for (size_t i = begin; i < end; i += N)
            hn::StoreU(hn::IfThenElse(hn::MaskFromVec(hn::Load(d, copied + i)), hn::LoadU(d, in + i), hn::LoadU(d, out + i)), d, out + i);
    }
}

// Pixels of lines across a band of `lines` (at most kSlotPixels) lines turned into slots and
// back: pixel k of line i is pixel i of slot k. Blocks of 4 x 4 pixels are turned in vectors,
// the pixels left over one by one.
#if HWY_TARGET != HWY_SCALAR
// Pixel j of in[i] becomes pixel i of out[j], for i, j < 4.
HWY_INLINE void Turn4x4(const uint32_t* const in[4], uint32_t* const out[4])
{
    const hn::FixedTag<uint32_t, 4> d;
    const hn::Repartition<uint64_t, decltype(d)> d64;
    const auto a = hn::LoadU(d, in[0]), b = hn::LoadU(d, in[1]), c = hn::LoadU(d, in[2]), e = hn::LoadU(d, in[3]);
    const auto ab0 = hn::BitCast(d64, hn::InterleaveLower(d, a, b)), ce0 = hn::BitCast(d64, hn::InterleaveLower(d, c, e));
    const auto ab1 = hn::BitCast(d64, hn::InterleaveUpper(d, a, b)), ce1 = hn::BitCast(d64, hn::InterleaveUpper(d, c, e));
    hn::StoreU(hn::BitCast(d, hn::InterleaveLower(d64, ab0, ce0)), d, out[0]);
    hn::StoreU(hn::BitCast(d, hn::InterleaveUpper(d64, ab0, ce0)), d, out[1]);
    hn::StoreU(hn::BitCast(d, hn::InterleaveLower(d64, ab1, ce1)), d, out[2]);
    hn::StoreU(hn::BitCast(d, hn::InterleaveUpper(d64, ab1, ce1)), d, out[3]);
}
constexpr size_t kTurnBlock = 4;
#else
constexpr size_t kTurnBlock = 0;
#endif

// Calls each(i, k, block) over the band: for a block, lines i .. i + kTurnBlock - 1 and their
// pixels k .. k + kTurnBlock - 1; else pixel k of line i alone.
template <class Each>
HWY_INLINE void EachTurnBlock(size_t lines, size_t width, Each each)
{
    const size_t fullLines = kTurnBlock ? lines / kTurnBlock * kTurnBlock : 0;
    const size_t fullWidth = kTurnBlock ? width / kTurnBlock * kTurnBlock : 0;
    for (size_t k = 0; k < fullWidth; k += kTurnBlock)
        for (size_t i = 0; i < fullLines; i += kTurnBlock) each(i, k, true);
    for (size_t k = 0; k < width; ++k)
        for (size_t i = k < fullWidth ? fullLines : 0; i < lines; ++i) each(i, k, false);
}

void LinesToSlots(const uint32_t* const* lines, size_t count, size_t width, uint32_t* slots)
{
    EachTurnBlock(count, width, [&](size_t i, size_t k, bool block) {
#if HWY_TARGET != HWY_SCALAR
        if (block) {
            const uint32_t* in[4] = {lines[i] + k, lines[i + 1] + k, lines[i + 2] + k, lines[i + 3] + k};
            uint32_t* out[4];
            for (size_t j = 0; j < 4; ++j) out[j] = slots + (k + j) * kSlotPixels + i;
            Turn4x4(in, out);
            return;
        }
#endif
        (void)block;
        slots[k * kSlotPixels + i] = lines[i][k];
    });
}

void SlotsToLines(const uint32_t* slots, const int32_t* slotOf, size_t width, uint32_t* const* lines, size_t count)
{
    const auto slot = [&](size_t k) { return slots + static_cast<size_t>(slotOf[k]) * kSlotPixels; };
    EachTurnBlock(count, width, [&](size_t i, size_t k, bool block) {
#if HWY_TARGET != HWY_SCALAR
        if (block) {
            const uint32_t* in[4] = {slot(k) + i, slot(k + 1) + i, slot(k + 2) + i, slot(k + 3) + i};
            uint32_t* out[4] = {lines[i] + k, lines[i + 1] + k, lines[i + 2] + k, lines[i + 3] + k};
            Turn4x4(in, out);
            return;
        }
#endif
        (void)block;
        lines[i][k] = slot(k)[i];
    });
}

#if HWY_TARGET != HWY_SCALAR

// Bytes 0 and 2 (red, blue) and bytes 1 and 3 (green, top) of each word as 16-bit lanes.
template <class D16>
HWY_INLINE hn::Vec<D16> EvenBytes(D16 d16, V32 v) { return hn::BitCast(d16, hn::And(v, hn::Set(D32(), 0x00FF00FFu))); }
template <class D16>
HWY_INLINE hn::Vec<D16> OddBytes(D16 d16, V32 v) { return hn::BitCast(d16, hn::And(hn::ShiftRight<8>(v), hn::Set(D32(), 0x00FF00FFu))); }

// Puts 16-bit lanes of values 0..255 back together as bytes, the top byte set to 0xFF.
template <class V16>
HWY_INLINE V32 JoinBytes(V16 even, V16 odd)
{
    const D32 d;
    return hn::Or(hn::Or(hn::BitCast(d, even), hn::ShiftLeft<8>(hn::BitCast(d, odd))), Opaque());
}

void AddToChannelsRow(const uint32_t* in, uint32_t* out, size_t n, uint8_t amount, bool add)
{
    const D32 d;
    const hn::Repartition<uint8_t, D32> d8;
    const auto step = hn::BitCast(d8, hn::Set(d, uint32_t{amount} * 0x010101u));   // top byte 0
    if (add)
        EachVector(in, out, n, [&](V32 v) { return hn::BitCast(d, hn::SaturatedAdd(hn::BitCast(d8, v), step)); });
    else
        EachVector(in, out, n, [&](V32 v) { return hn::BitCast(d, hn::SaturatedSub(hn::BitCast(d8, v), step)); });
}

// Red and blue (even bytes) and green and the top byte (odd bytes) as 16-bit lanes; the top
// byte's result is covered by the opaque top byte.
void LineTableRow(const uint32_t* in, uint32_t* out, size_t n, const LineTable& t)
{
    const hn::Repartition<uint16_t, D32> d16;
    const hn::Repartition<int16_t, D32> di16;
    const hn::Repartition<uint8_t, D32> d8;
    using V16 = hn::Vec<decltype(d16)>;
    static constexpr uint8_t kBitValues[16] = {1, 2, 4, 8, 16, 32, 64, 128};
    const V16 from = hn::Set(d16, t.from), span = hn::Set(d16, t.span), slope = hn::Set(d16, t.slope);
    const auto base = hn::Set(di16, t.base), zero = hn::Zero(di16), top = hn::Set(di16, 255);
    const auto lowBits = hn::LoadDup128(d8, t.lowBits), highBits = hn::LoadDup128(d8, t.highBits);
    const auto bitValues = hn::LoadDup128(d8, kBitValues);
    // Byte indexes with bit 7 set look up 0: the high byte of each lane always, the low byte
    // (u / 8 + 0x70 or u / 8 - 16) in the half of the bit table u does not belong to.
    const V16 lowIndex = hn::Set(d16, 0x8070), highIndex = hn::Set(d16, 0x80F0);
    const V16 seven = hn::Set(d16, 7), highOff = hn::Set(d16, 0x8000), one = hn::Set(d16, 1);
    const auto map = [&](V16 u) {
        const V16 d = hn::Min(hn::SaturatedSub(u, from), span);
        const auto line = hn::Add(hn::BitCast(di16, hn::MulHigh(hn::ShiftLeftSame(d, t.shift), slope)), base);
        const V16 a = hn::BitCast(d16, hn::Min(hn::Max(hn::ShiftRight<3>(line), zero), top));
        const V16 eighth = hn::ShiftRight<3>(u);
        const auto byte = hn::Or(hn::TableLookupBytesOr0(lowBits, hn::BitCast(d8, hn::Add(eighth, lowIndex))),
                                 hn::TableLookupBytesOr0(highBits, hn::BitCast(d8, hn::Add(eighth, highIndex))));
        const auto bit = hn::TableLookupBytesOr0(bitValues, hn::BitCast(d8, hn::Or(hn::And(u, seven), highOff)));
        return hn::Add(a, hn::Min(hn::BitCast(d16, hn::And(byte, bit)), one));
    };
    EachVector(in, out, n, [&](V32 v) { return JoinBytes(map(EvenBytes(d16, v)), map(OddBytes(d16, v))); });
}

// With d = a - b: for a > b, d + 128 capped at 255 is (a - b) + 128 saturated; for a <= b,
// |d + 128| = |128 - (b - a)|. Either saturated difference is 0 in the other case.
void EmbossRow(const uint32_t* in, const uint32_t* belowRight, uint32_t* out, size_t n)
{
    const D32 d;
    const hn::Repartition<uint8_t, D32> d8;
    const auto mid = hn::Set(d8, 128);
    EachVector(in, belowRight, out, n, [&](V32 va, V32 vb) {
        const auto a = hn::BitCast(d8, va), b = hn::BitCast(d8, vb);
        const auto up = hn::SaturatedSub(a, b), down = hn::SaturatedSub(b, a);
        const auto belowMid = hn::Or(hn::SaturatedSub(mid, down), hn::SaturatedSub(down, mid));
        return hn::Or(hn::BitCast(d, hn::SaturatedAdd(up, belowMid)), Opaque());
    });
}

void SharpenRow(const uint32_t* in, const uint32_t* aboveLeft, uint32_t* out, size_t n)
{
    const hn::Repartition<int16_t, D32> d16;
    using V16 = hn::Vec<decltype(d16)>;
    const V16 one = hn::Set(d16, 1), top = hn::Set(d16, 255), zero = hn::Zero(d16);
    const auto sharpen = [&](V16 a, V16 b) {
        const V16 m = hn::Sub(hn::Add(hn::Add(a, a), a), b);   // 3 a - b, -255 .. 765
        const V16 half = hn::ShiftRight<1>(m);                   // floor(m / 2)
        const V16 even = hn::Add(half, hn::And(hn::And(m, half), one));   // a half goes to even
        return hn::Min(hn::Max(even, zero), top);
    };
    EachVector(in, aboveLeft, out, n, [&](V32 a, V32 b) {
        return JoinBytes(sharpen(EvenBytes(d16, a), EvenBytes(d16, b)), sharpen(OddBytes(d16, a), OddBytes(d16, b)));
    });
}

// round(s / 9) for a block sum s <= 2295 is floor((s + 4) / 9), and floor(m / 9) =
// (m * 7282) >> 16 for m < 32768: 7282 / 2^16 exceeds 1 / 9 by 2 / (9 * 2^16).
void SmoothRow(const uint32_t* r0, const uint32_t* r1, const uint32_t* r2, uint32_t* out, size_t n)
{
    const D32 d;
    const hn::Repartition<uint16_t, D32> d16;
    using V16 = hn::Vec<decltype(d16)>;
    const size_t N = hn::Lanes(d);
    const V16 four = hn::Set(d16, 4), ninth = hn::Set(d16, 7282);
    const auto average = [&](const uint32_t* a, const uint32_t* b, const uint32_t* c) {
        V16 even = hn::Zero(d16), odd = hn::Zero(d16);
        for (int dx = -1; dx <= 1; ++dx) {
            for (const uint32_t* r : {a, b, c}) {
                const V32 v = hn::LoadU(d, r + dx);
                even = hn::Add(even, EvenBytes(d16, v));
                odd = hn::Add(odd, OddBytes(d16, v));
            }
        }
        return JoinBytes(hn::MulHigh(hn::Add(even, four), ninth), hn::MulHigh(hn::Add(odd, four), ninth));
    };
    size_t i = 0;
    for (; i + N <= n; i += N) hn::StoreU(average(r0 + i, r1 + i, r2 + i), d, out + i);
    if (i == n) return;
    // The last columns i - 1 .. n copied into buffers, zero beyond.
    HWY_ALIGN uint32_t t[3][kMaxWords + 2] = {};
    const size_t rest = n - i;
    const uint32_t* rows[3] = {r0, r1, r2};
    for (int k = 0; k < 3; ++k) std::memcpy(t[k], rows[k] + i - 1, (rest + 2) * sizeof(uint32_t));
    HWY_ALIGN uint32_t result[kMaxWords];
    hn::StoreU(average(t[0] + 1, t[1] + 1, t[2] + 1), d, result);
    std::memcpy(out + i, result, rest * sizeof(uint32_t));
}

// 64-bit lanes times a constant, from 32 x 32 -> 64-bit products of the halves.
template <class D64>
HWY_INLINE hn::Vec<D64> MulConstant(D64 d64, hn::Vec<D64> a, uint64_t c)
{
    const hn::Repartition<uint32_t, D64> d32;
    const auto a32 = hn::BitCast(d32, a);
    const auto cLow = hn::Set(d32, static_cast<uint32_t>(c));
    const auto cHigh = hn::Set(d32, static_cast<uint32_t>(c >> 32));
    const auto low = hn::MulEven(a32, cLow);
    const auto cross = hn::Add(hn::MulEven(hn::BitCast(d32, hn::ShiftRight<32>(a)), cLow), hn::MulEven(a32, cHigh));
    return hn::Add(low, hn::ShiftLeft<32>(hn::BitCast(d64, cross)));
}

void DiffuseRow(const uint32_t* const near[5], uint32_t* out, int lo, size_t n, uint64_t firstState,
                const ScatterThresholds& rows, const ScatterThresholds columns[2])
{
    const hn::ScalableTag<uint64_t> d64;
    const hn::RebindToSigned<decltype(d64)> di64;
    using V64 = hn::Vec<decltype(d64)>;
    const size_t N = hn::Lanes(d64);
    // A group holds whole pairs of draws (dy, dx) in the same lane places on every round: at
    // least four lanes, so that the column parity of each lane stays the same.
    constexpr size_t kMaxGroup = std::max<size_t>(4, HWY_MAX_BYTES / sizeof(uint64_t));
    const size_t group = std::max<size_t>(4, N);
    HWY_ALIGN int64_t from[4][kMaxGroup];
    HWY_ALIGN uint64_t laneStep[kMaxGroup];
    for (size_t j = 0; j < group; ++j) {
        const ScatterThresholds& t = j % 2 == 0 ? rows : columns[(lo + static_cast<int>(j / 2)) & 1];
        for (int k = 0; k < 4; ++k) from[k][j] = static_cast<int64_t>(t.from[k]);
        laneStep[j] = j * detail::kStep;
    }
    HWY_ALIGN int64_t offset[kMaxGroup];
    const auto two = hn::Set(di64, 2);
    uint64_t state = firstState;
    for (size_t p = 0; p < n; p += group / 2, state += group * detail::kStep) {
        for (size_t s = 0; s < group; s += N) {
            V64 z = hn::Add(hn::Set(d64, state), hn::Load(d64, laneStep + s));
            z = MulConstant(d64, hn::Xor(z, hn::ShiftRight<30>(z)), detail::kMixA);
            z = MulConstant(d64, hn::Xor(z, hn::ShiftRight<27>(z)), detail::kMixB);
            const auto bits = hn::BitCast(di64, hn::ShiftRight<11>(hn::Xor(z, hn::ShiftRight<31>(z))));
            // 53-bit values compare the same signed; each threshold not reached takes 1 off 2.
            auto o = two;
            for (int k = 0; k < 4; ++k) o = hn::Add(o, hn::VecFromMask(di64, hn::Lt(bits, hn::Load(di64, from[k] + s))));
            hn::Store(o, di64, offset + s);
        }
        const size_t pixels = std::min(group / 2, n - p);
        for (size_t q = 0; q < pixels; ++q) {
            const int x = lo + static_cast<int>(p + q);
            out[x] = near[offset[2 * q] + 2][x + offset[2 * q + 1]];
        }
    }
}

#else

// Without SIMD the kernels that work on bytes go pixel by pixel.

// f(channel of a, channel of b) for red, green and blue, with the top byte 0xFF.
template <class F>
HWY_INLINE uint32_t EachChannel(uint32_t a, uint32_t b, F f)
{
    uint32_t out = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8)
        out |= static_cast<uint32_t>(f(static_cast<int>((a >> shift) & 0xFFu), static_cast<int>((b >> shift) & 0xFFu))) << shift;
    return out;
}

void AddToChannelsRow(const uint32_t* in, uint32_t* out, size_t n, uint8_t amount, bool add)
{
    const int step = add ? amount : -amount;
    for (size_t i = 0; i < n; ++i)
        out[i] = (in[i] & 0xFF000000u) | (EachChannel(in[i], 0, [step](int a, int) { return std::clamp(a + step, 0, 255); }) & 0xFFFFFFu);
}

void LineTableRow(const uint32_t* in, uint32_t* out, size_t n, const LineTable& t)
{
    for (size_t i = 0; i < n; ++i) out[i] = EachChannel(in[i], 0, [&t](int a, int) { return t.table[a]; });
}

void EmbossRow(const uint32_t* in, const uint32_t* belowRight, uint32_t* out, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        out[i] = EachChannel(in[i], belowRight[i], [](int a, int b) { return std::min(255, std::abs(a - b + 128)); });
}

void SharpenRow(const uint32_t* in, const uint32_t* aboveLeft, uint32_t* out, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        out[i] = EachChannel(in[i], aboveLeft[i], [](int a, int b) {
            const int m = 3 * a - b;
            const int half = m >> 1;   // floor(m / 2); a half goes to the even neighbour
            return std::clamp(half + (m & half & 1), 0, 255);
        });
    }
}

void SmoothRow(const uint32_t* r0, const uint32_t* r1, const uint32_t* r2, uint32_t* out, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        uint32_t result = 0xFF000000u;
        for (int shift = 0; shift < 24; shift += 8) {
            uint32_t sum = 0;
            for (const uint32_t* r : {r0, r1, r2})
                for (int dx = -1; dx <= 1; ++dx) sum += (r[static_cast<ptrdiff_t>(i) + dx] >> shift) & 0xFFu;
            result |= (sum + 4) / 9 << shift;
        }
        out[i] = result;
    }
}

void DiffuseRow(const uint32_t* const near[5], uint32_t* out, int lo, size_t n, uint64_t firstState,
                const ScatterThresholds& rows, const ScatterThresholds columns[2])
{
    const auto offset = [](const ScatterThresholds& t, uint64_t state) {
        detail::MixToBits(state);
        return -2 + (state >= t.from[0]) + (state >= t.from[1]) + (state >= t.from[2]) + (state >= t.from[3]);
    };
    for (size_t i = 0; i < n; ++i) {
        const int x = lo + static_cast<int>(i);
        const uint64_t state = firstState + 2 * i * detail::kStep;
        out[x] = near[offset(rows, state) + 2][x + offset(columns[x & 1], state + detail::kStep)];
    }
}

#endif

const char* KernelTargetName() { return hwy::TargetName(HWY_TARGET); }

} // namespace HWY_NAMESPACE
} // namespace orv::kernels
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace orv::kernels {

HWY_EXPORT(MaskRow);
HWY_EXPORT(AddToChannelsRow);
HWY_EXPORT(LineTableRow);
HWY_EXPORT(GreatestChannelSumRow);
HWY_EXPORT(GrayRow);
HWY_EXPORT(ReverseRow);
HWY_EXPORT(SwapRows);
HWY_EXPORT(GatherRow);
HWY_EXPORT(CopySlotPixels);
HWY_EXPORT(LinesToSlots);
HWY_EXPORT(SlotsToLines);
HWY_EXPORT(EmbossRow);
HWY_EXPORT(SharpenRow);
HWY_EXPORT(SmoothRow);
HWY_EXPORT(DiffuseRow);
HWY_EXPORT(KernelTargetName);


void MaskRow(const uint32_t* in, uint32_t* out, size_t n, uint32_t flip, uint32_t keep, uint32_t set)
{
    HWY_DYNAMIC_DISPATCH(MaskRow)(in, out, n, flip, keep, set);
}
void AddToChannelsRow(const uint32_t* in, uint32_t* out, size_t n, uint8_t amount, bool add)
{
    HWY_DYNAMIC_DISPATCH(AddToChannelsRow)(in, out, n, amount, add);
}
void LineTableRow(const uint32_t* in, uint32_t* out, size_t n, const LineTable& t)
{
    HWY_DYNAMIC_DISPATCH(LineTableRow)(in, out, n, t);
}

LineTable MakeLineTable(const uint8_t* table, double scale, double offset)
{
    LineTable t;
    std::memcpy(t.table, table, sizeof t.table);
    // From the last u with value 0 before the first nonzero value to the first u with 255
    // after the last value below it; beyond both the clamp decides.
    int first = 0, last = 255;
    while (first < 256 && table[first] == 0) ++first;
    while (last >= 0 && table[last] == 255) --last;
    const int from = std::max(first - 1, 0);
    const int to = std::max(std::min(last + 1, 255), from);
    t.from = static_cast<uint16_t>(from);
    t.span = static_cast<uint16_t>(to - from);
    while (t.shift < 15 && (t.span << (t.shift + 1)) <= 0xFFFF) ++t.shift;
    // Eighths of a value: the rounded slope and start and the dropped product bits keep a(u)
    // within 2 eighths of the line.
    t.slope = static_cast<uint16_t>(std::clamp(std::llround(std::ldexp(scale, 19 - t.shift)), 0LL, 0xFFFFLL));
    t.base = static_cast<int16_t>(std::clamp(std::llround(8 * (from * scale + offset)), -0x8000LL, 0x7FFFLL));
    for (int u = 0; u < 256; ++u) {
        const int d = std::clamp(u - from, 0, int{t.span});
        const int line = static_cast<int>((static_cast<uint32_t>(d << t.shift) * t.slope) >> 16) + t.base;
        const int a = std::clamp(line >> 3, 0, 255);
        if (table[u] - a == 1) (u < 128 ? t.lowBits : t.highBits)[(u / 8) % 16] |= static_cast<uint8_t>(1 << (u % 8));
    }
    return t;
}

uint32_t GreatestChannelSumRow(const uint32_t* in, size_t n)
{
    return HWY_DYNAMIC_DISPATCH(GreatestChannelSumRow)(in, n);
}
void GrayRow(const uint32_t* in, uint32_t* out, size_t n) { HWY_DYNAMIC_DISPATCH(GrayRow)(in, out, n); }
void ReverseRow(uint32_t* row, size_t n) { HWY_DYNAMIC_DISPATCH(ReverseRow)(row, n); }
void SwapRows(uint32_t* a, uint32_t* b, size_t n) { HWY_DYNAMIC_DISPATCH(SwapRows)(a, b, n); }
void GatherRow(const uint32_t* in, const int32_t* index, uint32_t* out, size_t n)
{
    HWY_DYNAMIC_DISPATCH(GatherRow)(in, index, out, n);
}
void CopySlotPixels(uint32_t* store, const int32_t* to, const int32_t* from, size_t rows, bool lastFirst,
                    size_t first, size_t last)
{
    HWY_DYNAMIC_DISPATCH(CopySlotPixels)(store, to, from, rows, lastFirst, first, last);
}
void LinesToSlots(const uint32_t* const* lines, size_t count, size_t width, uint32_t* slots)
{
    HWY_DYNAMIC_DISPATCH(LinesToSlots)(lines, count, width, slots);
}
void SlotsToLines(const uint32_t* slots, const int32_t* slotOf, size_t width, uint32_t* const* lines, size_t count)
{
    HWY_DYNAMIC_DISPATCH(SlotsToLines)(slots, slotOf, width, lines, count);
}
void EmbossRow(const uint32_t* in, const uint32_t* belowRight, uint32_t* out, size_t n)
{
    HWY_DYNAMIC_DISPATCH(EmbossRow)(in, belowRight, out, n);
}
void SharpenRow(const uint32_t* in, const uint32_t* aboveLeft, uint32_t* out, size_t n)
{
    HWY_DYNAMIC_DISPATCH(SharpenRow)(in, aboveLeft, out, n);
}
void SmoothRow(const uint32_t* r0, const uint32_t* r1, const uint32_t* r2, uint32_t* out, size_t n)
{
    HWY_DYNAMIC_DISPATCH(SmoothRow)(r0, r1, r2, out, n);
}
void DiffuseRow(const uint32_t* const near[5], uint32_t* out, int lo, size_t n, uint64_t firstState,
                const ScatterThresholds& rows, const ScatterThresholds columns[2])
{
    HWY_DYNAMIC_DISPATCH(DiffuseRow)(near, out, lo, n, firstState, rows, columns);
}
const char* KernelTargetName() { return HWY_DYNAMIC_DISPATCH(KernelTargetName)(); }

} // namespace orv::kernels
#endif
