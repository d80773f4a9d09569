#include "fills/gradient.h"
#include "effects/batch_params.h"
#include "fills/gradient_dots.h"
#include "platform/numbers.h"
#include "platform/raster.h"
#include <algorithm>
#include <cstring>
#include <vector>

namespace orv {

namespace {

// The band colours as pixel words, from the running sums.
std::vector<uint32_t> BandColors(ColorRef from, ColorRef to, int bands)
{
    const ColorParts a = SplitColor(from), b = SplitColor(to);
    const float dr = float(double(b.red - a.red) / bands);
    const float dg = float(double(b.green - a.green) / bands);
    const float db = float(double(b.blue - a.blue) / bands);
    float r = float(a.red), g = float(a.green), bl = float(a.blue);
    std::vector<uint32_t> colors(static_cast<size_t>(bands));
    for (uint32_t& c : colors) {
        c = ToPixel(RGB(int(RoundHalfEven(r)), int(RoundHalfEven(g)), int(RoundHalfEven(bl))));
        r += dr;
        g += dg;
        bl += db;
    }
    return colors;
}

} // namespace

void DrawLinearGradient(QImage& target, ColorRef from, ColorRef to, int direction)
{
    const int w = target.width(), h = target.height();
    const int length = direction == 1 ? h : w;
    if (length <= 4) return;
    const std::vector<uint32_t> band = BandColors(from, to, length - 4);
    const auto bandOf = [&band](int k) { return band[size_t(std::min<int>(k, int(band.size()) - 1))]; };
    DetachPixelBuffer(target);
    // Painted: lines 0 .. L - 3 along the gradient, 0 .. (other side) - 3 across it.
    if (direction == 1) {
        for (int y = 0; y <= h - 3; ++y) {
            FillPixels(reinterpret_cast<uint32_t*>(target.scanLine(y)), size_t(std::max(w - 2, 0)), bandOf(y));
        }
    } else {
        if (h < 3) return;
        std::vector<uint32_t> pattern(static_cast<size_t>(w - 2));
        for (int x = 0; x < w - 2; ++x) pattern[size_t(x)] = bandOf(x);
        for (int y = 0; y <= h - 3; ++y)
            std::memcpy(target.scanLine(y), pattern.data(), pattern.size() * sizeof(uint32_t));
    }
}

void DrawGradient(QImage& target, const GradientParams& p)
{
    switch (p.style) {
    case GradientStyle::Horizontal: DrawLinearGradient(target, p.from, p.to, 1); break;
    case GradientStyle::Vertical: DrawLinearGradient(target, p.from, p.to, 0); break;
    case GradientStyle::Special: DrawSpecialGradient(target); break;
    }
}

bool ParseGradientParams(const EffectParams& params, GradientParams* out, QString* error)
{
    const QString effect = QStringLiteral("gradient");
    if (!CheckParamNames(effect, params, {"style", "from", "to"}, error)) return false;
    GradientParams p;
    int style = int(p.style);
    if (!ReadChoiceParam(effect, params, QStringLiteral("style"),
                         {"horizontal", "vertical", "special"}, &style, error) ||
        !ReadColorParam(effect, params, QStringLiteral("from"), &p.from, error) ||
        !ReadColorParam(effect, params, QStringLiteral("to"), &p.to, error))
        return false;
    p.style = GradientStyle(style);
    *out = p;
    return true;
}

} // namespace orv
