#include "effects/geometry_kernels.h"
#include "effects/batch_params.h"
#include "effects/geometry_row_kernels.h"
#include "effects/pixel_kernels.h"
#include "effects/rotate90.h"
#include "effects/rotate_row_kernels.h"
#include "effects/row_shares.h"
#include "effects/target_picture.h"
#include "platform/dialog_text.h"
#include "platform/numbers.h"
#include "platform/picture_codec.h"
#include "platform/raster.h"
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>

namespace orv {

namespace {

// The angle within 0 .. 360, and the quarter turns it makes when it is a multiple of 90.
double NormalAngle(double angle)
{
    double a = std::fmod(angle, 360.0);
    return a < 0 ? a + 360.0 : a;
}
int QuarterTurns(double angle)
{
    const double a = NormalAngle(angle);
    return std::fmod(a, 90.0) == 0 ? static_cast<int>(a / 90.0) : -1;
}

// A target of `size` filled row by row: rows(target, from, to) over the band's share of rows.
template <class Rows>
ColumnPass RowsPass(WorkingCopy& work, QSize size, Rows rows)
{
    return PassIntoTarget(work, size.width(), size.height(),
                          [size, rows](const WorkingCopy& src, QImage& dst, int x0, int x1) {
                              const RowShare share = RowsOfBand(src.width(), size.height(), x0, x1);
                              const PixelRows target(dst);
                              ForRowShares(share.from, share.to, size.width(),
                                           [&](int from, int to) { rows(src, target, from, to); });
                          });
}

std::vector<ColumnPass> TurnExactly(WorkingCopy& work, int quarters, QSize size)
{
    const int w = work.width(), h = work.height();
    if (quarters == 1) return Rotate90Passes(work);
    if (quarters == 3) return Rotate270Passes(work);
    return {RowsPass(work, size, [quarters, w, h](const WorkingCopy& src, const PixelRows& t, int from, int to) {
        for (int y = from; y < to; ++y) {
            uint32_t* out = t[y];
            std::memcpy(out, src.row(quarters == 0 ? y : h - 1 - y), size_t(w) * 4);
            if (quarters == 2) kernels::ReverseRow(out, size_t(w));
        }
    })};
}

// Fixed point with 32 fraction bits.
inline int64_t Fixed(double v) { return static_cast<int64_t>(std::llround(std::ldexp(v, 32))); }

} // namespace

QSize RotatedSize(int w, int h, double angle)
{
    const int q = QuarterTurns(angle);
    if (q >= 0) return q % 2 ? QSize(h, w) : QSize(w, h);
    const double r = NormalAngle(angle) * std::numbers::pi / 180.0;
    const double c = std::abs(std::cos(r)), s = std::abs(std::sin(r));
    const double tw = std::ceil(w * c + h * s - 1e-9), th = std::ceil(w * s + h * c - 1e-9);
    return {static_cast<int>(std::clamp(tw, 1.0, 1e9)), static_cast<int>(std::clamp(th, 1.0, 1e9))};
}

std::vector<ColumnPass> RotatePasses(WorkingCopy& work, const RotateParams& p)
{
    const int w = work.width(), h = work.height();
    const QSize size = RotatedSize(w, h, p.angle);
    if (const int q = QuarterTurns(p.angle); q >= 0) return TurnExactly(work, q, size);
    const double r = NormalAngle(p.angle) * std::numbers::pi / 180.0;
    const double c = std::cos(r), s = std::sin(r);
    const uint32_t back = ToPixel(p.background);
    // Target pixel (X, Y) samples the source at
    //   sx = dx cos + dy sin + w / 2 - 1/2,  sy = -dx sin + dy cos + h / 2 - 1/2,
    // dx, dy being the target pixel centre's distance from the target's centre; along a row
    // both move by a fixed step, added in 64-bit fixed point.
    const int64_t stepX = Fixed(c), stepY = Fixed(-s);
    const double tw = size.width(), th = size.height();
    const QImage& picture = work.unwritten();
    const auto* bits = reinterpret_cast<const uint32_t*>(picture.constBits());
    const auto stride = static_cast<size_t>(picture.bytesPerLine() / 4);
    return {RowsPass(work, size, [=](const WorkingCopy&, const PixelRows& t, int from, int to) {
        for (int yy = from; yy < to; ++yy) {
            const double dy = yy + 0.5 - th / 2, dx = 0.5 - tw / 2;
            kernels::RotateSampleRow(bits, stride, w, h, Fixed(dx * c + dy * s + w / 2.0 - 0.5),
                                     Fixed(-dx * s + dy * c + h / 2.0 - 0.5), stepX, stepY, back, t[yy],
                                     size_t(size.width()));
        }
    })};
}

namespace {

// The Lanczos-3 weights of one axis: target position i takes taps source positions from
// start[i], with weights in fixed point of kWeightBits bits that add up to exactly 1. Those
// past the source's end weigh 0.
constexpr int kWeightBits = 22;
struct AxisWeights {
    int taps = 0;
    std::vector<int32_t> start;
    std::vector<int32_t> weight;   // weight k of position i at [i * taps + k], or [k * to + i] by tap
};

double Lanczos3(double x)
{
    x = std::abs(x);
    if (x < 1e-12) return 1.0;
    if (x >= 3.0) return 0.0;
    const double px = std::numbers::pi * x;
    return 3.0 * std::sin(px) * std::sin(px / 3.0) / (px * px);
}

AxisWeights MakeWeights(int from, int to, bool byTap)
{
    AxisWeights a;
    const double scale = double(from) / to;   // source pixels per target pixel
    const double footprint = std::max(scale, 1.0);
    const double support = 3.0 * footprint;
    a.taps = static_cast<int>(std::ceil(support)) * 2 + 1;
    a.start.resize(size_t(to));
    a.weight.assign(size_t(to) * a.taps, 0);
    std::vector<double> wd(size_t(a.taps));
    for (int i = 0; i < to; ++i) {
        const double centre = (i + 0.5) * scale;
        const int first = std::max(0, static_cast<int>(std::floor(centre - support + 0.5)));
        const int last = std::min(from, static_cast<int>(std::floor(centre + support + 0.5)));
        const int n = std::min(a.taps, last - first);
        a.start[i] = first;
        double sum = 0;
        for (int k = 0; k < n; ++k) sum += wd[k] = Lanczos3((first + k + 0.5 - centre) / footprint);
        int32_t* w = &a.weight[size_t(i) * a.taps];
        int32_t total = 0, best = 0;
        for (int k = 0; k < n; ++k) {
            w[k] = static_cast<int32_t>(std::lround(std::ldexp(wd[k] / sum, kWeightBits)));
            total += w[k];
            if (w[k] > w[best]) best = k;
        }
        w[best] += (1 << kWeightBits) - total;
    }
    if (byTap) {
        std::vector<int32_t> byPosition = std::move(a.weight);
        a.weight.resize(byPosition.size());
        for (int i = 0; i < to; ++i)
            for (int k = 0; k < a.taps; ++k) a.weight[size_t(k) * to + i] = byPosition[size_t(i) * a.taps + k];
    }
    return a;
}

// One axis's filter from `src` into `dst` (rows from .. to-1 of dst); `across` filters along
// rows with weights by tap, else down the columns.
void FilterRows(const QImage& src, const PixelRows& dst, int dstWidth, const AxisWeights& a, bool across,
                int from, int to)
{
    const auto row = [&src](int y) { return reinterpret_cast<const uint32_t*>(src.constScanLine(y)); };
    std::vector<const uint32_t*> taps;
    for (int y = from; y < to; ++y) {
        if (across) {
            kernels::FilterAlongRow(row(y), size_t(src.width()), a.start.data(), a.weight.data(), size_t(a.taps),
                                    kWeightBits, dst[y], size_t(dstWidth));
            continue;
        }
        const int s = a.start[y];
        const int n = std::min(a.taps, src.height() - s);
        taps.clear();
        for (int k = 0; k < n; ++k) taps.push_back(row(s + k));
        kernels::FilterDownRow(taps.data(), &a.weight[size_t(y) * a.taps], taps.size(), kWeightBits, dst[y],
                               size_t(dstWidth));
    }
}

// The nearest pixel: target position i of `to` takes the source position under its centre.
int NearestStart(int i, int from, int to) { return static_cast<int>((int64_t{2} * i + 1) * from / (int64_t{2} * to)); }

// The nearest pixel both ways in one pass, with no picture in between: target row y is the
// source row under it, gathered by the columns' nearest pixels, the top byte 0xFF as in every
// resized picture.
ColumnPass NearestPass(WorkingCopy& work, QSize size)
{
    const int w = work.width(), h = work.height();
    auto columns = std::make_shared<std::vector<int32_t>>(size_t(size.width()));
    for (int i = 0; i < size.width(); ++i) (*columns)[size_t(i)] = NearestStart(i, w, size.width());
    return RowsPass(work, size, [=](const WorkingCopy& src, const PixelRows& t, int from, int to) {
        const auto n = size_t(size.width());
        for (int y = from; y < to; ++y) {
            const uint32_t* in = src.row(NearestStart(y, h, size.height()));
            if (size.width() == w) {
                kernels::MaskRow(in, t[y], n, 0, ~0u, kPixelOpaque);
                continue;
            }
            kernels::GatherRow(in, columns->data(), t[y], n);
            kernels::MaskRow(t[y], t[y], n, 0, ~0u, kPixelOpaque);
        }
    });
}

} // namespace

std::vector<ColumnPass> ResizePasses(WorkingCopy& work, const ResizeParams& p)
{
    const int w = work.width(), h = work.height();
    if (p.width == w && p.height == h) return {};
    if (p.filter == ResizeFilter::Nearest) return {NearestPass(work, QSize(p.width, p.height))};
    // The smaller of the two possible in-between pictures is made.
    const bool acrossFirst = int64_t{p.width} * h <= int64_t{w} * p.height;
    struct Step {
        bool across;
        QSize size;
    };
    std::vector<Step> steps;
    const QSize across(p.width, acrossFirst ? h : p.height), down(acrossFirst ? p.width : w, p.height);
    for (const bool a : {acrossFirst, !acrossFirst})
        if (a ? p.width != w : p.height != h) steps.push_back({a, a ? across : down});
    auto between = std::make_shared<QImage>();
    std::vector<ColumnPass> passes;
    for (size_t i = 0; i < steps.size(); ++i) {
        const Step step = steps[i];
        const bool last = i + 1 == steps.size();
        auto weights = std::make_shared<AxisWeights>(
            step.across ? MakeWeights(w, p.width, true) : MakeWeights(h, p.height, false));
        auto target = std::make_shared<QImage>();
        ColumnPass pass;
        pass.progressFrom = 100.0f * i / steps.size();
        pass.progressSpan = 100.0f / steps.size();
        pass.columns = [&work, step, last, i, weights, target, between, w](int x0, int x1) {
            if (x0 == 0) {
                *target = NewUninitializedPixelBuffer(step.size.width(), step.size.height());
                SetResolution(*target, work.resolution());
            }
            const QImage& src = i == 0 ? work.unwritten() : *between;
            const RowShare share = RowsOfBand(w, step.size.height(), x0, x1);
            const PixelRows rows(*target);
            ForRowShares(share.from, share.to, int64_t{step.size.width()} * weights->taps, [&](int from, int to) {
                FilterRows(src, rows, step.size.width(), *weights, step.across, from, to);
            });
            if (x1 < w) return;
            if (last) work.replace(std::move(*target));
            else *between = std::move(*target);
        };
        passes.push_back(pass);
    }
    return passes;
}

std::vector<ColumnPass> BorderPasses(WorkingCopy& work, const BorderParams& p)
{
    const int w = work.width(), h = work.height(), b = p.width;
    const QSize size(w + 2 * b, h + 2 * b);
    const uint32_t color = ToPixel(p.color);
    return {RowsPass(work, size, [=](const WorkingCopy& src, const PixelRows& t, int from, int to) {
        for (int y = from; y < to; ++y) {
            uint32_t* out = t[y];
            if (y < b || y >= b + h) {
                FillPixels(out, size_t(size.width()), color);
                continue;
            }
            FillPixels(out, size_t(b), color);
            std::memcpy(out + b, src.row(y - b), size_t(w) * 4);
            FillPixels(out + b + w, size_t(b), color);
        }
    })};
}

namespace {

QString SizeRefusal(double w, double h, const QString& what)
{
    if (w > kMaxPictureSide || h > kMaxPictureSide || w * h > double(kMaxPicturePixels))
        return QStringLiteral("%1 would measure %2 x %3 pixels: a picture may have at most %4 pixels a side and %5 pixels in all.")
            .arg(what, QString::number(w, 'f', 0), QString::number(h, 'f', 0))
            .arg(kMaxPictureSide)
            .arg(kMaxPicturePixels);
    return {};
}

} // namespace

QString AngleRefusal(const QString& text, double* angle)
{
    bool ok = false;
    const double a = DialogNumber(text, &ok);
    if (!ok || !std::isfinite(a) || NormalAngle(a) == 0)
        return QStringLiteral("The angle must be a number of degrees that is not 0 or a whole number of turns.");
    *angle = a;
    return {};
}

QString RotateSizeRefusal(int w, int h, double angle)
{
    const double r = NormalAngle(angle) * std::numbers::pi / 180.0;
    const double c = std::abs(std::cos(r)), s = std::abs(std::sin(r));
    if (QuarterTurns(angle) >= 0) return {};
    return SizeRefusal(std::ceil(w * c + h * s - 1e-9), std::ceil(w * s + h * c - 1e-9),
                       QStringLiteral("The turned picture"));
}

QString SideRefusal(const QString& text, bool percent, int current, const char* name, int* side)
{
    bool ok = false;
    const double v = DialogNumber(text, &ok);
    const double pixels = RoundHalfEven(percent ? v * current / 100.0 : v);
    if (!ok || !(pixels >= 1 && pixels <= kMaxPictureSide))
        return percent ? QStringLiteral("The %1 must be a percentage that gives 1 to %2 pixels.").arg(QString::fromLatin1(name)).arg(kMaxPictureSide)
                       : QStringLiteral("The %1 must be a number of pixels from 1 to %2.").arg(QString::fromLatin1(name)).arg(kMaxPictureSide);
    *side = static_cast<int>(pixels);
    return {};
}

QString ResizeSizeRefusal(int64_t w, int64_t h)
{
    return SizeRefusal(double(w), double(h), QStringLiteral("The resized picture"));
}

QString BorderWidthRefusal(const QString& text, int w, int h, int* width)
{
    bool ok = false;
    const double v = RoundHalfEven(DialogNumber(text, &ok));
    if (!ok || !(v >= 1 && v <= kMaxPictureSide))
        return QStringLiteral("The border width must be a number of pixels from 1 to %1.").arg(kMaxPictureSide);
    const QString tooLarge = SizeRefusal(w + 2 * v, h + 2 * v, QStringLiteral("The picture with its border"));
    if (!tooLarge.isEmpty()) return tooLarge;
    *width = static_cast<int>(v);
    return {};
}

namespace {

bool Refuse(const QString& effect, const QString& message, QString* error)
{
    if (message.isEmpty()) return false;
    *error = effect + QStringLiteral(": ") + message;
    return true;
}

bool ParseRotate(const EffectParams& params, RotateParams* p, QString* error)
{
    const QString effect = QStringLiteral("rotate");
    if (!CheckParamNames(effect, params, {"angle"}, error)) return false;
    const auto it = params.constFind(QStringLiteral("angle"));
    return it == params.cend() || !Refuse(effect, AngleRefusal(it.value(), &p->angle), error);
}

// A side given as pixels or as a percentage (ending in %), checked without the picture: a
// percentage must be a number above 0, pixels a number of 1 to the side limit.
bool SideText(const EffectParams& params, const char* name, QString* error)
{
    const auto it = params.constFind(QString::fromLatin1(name));
    if (it == params.cend()) return true;
    QString text = it.value();
    if (!text.endsWith(u'%')) {
        int side = 0;
        return !Refuse(QStringLiteral("resize"), SideRefusal(text, false, 1, name, &side), error);
    }
    text.chop(1);
    double v = 0;
    if (DialogNumberAbove(text, 0, &v)) return true;
    *error = QStringLiteral("resize: %1 must be a number of pixels or a percentage above 0").arg(QString::fromLatin1(name));
    return false;
}

bool ParseBorder(const EffectParams& params, BorderParams* p, QString* error, int w, int h)
{
    const QString effect = QStringLiteral("border");
    if (!CheckParamNames(effect, params, {"width", "color"}, error)) return false;
    if (!ReadColorParam(effect, params, QStringLiteral("color"), &p->color, error)) return false;
    const auto it = params.constFind(QStringLiteral("width"));
    return it == params.cend() || !Refuse(effect, BorderWidthRefusal(it.value(), w, h, &p->width), error);
}

} // namespace

bool CheckRotateParams(const EffectParams& params, QString* error)
{
    RotateParams p;
    return ParseRotate(params, &p, error);
}

bool RunRotateBatch(QImage& image, const EffectParams& params, ProgressSink* sink, QString* error)
{
    RotateParams p;
    if (!ParseRotate(params, &p, error)) return false;
    if (Refuse(QStringLiteral("rotate"), RotateSizeRefusal(image.width(), image.height(), p.angle), error)) return false;
    return RunOnWorkingCopy(image, [&p](WorkingCopy& work) { return RotatePasses(work, p); }, sink);
}

bool CheckResizeParams(const EffectParams& params, QString* error)
{
    if (!CheckParamNames(QStringLiteral("resize"), params, {"width", "height", "filter"}, error)) return false;
    int filter = 0;
    return SideText(params, "width", error) && SideText(params, "height", error)
           && ReadChoiceParam(QStringLiteral("resize"), params, QStringLiteral("filter"),
                              {QStringLiteral("lanczos"), QStringLiteral("nearest")}, &filter, error);
}

bool RunResizeBatch(QImage& image, const EffectParams& params, ProgressSink* sink, QString* error)
{
    if (!CheckResizeParams(params, error)) return false;
    const QString effect = QStringLiteral("resize");
    const int w = image.width(), h = image.height();
    // A side left out follows the other in proportion; both left out keep the size.
    int64_t side[2] = {w, h};
    bool given[2] = {false, false};
    for (int i = 0; i < 2; ++i) {
        const char* name = i == 0 ? "width" : "height";
        const auto it = params.constFind(QString::fromLatin1(name));
        if (it == params.cend()) continue;
        QString text = it.value();
        const bool percent = text.endsWith(u'%');
        if (percent) text.chop(1);
        int v = 0;
        if (Refuse(effect, SideRefusal(text, percent, i == 0 ? w : h, name, &v), error)) return false;
        side[i] = v;
        given[i] = true;
    }
    if (given[0] != given[1]) {
        const int k = given[0] ? 1 : 0;
        side[k] = std::max<int64_t>(1, std::llround(double(side[1 - k]) * (k == 1 ? h : w) / (k == 1 ? w : h)));
    }
    if (Refuse(effect, ResizeSizeRefusal(side[0], side[1]), error)) return false;
    ResizeParams p{int(side[0]), int(side[1]), ResizeFilter::Lanczos};
    int filter = 0;
    ReadChoiceParam(effect, params, QStringLiteral("filter"), {QStringLiteral("lanczos"), QStringLiteral("nearest")}, &filter, error);
    p.filter = ResizeFilter(filter);
    if (p.width == w && p.height == h) return true;
    return RunOnWorkingCopy(image, [&p](WorkingCopy& work) { return ResizePasses(work, p); }, sink);
}

bool CheckBorderParams(const EffectParams& params, QString* error)
{
    BorderParams p;
    return ParseBorder(params, &p, error, 1, 1);
}

bool RunBorderBatch(QImage& image, const EffectParams& params, ProgressSink* sink, QString* error)
{
    BorderParams p;
    if (!ParseBorder(params, &p, error, image.width(), image.height())) return false;
    return RunOnWorkingCopy(image, [&p](WorkingCopy& work) { return BorderPasses(work, p); }, sink);
}

} // namespace orv
