#include "effects/tornado.h"
#include "effects/batch_params.h"
#include "effects/row_shares.h"
#include "effects/target_picture.h"
#include "platform/dialog_text.h"
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace orv {

namespace {

// The colour between the four pixels around (sx, sy), channel by channel in 256ths.
uint32_t Bilinear(const WorkingCopy& src, double sx, double sy)
{
    const int w = src.width(), h = src.height();
    sx = std::clamp(sx, 0.0, double(w - 1));
    sy = std::clamp(sy, 0.0, double(h - 1));
    int x0 = static_cast<int>(sx), y0 = static_cast<int>(sy);
    int wx = static_cast<int>((sx - x0) * 256 + 0.5), wy = static_cast<int>((sy - y0) * 256 + 0.5);
    const int x1 = std::min(x0 + 1, w - 1), y1 = std::min(y0 + 1, h - 1);
    const uint32_t* top = src.row(y0);
    const uint32_t* bottom = src.row(y1);
    const uint32_t p[4] = {top[x0], top[x1], bottom[x0], bottom[x1]};
    const int k[4] = {(256 - wx) * (256 - wy), wx * (256 - wy), (256 - wx) * wy, wx * wy};
    uint32_t out = kPixelOpaque;
    for (int shift = 0; shift < 24; shift += 8) {
        uint32_t sum = 0;
        for (int i = 0; i < 4; ++i) sum += ((p[i] >> shift) & 0xFFu) * uint32_t(k[i]);
        out |= ((sum + 32768) >> 16) << shift;
    }
    return out;
}

} // namespace

bool TornadoAngleFromText(const QString& text, double* angle)
{
    bool ok = false;
    const double v = DialogNumber(text, &ok);
    if (!ok || std::abs(v) > kTornadoAngleMax) return false;
    *angle = v;
    return true;
}

bool TornadoRadiusFromText(const QString& text, double* radius)
{
    double v = 0;
    if (!DialogNumberAbove(text, 0, &v) || v > kTornadoRadiusMax) return false;
    *radius = v;
    return true;
}

std::vector<ColumnPass> TornadoPasses(WorkingCopy& work, const TornadoParams& p)
{
    const int w = work.width(), h = work.height();
    const double cx = (w - 1) / 2.0, cy = (h - 1) / 2.0;
    const double radius = p.radius;
    const double turn = p.angle * std::numbers::pi / 180;
    auto swirl = [=](const WorkingCopy& src, QImage& dst, int x0, int x1) {
        const PixelRows target(dst);
        const RowShare rows = RowsOfBand(w, h, x0, x1);
        ForRowShares(rows.from, rows.to, w, [&](int from, int to) {
            for (int y = from; y < to; ++y) {
                const double dy = y - cy;
                uint32_t* out = target[y];
                std::memcpy(out, src.row(y), size_t(w) * 4);
                if (std::abs(dy) >= radius) continue;
                // Only the columns within the radius on this row change.
                const double reach = std::sqrt(radius * radius - dy * dy);
                const int first = std::max(0, static_cast<int>(std::ceil(cx - reach)));
                const int last = std::min(w - 1, static_cast<int>(std::floor(cx + reach)));
                for (int x = first; x <= last; ++x) {
                    const double dx = x - cx;
                    const double d = std::sqrt(dx * dx + dy * dy);
                    if (d >= radius) continue;
                    const double f = 1 - d / radius;
                    const double t = turn * f * f;
                    const double c = std::cos(t), s = std::sin(t);
                    out[x] = Bilinear(src, cx + dx * c - dy * s, cy + dx * s + dy * c);
                }
            }
        });
    };
    return {PassIntoTarget(work, w, h, swirl)};
}

bool ParseTornadoParams(const EffectParams& params, TornadoParams* out, QString* error)
{
    const QString effect = QStringLiteral("tornado");
    TornadoParams p;
    if (!CheckParamNames(effect, params, {"angle", "radius"}, error)
        || !ReadNumberParam(effect, params, "angle", TornadoAngleFromText,
                            QStringLiteral("a number from -3600 to 3600"), &p.angle, error)
        || !ReadNumberParam(effect, params, "radius", TornadoRadiusFromText,
                            QStringLiteral("a number above 0 and at most 32768"), &p.radius, error))
        return false;
    *out = p;
    return true;
}

} // namespace orv
