#include "fills/mix.h"
#include "documents/image_loader.h"
#include "effects/batch_params.h"
#include "fills/mix_order.h"
#include "platform/dialog_text.h"
#include "platform/numbers.h"
#include <algorithm>
#include <climits>

namespace orv {

bool MaximumFromText(const QString& text, double* maximum)
{
    return DialogNumberAbove(text, 0.0, maximum);
}

int SliderMaximum(double maximum)
{
    return static_cast<int>(std::min(RoundHalfEven(maximum), static_cast<double>(INT_MAX)));
}

int MixCells(int level, double maximum)
{
    // A slider maximum rounded up from M (2.6 gives 3) lets L x 64 / M pass 64: the pattern
    // has no more cells than that. Level 0 switches none, however small M is.
    if (level <= 0) return 0;
    const double n = RoundHalfEven(level * (64.0 / maximum));
    return static_cast<int>(std::clamp(n, 0.0, 64.0));
}

Pattern8x8 MakeMixBrush(int level, double maximum, bool reverse)
{
    Pattern8x8 brush;
    brush.rows.fill(0xFF);
    const int n = MixCells(level, maximum);
    for (int i = 0; i < n; ++i) {
        const int p = kMixOrder[static_cast<size_t>(i)] - 1;
        // Byte row p / 8 of the bottom-up pattern is screen row 7 - p / 8; bit p % 8 counted
        // from the right is screen column 7 - p % 8, i.e. bit p % 8 of the screen row's byte.
        brush.rows[static_cast<size_t>(7 - p / 8)] &= static_cast<uint8_t>(~(1u << (p % 8)));
    }
    if (reverse)
        for (uint8_t& row : brush.rows) row = static_cast<uint8_t>(~row);
    return brush;
}

void MixPicture(QImage& canvas, const QImage& pictureB, const Pattern8x8& brush, bool resize)
{
    const int w = canvas.width(), h = canvas.height();
    if (!resize || pictureB.size() == canvas.size()) {
        BlitPatternSelect(canvas, 0, 0, w, h, pictureB, 0, 0, brush);
        return;
    }
    // B is stretched a band of rows at a time into a buffer that stays in the cache, and each
    // band is mixed in straight away.
    constexpr int kBandRows = 32;
    QImage band = NewUninitializedPixelBuffer(w, std::min(h, kBandRows));
    for (int top = 0; top < h; top += kBandRows) {
        const int rows = std::min(kBandRows, h - top);
        StretchBlt(band, 0, -top, w, h, pictureB, 0, 0, pictureB.width(), pictureB.height(), Rop::SrcCopy);
        BlitPatternSelect(canvas, 0, top, w, rows, band, 0, 0, brush);
    }
}

bool ParseMixParams(const EffectParams& params, MixParams* out, QString* error)
{
    const QString effect = QStringLiteral("mix");
    if (!CheckParamNames(effect, params, {"file", "level", "max", "reverse", "resize"}, error)) return false;
    MixParams p;
    p.file = params.value(QStringLiteral("file"));
    if (p.file.isEmpty()) {
        *error = QStringLiteral("mix: file must name the picture to mix in");
        return false;
    }
    int reverse = 0, resize = 0;
    if (!ReadNumberParam(effect, params, QStringLiteral("max"), MaximumFromText,
                         QStringLiteral("a number greater than 0"), &p.maximum, error)
        || !ReadIntParam(effect, params, QStringLiteral("level"), 0, SliderMaximum(p.maximum), &p.level, error)
        || !ReadIntParam(effect, params, QStringLiteral("reverse"), 0, 1, &reverse, error)
        || !ReadIntParam(effect, params, QStringLiteral("resize"), 0, 1, &resize, error))
        return false;
    p.reverse = reverse != 0;
    p.resize = resize != 0;
    *out = p;
    return true;
}

bool RunMixBatch(QImage& image, const EffectParams& params, ProgressSink*, QString* error)
{
    MixParams p;
    if (!ParseMixParams(params, &p, error)) return false;
    const DecodedPicture b = ReadPictureFile(p.file);
    if (!b.ok()) {
        *error = QStringLiteral("mix: ") + b.error;
        return false;
    }
    MixPicture(image, b.image, MakeMixBrush(p.level, p.maximum, p.reverse), p.resize);
    return true;
}

} // namespace orv
