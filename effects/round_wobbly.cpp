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

// A strip: its first column (row) and size in pixels, and how far it moves.
struct Strip {
    int64_t first;
    int64_t size;
    int64_t shift;
};
using Strips = std::vector<Strip>;

Strips StripsAlong(int extent, double size, double k)
{
    Strips strips;
    const auto fit = [](double v) {   // far beyond any picture every value acts alike
        constexpr double kFar = 1 << 30;
        return static_cast<int64_t>(std::clamp(RoundHalfEven(v), -kFar, kFar));
    };
    for (double pos = 0; pos <= extent; pos += size)
        strips.push_back({fit(pos), fit(size), fit(size * std::sin(k * pos))});
    return strips;
}

inline const uint32_t* RowOf(const QImage& image, int64_t y)
{
    return reinterpret_cast<const uint32_t*>(image.constScanLine(int(y)));
}

// Row y of a column pass: `out` holds row y of the picture the strips are drawn over; each
// strip in turn puts its columns of source row y - shift there, so where rounded strips overlap
// the later one wins, as when each strip is copied whole in turn.
void ColumnStripsRow(const QImage& from, int64_t y, uint32_t* out, const Strips& strips)
{
    const int64_t w = from.width(), h = from.height();
    for (const Strip& s : strips) {
        const int64_t sy = y - s.shift;
        const int64_t n = std::min(s.size, w - s.first);
        if (sy < 0 || sy >= h || n <= 0) continue;
        std::memcpy(out + s.first, RowOf(from, sy) + s.first, static_cast<size_t>(n) * sizeof(uint32_t));
    }
}

// Row y of a row pass: `out` holds row y of the picture the strips are drawn over; every strip
// that covers row y, in turn, puts `from` (row y of the strips' source) there moved right by
// its shift.
void RowStripsRow(const uint32_t* from, int64_t y, uint32_t* out, int64_t w, const Strips& strips)
{
    // All strips have one size, so the ones covering y are those starting in (y - size, y].
    const int64_t size = strips.front().size;
    const auto after = [](int64_t v, const Strip& s) { return v < s.first; };
    auto s = std::upper_bound(strips.begin(), strips.end(), y - size, after);
    for (; s != strips.end() && s->first <= y; ++s) {
        const int64_t dx = s->shift;
        const int64_t n = w - std::abs(dx);
        if (n > 0)
            std::memcpy(out + std::max<int64_t>(dx, 0), from + std::max<int64_t>(-dx, 0), static_cast<size_t>(n) * sizeof(uint32_t));
    }
}

// A pass whose target rows are computed whole, top to bottom, each from rows the pass does not
// change; a band of columns computes its share of rows (see RowsOfBand). fillRow(y) writes
// target row y completely.
ColumnPass RowwisePass(WorkingCopy& work, float progressFrom, float progressSpan,
                       std::function<void(int y)> fillRow)
{
    ColumnPass pass;
    pass.progressFrom = progressFrom;
    pass.progressSpan = progressSpan;
    pass.columns = [&work, fillRow = std::move(fillRow)](int x0, int x1) {
        const RowShare rows = RowsOfBand(work.width(), work.height(), x0, x1);
        for (int y = rows.from; y < rows.to; ++y) fillRow(y);
    };
    return pass;
}

// Row y of the working copy as the picture it was, to draw strips over.
uint32_t* OriginalRow(WorkingCopy& work, int y)
{
    const WorkingCopy::MappedRows row = work.mapRows(y, y + 1);
    if (row.in(y) != row.out(y)) std::memcpy(row.out(y), row.in(y), static_cast<size_t>(work.width()) * sizeof(uint32_t));
    return row.out(y);
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
    // Strips are drawn over the picture as it was and taken from it (or, for the rows of
    // "Both", from the moved columns), never from what the pass writes: the working copy's
    // original stays as the canvas was.
    const double k = kPi / p.angle;
    const int w = work.width();
    auto columns = std::make_shared<const Strips>(StripsAlong(w, p.width, k));
    auto rows = std::make_shared<const Strips>(StripsAlong(work.height(), p.height, k));
    const auto movedColumns = [&work, columns](int y) {
        ColumnStripsRow(work.original(), y, OriginalRow(work, y), *columns);
    };
    const auto movedRows = [&work, rows, w](int y) {
        RowStripsRow(RowOf(work.original(), y), y, OriginalRow(work, y), w, *rows);
    };
    switch (p.direction) {
    case RoundWobblyDirection::Top: return {RowwisePass(work, 0, 100, movedColumns)};
    case RoundWobblyDirection::Left: return {RowwisePass(work, 0, 100, movedRows)};
    case RoundWobblyDirection::Both: break;
    }
    // The columns are moved in the working copy first; then each row of that result is taken
    // aside and the row strips are drawn from it over the row as it was.
    auto line = std::make_shared<std::vector<uint32_t>>(static_cast<size_t>(w));
    const auto rowsOfMovedColumns = [&work, rows, w, line](int y) {
        uint32_t* row = work.row(y);
        std::copy(row, row + w, line->begin());
        std::memcpy(row, RowOf(work.original(), y), static_cast<size_t>(w) * sizeof(uint32_t));
        RowStripsRow(line->data(), y, row, w, *rows);
    };
    return {RowwisePass(work, 0, 50, movedColumns), RowwisePass(work, 50, 50, rowsOfMovedColumns)};
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
