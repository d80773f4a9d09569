#include "fills/grid.h"
#include "effects/batch_params.h"
#include "platform/dialog_text.h"
#include "platform/numbers.h"
#include "platform/raster.h"
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace orv {

namespace {

// Beyond this many lines the positions are exact integers no longer; the count is held there
// (such a grid covers every pixel anyway).
constexpr double kMaxLines = 9007199254740992.0;   // 2^53

// A position as the canvas receives it (single precision) and maps it to a pixel.
int64_t PixelOf(double v)
{
    const float f = float(v);
    if (!std::isfinite(f)) return f > 0 ? INT64_MAX / 4 : -INT64_MAX / 4;
    return int64_t(RoundHalfEven(double(f)));
}

// Paints `color` over positions p - w/2 .. p + w - 1 - w/2 of one line of pixel words.
void Stroke(std::vector<uint32_t>& line, int64_t p, int width, uint32_t color)
{
    const int64_t a = std::max<int64_t>(p - width / 2, 0);
    const int64_t b = std::min<int64_t>(p + width - 1 - width / 2, int64_t(line.size()) - 1);
    if (a <= b) FillPixels(line.data() + a, size_t(b - a + 1), color);
}

// The lines of one direction over `extent` pixels, painted in order onto a line of pixel
// words (0 where no line passes). Line i lies at i x (extent / count); with 3D its face line
// lies one unit before. Consecutive lines that land on the same pixels change nothing, so
// each run of them is painted once, found by bisection: the pixels never decrease with i.
std::vector<uint32_t> Lines(int extent, double count, const GridParams& p)
{
    std::vector<uint32_t> line(size_t(extent), 0);
    const double last = std::min(std::floor(count - 1), kMaxLines);
    if (!(last >= 1)) return line;
    const double spacing = double(extent) / count;
    struct Place {
        int64_t face, line;
        bool operator==(const Place&) const = default;
    };
    const auto place = [&](double i) {
        const double x = i * spacing;
        return Place{PixelOf(x - 1), PixelOf(x)};
    };
    const uint32_t face = ToPixel(p.face), shadow = ToPixel(p.shadow), plain = ToPixel(p.color);
    for (double i = 1; i <= last;) {
        const Place at = place(i);
        if (p.threeD) {
            Stroke(line, at.face, p.width, face);
            Stroke(line, at.line, p.width, shadow);
        } else {
            Stroke(line, at.line, p.width, plain);
        }
        // The last i with the same place: grow the step while it holds, then bisect.
        double same = i, step = 1;
        while (same + step <= last && place(same + step) == at) {
            same += step;
            step *= 2;
        }
        for (; step >= 1; step /= 2)
            if (same + step <= last && place(same + step) == at) same += step;
        i = same + 1;
    }
    return line;
}

} // namespace

double GridCountFromText(const QString& text)
{
    return DialogNumber(text);
}

bool GridWidthFromText(const QString& text, int* width)
{
    bool ok = false;
    const double v = DialogNumber(text, &ok);
    if (!ok || !(v >= 1) || RoundHalfEven(v) > kGridMaxWidth) return false;
    *width = int(RoundHalfEven(v));
    return true;
}

void DrawGrid(QImage& target, const GridParams& p)
{
    const int w = target.width(), h = target.height();
    if (w <= 0 || h <= 0) return;
    const std::vector<uint32_t> across = Lines(w, p.columns, p);   // the vertical lines, per column
    const std::vector<uint32_t> down = Lines(h, p.rows, p);        // the horizontal lines, per row

    // Runs of columns that vertical lines cover, copied into every row; a row that a
    // horizontal line covers takes its colour from end to end, as those are drawn last.
    struct Run {
        int from, to;
    };
    std::vector<Run> runs;
    for (int x = 0; x < w;) {
        if (!across[size_t(x)]) {
            ++x;
            continue;
        }
        const int from = x;
        while (x < w && across[size_t(x)]) ++x;
        runs.push_back({from, x});
    }
    if (runs.empty() && std::all_of(down.begin(), down.end(), [](uint32_t c) { return c == 0; })) return;
    DetachPixelBuffer(target);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(target.scanLine(y));
        if (const uint32_t c = down[size_t(y)]) {
            FillPixels(row, size_t(w), c);
            continue;
        }
        for (const Run& r : runs)
            std::memcpy(row + r.from, across.data() + r.from, size_t(r.to - r.from) * sizeof(uint32_t));
    }
}

bool ParseGridParams(const EffectParams& params, GridParams* out, QString* error)
{
    const QString effect = QStringLiteral("grid");
    if (!CheckParamNames(effect, params, {"columns", "rows", "3d", "width", "color"}, error))
        return false;
    GridParams p;
    int threeD = p.threeD;
    if (!ReadIntParam(effect, params, QStringLiteral("3d"), 0, 1, &threeD, error) ||
        !ReadColorParam(effect, params, QStringLiteral("color"), &p.color, error))
        return false;
    p.threeD = threeD;
    if (const auto it = params.constFind(QStringLiteral("columns")); it != params.cend())
        p.columns = GridCountFromText(it.value());
    if (const auto it = params.constFind(QStringLiteral("rows")); it != params.cend())
        p.rows = GridCountFromText(it.value());
    if (const auto it = params.constFind(QStringLiteral("width"));
        it != params.cend() && !GridWidthFromText(it.value(), &p.width)) {
        *error = QStringLiteral("%1: width must be a number from 1 to %2").arg(effect).arg(kGridMaxWidth);
        return false;
    }
    *out = p;
    return true;
}

} // namespace orv
