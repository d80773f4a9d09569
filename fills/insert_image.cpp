#include "fills/insert_image.h"
#include "documents/image_loader.h"
#include "effects/batch_params.h"
#include <algorithm>

namespace orv {

void TransparentBlit(QImage& canvas, const QImage& picture, ColorRef key)
{
    const QImage src = ToPixelFormat(picture);
    const int w = std::min(canvas.width(), src.width());
    const int h = std::min(canvas.height(), src.height());
    const uint32_t k = uint32_t(key) & kColorMask;
    DetachPixelBuffer(canvas);
    for (int y = 0; y < h; ++y) {
        auto* out = reinterpret_cast<uint32_t*>(canvas.scanLine(y));
        const auto* in = reinterpret_cast<const uint32_t*>(src.constScanLine(y));
        for (int x = 0; x < w; ++x) out[x] = (out[x] & kColorMask) == k ? in[x] : out[x];
    }
}

bool InsertImageFromFile(QImage& canvas, const InsertImageParams& p, QString* error)
{
    // Transparent parts of the picture show the canvas under them, which is what they are
    // composed onto: where that is the key colour, it stays so.
    const DecodedPicture picture = ReadPictureFile(p.file, p.key);
    if (!picture.ok()) {
        *error = picture.error;
        return false;
    }
    TransparentBlit(canvas, picture.image, p.key);
    return true;
}

bool ParseInsertImageParams(const EffectParams& params, InsertImageParams* out, QString* error)
{
    const QString effect = QStringLiteral("insert-image");
    if (!CheckParamNames(effect, params, {"file", "key"}, error)) return false;
    InsertImageParams p;
    if (!ReadColorParam(effect, params, QStringLiteral("key"), &p.key, error)) return false;
    const auto it = params.constFind(QStringLiteral("file"));
    if (it == params.cend() || it.value().isEmpty()) {
        *error = QStringLiteral("%1: file must name the picture to insert").arg(effect);
        return false;
    }
    p.file = it.value();
    *out = p;
    return true;
}

} // namespace orv
