#include "effects/round_wobbly.h"
#include "effects/batch_params.h"
#include "platform/dialog_text.h"
#include "platform/numbers.h"
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace orv {

namespace {

constexpr double kPi = 3.14159265358979;

// A strip: its position as the loop counts it, its first column (row) and size in pixels,
// and how far it moves.
struct Strip {
    double pos;
    int64_t first;
    int64_t size;
    int64_t shift;
};

std::vector<Strip> StripsAlong(int extent, double size, double k)
{
    std::vector<Strip> strips;
    const auto fit = [](double v) {   // far beyond any picture every value acts alike
        constexpr double kFar = 1 << 30;
        return static_cast<int64_t>(std::clamp(RoundHalfEven(v), -kFar, kFar));
    };
    for (double pos = 0; pos <= extent; pos += size)
        strips.push_back({pos, fit(pos), fit(size), fit(size * std::sin(k * pos))});
    return strips;
}

// The strips whose position lies in [from, to), in order.
std::pair<const Strip*, const Strip*> StripsIn(const std::vector<Strip>& strips, int from, int to)
{
    const auto below = [](const Strip& s, double v) { return s.pos < v; };
    const auto at = [&](int v) {
        return strips.data() + (std::lower_bound(strips.begin(), strips.end(), double(v), below) - strips.begin());
    };
    return {at(from), at(to)};
}

inline uint32_t* RowOf(QImage& image, int64_t y) { return reinterpret_cast<uint32_t*>(image.scanLine(int(y))); }
inline const uint32_t* RowOf(const QImage& image, int64_t y)
{
    return reinterpret_cast<const uint32_t*>(image.constScanLine(int(y)));
}

// Strips of columns moved down from `from` onto `to` (both W x H). Every target row takes the
// band's strips in their order, so where rounded strips overlap the later one wins, as when
// each strip is copied whole in turn.
void MoveColumnStrips(const QImage& from, QImage& to, const Strip* begin, const Strip* end)
{
    const int w = from.width(), h = from.height();
    for (int y = 0; y < h; ++y) {
        uint32_t* out = RowOf(to, y);
        for (const Strip* s = begin; s != end; ++s) {
            const int64_t sy = y - s->shift;
            const int64_t n = std::min<int64_t>(s->size, w - s->first);
            if (sy < 0 || sy >= h || n <= 0) continue;
            std::memcpy(out + s->first, RowOf(from, sy) + s->first, static_cast<size_t>(n) * sizeof(uint32_t));
        }
    }
}

// Strips of rows moved right from `from` onto `to`.
void MoveRowStrips(const QImage& from, QImage& to, const Strip* begin, const Strip* end)
{
    const int64_t w = from.width(), h = from.height();
    for (const Strip* s = begin; s != end; ++s) {
        const int64_t dx = s->shift;
        const int64_t n = w - std::abs(dx);
        if (n <= 0) continue;
        for (int64_t y = s->first; y < std::min(h, s->first + s->size); ++y) {
            const uint32_t* in = RowOf(from, y);
            uint32_t* out = RowOf(to, y);
            std::memcpy(out + std::max<int64_t>(dx, 0), in + std::max<int64_t>(-dx, 0), static_cast<size_t>(n) * sizeof(uint32_t));
        }
    }
}

ColumnPass ColumnStripPass(std::shared_ptr<const std::vector<Strip>> strips,
                           std::function<const QImage&()> from, std::function<QImage&()> to,
                           float progressFrom, float progressSpan)
{
    ColumnPass pass;
    pass.progressFrom = progressFrom;
    pass.progressSpan = progressSpan;
    pass.columns = [strips, from, to](int x0, int x1) {
        const auto [begin, end] = StripsIn(*strips, x0, x1);
        if (begin != end) MoveColumnStrips(from(), to(), begin, end);
    };
    return pass;
}

} // namespace

QString ReadRoundWobblyValues(const QString& angle, const QString& width, const QString& height,
                              RoundWobblyParams* p)
{
    bool ok = false;
    const double a = DialogNumber(angle, &ok);
    if (!ok || a == 0) return QStringLiteral("angle");
    const double sw = DialogNumber(width, &ok);
    if (!ok || !(sw >= 1)) return QStringLiteral("width");
    const double sh = DialogNumber(height, &ok);
    if (!ok || !(sh >= 1)) return QStringLiteral("height");
    p->angle = a;
    p->width = sw;
    p->height = sh;
    return QString();
}

std::vector<ColumnPass> RoundWobblyPasses(WorkingCopy& work, const RoundWobblyParams& p)
{
    const double k = kPi / p.angle;
    const int w = work.width(), h = work.height();
    auto columns = std::make_shared<const std::vector<Strip>>(StripsAlong(w, p.width, k));
    auto rows = std::make_shared<const std::vector<Strip>>(StripsAlong(h, p.height, k));
    const auto original = [&work]() -> const QImage& { return work.original(); };
    const auto target = [&work]() -> QImage& { return work.image(); };
    const auto rowPass = [&work, rows, w, h](std::function<const QImage&()> from, float progressFrom,
                                             float progressSpan) {
        ColumnPass pass;
        pass.progressFrom = progressFrom;
        pass.progressSpan = progressSpan;
        pass.columns = [&work, rows, from, w, h](int x0, int x1) {
            const RowShare share = RowsOfBand(w, h, x0, x1);
            const auto [begin, end] = StripsIn(*rows, share.from, share.to);
            if (begin != end) MoveRowStrips(from(), work.image(), begin, end);
        };
        return pass;
    };
    switch (p.direction) {
    case RoundWobblyDirection::Top: return {ColumnStripPass(columns, original, target, 0, 100)};
    case RoundWobblyDirection::Left: return {rowPass(original, 0, 100)};
    case RoundWobblyDirection::Both: break;
    }
    // The column pass draws onto a second copy of the picture, from which the row pass takes
    // its strips.
    auto between = std::make_shared<QImage>();
    const auto second = [&work, between]() -> QImage& {
        if (between->isNull()) *between = work.original().copy();
        return *between;
    };
    return {ColumnStripPass(columns, original, second, 0, 50),
            rowPass([second]() -> const QImage& { return second(); }, 50, 50)};
}

bool ParseRoundWobblyParams(const EffectParams& params, RoundWobblyParams* out, QString* error)
{
    const QString effect = QStringLiteral("round-wobbly");
    RoundWobblyParams p;
    int direction = static_cast<int>(p.direction);
    if (!CheckParamNames(effect, params, {"direction", "angle", "width", "height"}, error)
        || !ReadChoiceParam(effect, params, "direction", {"top", "left", "both"}, &direction, error))
        return false;
    p.direction = static_cast<RoundWobblyDirection>(direction);
    const auto text = [&](const char* name, double value) {
        return params.value(QString::fromLatin1(name), QString::number(value));
    };
    const QString refused = ReadRoundWobblyValues(text("angle", p.angle), text("width", p.width),
                                                  text("height", p.height), &p);
    if (!refused.isEmpty()) {
        *error = refused == QLatin1String("angle")
                     ? QStringLiteral("%1: angle must be a number other than 0").arg(effect)
                     : QStringLiteral("%1: %2 must be a number of 1 or more").arg(effect, refused);
        return false;
    }
    *out = p;
    return true;
}

} // namespace orv
