#include "fills/drip.h"
#include "effects/batch_params.h"
#include "fills/block_moves.h"
#include "platform/dialog_text.h"
#include "platform/numbers.h"
#include "platform/raster.h"
#include <algorithm>

namespace orv {

namespace {

// Rounded halves to even and held far inside int's range: a block wider than any picture is
// cut off by the copy anyway.
int Whole(double v)
{
    constexpr double kLimit = 1 << 30;
    return static_cast<int>(RoundHalfEven(std::clamp(v, -kLimit, kLimit)));
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
    // The blocks are drawn first and copied afterwards (see block_moves.h); the pixels come out
    // as from copying block after block.
    std::vector<BlockMove> moves;
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
        BlockMove m;
        int ignored = 0;
        const bool inside = vertical
            ? ClipAxis(sx, sx, bw, w, w, m.first, ignored, m.count) && ClipAxis(dy, sy, bh, h, h, m.to, m.from, m.length)
            : ClipAxis(sy, sy, bh, h, h, m.first, ignored, m.count) && ClipAxis(dx, sx, bw, w, w, m.to, m.from, m.length);
        if (inside) moves.push_back(m);
    }
    if (copied && picture.format() != kPixelFormat) picture.convertTo(kPixelFormat);
    if (moves.empty()) return;
    if (vertical) MoveAlongColumns(picture, moves);
    else MoveAlongRows(picture, moves);
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
