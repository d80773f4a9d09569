#include "effects/channel_map.h"
#include <immintrin.h>

namespace orv {

namespace {

// Maps n pixels with byte permutes: every byte of 64 is looked up in the 256-byte table as two
// 128-byte halves, the half chosen by the byte's top bit; the top byte of each pixel is then
// set opaque. Returns how many pixels it mapped (whole groups of 16).
__attribute__((target("avx512f,avx512bw,avx512vbmi")))
int MapWithPermutes(const uint32_t* in, uint32_t* out, int n, const ChannelTable& table)
{
    const __m512i t0 = _mm512_loadu_si512(table.data());
    const __m512i t1 = _mm512_loadu_si512(table.data() + 64);
    const __m512i t2 = _mm512_loadu_si512(table.data() + 128);
    const __m512i t3 = _mm512_loadu_si512(table.data() + 192);
    const __m512i opaque = _mm512_set1_epi32(static_cast<int>(kPixelOpaque));
    int x = 0;
    for (; x + 16 <= n; x += 16) {
        const __m512i v = _mm512_loadu_si512(in + x);
        const __m512i low = _mm512_permutex2var_epi8(t0, v, t1);
        const __m512i high = _mm512_permutex2var_epi8(t2, v, t3);
        const __m512i mapped = _mm512_mask_blend_epi8(_mm512_movepi8_mask(v), low, high);
        _mm512_storeu_si512(out + x, _mm512_or_si512(mapped, opaque));
    }
    _mm256_zeroupper();
    return x;
}

bool HasBytePermutes()
{
    static const bool has = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw")
                            && __builtin_cpu_supports("avx512vbmi");
    return has;
}

} // namespace

PixelTable::PixelTable(const ChannelTable& channel) : channel_(channel)
{
    for (uint32_t u = 0; u < 256; ++u) {
        red_[u] = kPixelOpaque | channel[u];
        green_[u] = uint32_t{channel[u]} << 8;
        blue_[u] = uint32_t{channel[u]} << 16;
    }
}

void MapChannels(WorkingCopy& work, int x0, int x1, const PixelTable& table)
{
    const RowShare rows = RowsOfBand(work.width(), work.height(), x0, x1);
    const int w = work.width();
    const bool permutes = HasBytePermutes();
    for (int y = rows.from; y < rows.to; ++y) {
        const WorkingCopy::MappedRow row = work.mapRow(y);
        int x = permutes ? MapWithPermutes(row.in, row.out, w, table.channel()) : 0;
        for (; x < w; ++x) row.out[x] = table(row.in[x]);
    }
}

} // namespace orv
