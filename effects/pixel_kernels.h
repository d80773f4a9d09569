#pragma once
// The per-pixel kernels of the effects, one row at a time, compiled for every SIMD instruction
// set the library knows (SSE4, AVX2, AVX-512, NEON, ...) and run with the best one the
// processor has, chosen when a kernel is first called. Pixels are kPixelFormat words: red in
// bits 0-7, green 8-15, blue 16-23. Any row length works, including lengths that are no
// multiple of a vector. `in` and `out` may be the same row where a kernel says so.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace orv::kernels {

// out = ((in ^ flip) & keep) | set, word by word. In place allowed.
void MaskRow(const uint32_t* in, uint32_t* out, size_t n, uint32_t flip, uint32_t keep, uint32_t set);

// Adds `amount` to (add) or subtracts it from (!add) the red, green and blue bytes, each held
// to 0..255; the top byte is kept. In place allowed.
void AddToChannelsRow(const uint32_t* in, uint32_t* out, size_t n, uint8_t amount, bool add);

// A channel table whose values follow a line y(u) = scale u + offset: each value is y held to
// 0..255 and rounded to one of its two nearest whole numbers (either way at a half, and with
// the small errors of double arithmetic). The kernel computes a(u), the floor of the line in
// 16-bit fixed point (within a quarter of it), and adds the table's difference from it, 0 or 1,
// kept as a bit per value:
//   a(u) = clamp((((min(u - from, span) << shift) * slope >> 16) + base) >> 3, 0, 255),
// u - from being 0 below `from`. Only the line's part from the last value 0 to the first value
// 255 is computed, so the products stay within 16 bits for any slope.
struct LineTable {
    uint16_t from = 0, span = 0, slope = 0;
    int shift = 0;
    int16_t base = 0;
    uint8_t lowBits[16] = {}, highBits[16] = {};   // bit u % 8 of byte u / 8 (u < 128, u >= 128)
    uint8_t table[256] = {};                       // the values themselves, for plain code
};
LineTable MakeLineTable(const uint8_t* table, double scale, double offset);

// Sends the red, green and blue bytes through the table; the top byte becomes 0xFF. In place
// allowed.
void LineTableRow(const uint32_t* in, uint32_t* out, size_t n, const LineTable& t);

// The greatest red + green + blue of the row (0 for an empty row).
uint32_t GreatestChannelSumRow(const uint32_t* in, size_t n);

// Each pixel becomes the grey of round((76 r + 150 g + 28 b) / 255), top byte 0xFF. In place
// allowed.
void GrayRow(const uint32_t* in, uint32_t* out, size_t n);

// Reverses the order of the row's pixels.
void ReverseRow(uint32_t* row, size_t n);

// Exchanges the pixels of two rows that do not overlap.
void SwapRows(uint32_t* a, uint32_t* b, size_t n);

// out[i] = in[index[i]]; every index lies in the row, and in place the pixels an index points at
// must be ones the row keeps (index[index[i]] == index[i]).
void GatherRow(const uint32_t* in, const int32_t* index, uint32_t* out, size_t n);

// A store of slots of kSlotPixels pixels each, slot s at store + s * kSlotPixels. For
// k = 0 .. rows-1 (from rows-1 down with lastFirst), pixels first .. last-1 of slot to[k] are
// set from those of slot from[k]; the other pixels stay. Slots to[k] and from[k] differ.
constexpr size_t kSlotPixels = 16;
void CopySlotPixels(uint32_t* store, const int32_t* to, const int32_t* from, size_t rows, bool lastFirst,
                    size_t first, size_t last);

// Pixels 0 .. width-1 of `count` lines (count at most kSlotPixels) turned into slots: pixel
// k of lines[i] becomes pixel i of slot k (slot k at slots + k * kSlotPixels).
void LinesToSlots(const uint32_t* const* lines, size_t count, size_t width, uint32_t* slots);
// The other way, pixel k of lines[i] being pixel i of slot slotOf[k].
void SlotsToLines(const uint32_t* slots, const int32_t* slotOf, size_t width, uint32_t* const* lines, size_t count);

// Per channel min(255, |a - b + 128|) for a = in[i], b = belowRight[i]; top byte 0xFF.
void EmbossRow(const uint32_t* in, const uint32_t* belowRight, uint32_t* out, size_t n);

// Per channel (3 a - b) / 2 rounded halves to even and held to 0..255 for a = in[i],
// b = aboveLeft[i]; top byte 0xFF.
void SharpenRow(const uint32_t* in, const uint32_t* aboveLeft, uint32_t* out, size_t n);

// Per channel the rounded average of the 3 x 3 block of rows r0, r1, r2 around column i (so
// columns -1 .. n are read); top byte 0xFF.
void SmoothRow(const uint32_t* r0, const uint32_t* r1, const uint32_t* r2, uint32_t* out, size_t n);

// The four draw thresholds of a diffuse offset (see ScatterSteps in typical.cpp): an offset is
// -2 plus the number of thresholds its 53 random bits reach.
struct ScatterThresholds {
    uint64_t from[4];
};

// One row of Diffuse: out[x] for x = lo .. lo + n - 1 becomes near[dy + 2][x + dx], where pixel
// i takes the draws k = 2 i (dy) and 2 i + 1 (dx) of a uniform block, draw k being mixed from
// the generator state firstState + k * step. dy is measured with `rows`, dx with
// `columns[x & 1]`.
void DiffuseRow(const uint32_t* const near[5], uint32_t* out, int lo, size_t n, uint64_t firstState,
                const ScatterThresholds& rows, const ScatterThresholds columns[2]);

// The instruction set the kernels run with now, for benchmark labels and tests.
const char* KernelTargetName();

} // namespace orv::kernels
