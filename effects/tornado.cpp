#include "effects/tornado.h"
#include "effects/batch_params.h"
#include "effects/row_shares.h"
#include "effects/target_picture.h"
#include "effects/tornado_kernels.h"
#include "platform/dialog_text.h"
#include <algorithm>
#include <cmath>
#include <cstring>

namespace orv {

namespace {

// floor(sqrt(v)) for v >= 0.
int64_t IntegerRoot(int64_t v)
{
    int64_t r = static_cast<int64_t>(std::sqrt(static_cast<double>(v)));
    while (r * r > v) --r;
    while ((r + 1) * (r + 1) <= v) ++r;
    return r;
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
    const kernels::Swirl swirl{static_cast<float>((w - 1) / 2.0), static_cast<float>((h - 1) / 2.0),
                               static_cast<float>(1 / p.radius), static_cast<float>(p.angle / 360)};
    // In doubled coordinates (2x - (w - 1), 2y - (h - 1)) a pixel lies within the radius when
    // their squares add up to less than 4 radius^2, that is to at most `within`.
    const int64_t within = static_cast<int64_t>(std::ceil(4 * p.radius * p.radius)) - 1;
    auto swirled = [=, &work](const WorkingCopy&, QImage& dst, int x0, int x1) {
        const QImage& src = work.unwritten();
        const auto* pixels = reinterpret_cast<const uint32_t*>(src.constBits());
        const size_t stride = static_cast<size_t>(src.bytesPerLine()) / 4;
        const PixelRows target(dst);
        const RowShare rows = RowsOfBand(w, h, x0, x1);
        ForRowShares(rows.from, rows.to, w, [&](int from, int to) {
            for (int y = from; y < to; ++y) {
                uint32_t* out = target[y];
                std::memcpy(out, pixels + y * stride, size_t(w) * 4);
                const int64_t dy = 2 * int64_t{y} - (h - 1);
                if (dy * dy > within) continue;
                // Only the columns within the radius on this row change.
                const int64_t reach = IntegerRoot(within - dy * dy);
                const int first = static_cast<int>(std::max<int64_t>(0, (w - 1 - reach + 1) / 2));
                const int last = static_cast<int>(std::min<int64_t>(w - 1, (w - 1 + reach) / 2));
                if (first <= last) kernels::SwirlRow(pixels, stride, w, h, y, first, last + 1, swirl, out);
            }
        });
    };
    return {PassIntoTarget(work, w, h, swirled)};
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
