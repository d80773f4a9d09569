#include "fills/drip.h"
#include "effects/batch_params.h"
#include "effects/target_picture.h"
#include "platform/dialog_text.h"
#include "platform/numbers.h"
#include "platform/raster.h"
#include <algorithm>
#include <cstring>
#include <vector>

namespace orv {

namespace {

// Rounded halves to even and held far inside int's range: a block wider than any picture is
// cut off by the copy anyway.
int Whole(double v)
{
    constexpr double kLimit = 1 << 30;
    return static_cast<int>(RoundHalfEven(std::clamp(v, -kLimit, kLimit)));
}

// One block copy of the picture onto itself, clipped: across [first, first + count) (columns
// for an upward or downward drip, rows for a sideways one) the pixels from .. from + length - 1
// along the drip's axis go to to .. to + length - 1, as if through a temporary.
struct Move {
    int first, count, from, to, length;
};

// The moves that touch each group of `size` lines across, in the order of the run.
std::vector<std::vector<const Move*>> MovesByGroup(const std::vector<Move>& moves, int lines, int size)
{
    std::vector<std::vector<const Move*>> groups(static_cast<size_t>((lines + size - 1) / size));
    for (const Move& m : moves)
        for (int g = m.first / size; g <= (m.first + m.count - 1) / size; ++g) groups[static_cast<size_t>(g)].push_back(&m);
    return groups;
}

// n pixels, n at most a strip's width: a whole strip's row is copied inline, without a call.
constexpr int kStrip = 16;
inline void CopyPixels(uint32_t* to, const uint32_t* from, int n)
{
    if (n == kStrip) std::memcpy(to, from, kStrip * sizeof(uint32_t));
    else std::memcpy(to, from, static_cast<size_t>(n) * sizeof(uint32_t));
}

// Columns never exchange pixels in an upward or downward drip, so the picture is worked in
// strips of 16 columns (a cache line per row), each copied into a compact buffer that stays in
// the processor's cache while every move over the strip is made there in the run's order. A
// move over the whole strip shifts its rows as one run of memory. Four strips side by side are
// copied in and out together, so that each row of the picture is visited once per 64 columns.
void MoveColumns(QImage& picture, const std::vector<Move>& moves)
{
    constexpr int kTogether = 4;
    const int w = picture.width(), h = picture.height();
    const auto groups = MovesByGroup(moves, w, kStrip);
    const size_t stripSize = static_cast<size_t>(kStrip) * static_cast<size_t>(h);
    std::vector<uint32_t> strips(kTogether * stripSize);
    const PixelRows rows(picture);
    for (int left = 0; left < w; left += kStrip * kTogether) {
        const int right = std::min(left + kStrip * kTogether, w);
        // Strip j covers columns left + 16 j .. left + 16 j + n_j - 1, its rows n_j apart.
        const auto each = [&](auto body) {
            for (int j = 0; left + j * kStrip < right; ++j)
                body(left + j * kStrip, std::min(kStrip, right - left - j * kStrip), strips.data() + j * stripSize);
        };
        bool any = false;
        each([&](int x0, int, uint32_t*) { any = any || !groups[static_cast<size_t>(x0 / kStrip)].empty(); });
        if (!any) continue;
        for (int y = 0; y < h; ++y)
            each([&](int x0, int n, uint32_t* s) { CopyPixels(s + y * n, rows[y] + x0, n); });
        each([&](int x0, int n, uint32_t* s) {
            const size_t rowBytes = static_cast<size_t>(n) * sizeof(uint32_t);
            for (const Move* m : groups[static_cast<size_t>(x0 / kStrip)]) {
                const int a = std::max(m->first, x0) - x0, b = std::min(m->first + m->count, x0 + n) - x0;
                if (a == 0 && b == n) {
                    std::memmove(s + m->to * n, s + m->from * n, static_cast<size_t>(m->length) * rowBytes);
                    continue;
                }
                const bool down = m->to > m->from;   // rows bottom-up when the block moves down
                for (int k = 0; k < m->length; ++k) {
                    const int r = down ? m->length - 1 - k : k;
                    std::memmove(s + (m->to + r) * n + a, s + (m->from + r) * n + a, static_cast<size_t>(b - a) * sizeof(uint32_t));
                }
            }
        });
        for (int y = 0; y < h; ++y)
            each([&](int x0, int n, const uint32_t* s) { CopyPixels(rows[y] + x0, s + y * n, n); });
    }
}

// Rows never exchange pixels in a sideways drip: the picture is worked in bands of 8 rows,
// each taking every move over it in the run's order while it stays in the processor's cache.
void MoveRows(QImage& picture, const std::vector<Move>& moves)
{
    constexpr int kBand = 8;
    const int h = picture.height();
    const auto groups = MovesByGroup(moves, h, kBand);
    const PixelRows rows(picture);
    for (int y0 = 0; y0 < h; y0 += kBand) {
        const int y1 = std::min(y0 + kBand, h);
        for (const Move* m : groups[static_cast<size_t>(y0 / kBand)]) {
            for (int y = std::max(m->first, y0); y < std::min(m->first + m->count, y1); ++y)
                std::memmove(rows[y] + m->to, rows[y] + m->from, static_cast<size_t>(m->length) * sizeof(uint32_t));
        }
    }
}

} // namespace

bool DivisorFromText(const QString& text, double* divisor)
{
    return DialogNumberAbove(text, 0.0, divisor);
}

void Drip(QImage& picture, const DripParams& p, UniformGenerator& rnd, const QImage* firstFrom)
{
    const int w = picture.width(), h = picture.height();
    const int bw = Whole(w / p.width), bh = Whole(h / p.height);
    const bool vertical = p.direction == DripDirection::Up || p.direction == DripDirection::Down;
    const bool backwards = p.direction == DripDirection::Up || p.direction == DripDirection::Left;
    const double d = (vertical ? bh : bw) / 100.0 * (backwards ? -1 : 1);
    const int copies = 10 * std::clamp(p.amount, 0, kMaxDripAmount) + (firstFrom ? 1 : 0);
    // The blocks are drawn first and copied afterwards strip by strip (see MoveColumns); the
    // pixels come out as from copying block after block.
    std::vector<Move> moves;
    bool copied = false;
    for (int i = 0; i < copies; ++i) {
        const double x = rnd.next() * w;
        const double y = rnd.next() * h;
        const int sx = Whole(x), sy = Whole(y);
        const int dx = vertical ? sx : Whole(x + d);
        const int dy = vertical ? Whole(y + d) : sy;
        if (i == 0 && firstFrom) {
            BitBlt(picture, dx, dy, bw, bh, *firstFrom, sx, sy, Rop::SrcCopy);
            continue;
        }
        // A block that lands where it was taken changes nothing.
        if (dx == sx && dy == sy) continue;
        copied = true;
        Move m;
        int ignored = 0;
        const bool inside = vertical
            ? ClipAxis(sx, sx, bw, w, w, m.first, ignored, m.count) && ClipAxis(dy, sy, bh, h, h, m.to, m.from, m.length)
            : ClipAxis(sy, sy, bh, h, h, m.first, ignored, m.count) && ClipAxis(dx, sx, bw, w, w, m.to, m.from, m.length);
        if (inside) moves.push_back(m);
    }
    if (copied && picture.format() != kPixelFormat) picture.convertTo(kPixelFormat);
    if (moves.empty()) return;
    if (vertical) MoveColumns(picture, moves);
    else MoveRows(picture, moves);
}

bool ParseDripParams(const EffectParams& params, DripParams* out, QString* error)
{
    const QString effect = QStringLiteral("drip");
    if (!CheckParamNames(effect, params, {"direction", "width", "height", "amount"}, error)) return false;
    DripParams p;
    int direction = static_cast<int>(p.direction);
    const QString rule = QStringLiteral("a number greater than 0");
    if (!ReadChoiceParam(effect, params, QStringLiteral("direction"), {"up", "down", "left", "right"},
                         &direction, error)
        || !ReadNumberParam(effect, params, QStringLiteral("width"), DivisorFromText, rule, &p.width, error)
        || !ReadNumberParam(effect, params, QStringLiteral("height"), DivisorFromText, rule, &p.height, error)
        || !ReadIntParam(effect, params, QStringLiteral("amount"), 0, kMaxDripAmount, &p.amount, error))
        return false;
    p.direction = static_cast<DripDirection>(direction);
    *out = p;
    return true;
}

bool RunDripBatch(QImage& image, const EffectParams& params, ProgressSink*, QString* error)
{
    DripParams p;
    if (!ParseDripParams(params, &p, error)) return false;
    Drip(image, p, SharedGenerator());
    return true;
}

} // namespace orv
