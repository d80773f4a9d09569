#include "effects/crystal_shaper.h"
#include "platform/color.h"
#include "platform/numbers.h"
#include <algorithm>
#include <cstring>
#include <vector>

namespace orv {

namespace {

// Draws `line` (the row as it was, w pixels) mirrored into the `span` columns that end before
// column `end` of `row`, stretched or squeezed to the nearest source pixel.
void MirrorInto(uint32_t* row, const uint32_t* line, int w, int64_t end, int64_t span)
{
    const int64_t lo = std::max<int64_t>(end - span, 0);
    const int64_t hi = std::min<int64_t>(end, w);
    if (lo >= hi) return;
    // Destination column X shows source column floor((2i + 1) w / (2 span)), i = end - 1 - X;
    // walking X down from hi - 1, the numerator grows by 2w a step.
    const int64_t den = 2 * span;
    const int64_t first = end - 1 - (hi - 1);
    const int64_t num = (2 * first + 1) * w;
    int64_t src = num / den;
    int64_t rest = num % den;
    const int64_t stepWhole = 2 * int64_t{w} / den;
    const int64_t stepRest = 2 * int64_t{w} % den;
    for (int64_t x = hi - 1; x >= lo; --x) {
        row[x] = line[src] | kPixelOpaque;
        src += stepWhole;
        rest += stepRest;
        if (rest >= den) {
            ++src;
            rest -= den;
        }
    }
}

} // namespace

void CrystalShape(QImage& image)
{
    const int w = image.width();
    const float width = static_cast<float>(w);
    std::vector<uint32_t> line(static_cast<size_t>(w));
    float m = width / 2.0f;
    bool falling = false;
    // The loop runs W + 1 times, whatever the height; rows beyond the picture change nothing.
    const int rows = std::min(w + 1, image.height());
    for (int y = 0; y < rows; ++y) {
        m = falling ? m - 1.0f : m + 1.0f;
        // m never drops below W / 2, so the span's width W - 2m is 0 or negative: mirrored.
        const auto end = static_cast<int64_t>(RoundHalfEven(m));
        const auto span = static_cast<int64_t>(-RoundHalfEven(width - 2.0f * m));
        if (span > 0) {
            auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
            std::memcpy(line.data(), row, static_cast<size_t>(w) * sizeof(uint32_t));
            MirrorInto(row, line.data(), w, end, span);
        }
        if (m == width) falling = true;
        if (m == width / 2.0f) falling = false;
    }
}

} // namespace orv
