#include "fills/image_fill.h"
#include "documents/image_loader.h"
#include "effects/batch_params.h"
#include "platform/color.h"
#include <algorithm>
#include <cstring>

namespace orv {

bool TileImage(QImage& target, const QImage& picture)
{
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0) return false;
    const QImage tile = ToPixelFormat(picture);
    DetachPixelBuffer(target);
    const int w = target.width(), h = target.height();
    const int tw = tile.width(), th = tile.height();
    constexpr size_t kPixel = sizeof(uint32_t);
    // The first band of rows: each row one copy of the tile's row, then doubled in place
    // until it spans the target. Every later row repeats the row one tile height above.
    for (int y = 0; y < std::min(h, th); ++y) {
        uchar* row = target.scanLine(y);
        size_t done = size_t(std::min(w, tw));
        std::memcpy(row, tile.constScanLine(y), done * kPixel);
        while (done < size_t(w)) {
            const size_t more = std::min(done, size_t(w) - done);
            std::memcpy(row + done * kPixel, row, more * kPixel);
            done += more;
        }
    }
    for (int y = th; y < h; ++y)
        std::memcpy(target.scanLine(y), target.constScanLine(y - th), size_t(w) * kPixel);
    return true;
}

bool FillImageFromFile(QImage& target, const FillImageParams& p, QString* error)
{
    const DecodedPicture picture = ReadPictureFile(p.file);
    if (!picture.ok()) {
        *error = picture.error;
        return false;
    }
    if (!TileImage(target, picture.image)) {
        *error = EmptyPictureError(p.file);
        return false;
    }
    return true;
}

QString EmptyPictureError(const QString& path)
{
    return OpenError(path, QStringLiteral("the picture has no pixels to fill with"));
}

bool ParseFillImageParams(const EffectParams& params, FillImageParams* out, QString* error)
{
    const QString effect = QStringLiteral("fill-image");
    if (!CheckParamNames(effect, params, {"file"}, error)) return false;
    const auto it = params.constFind(QStringLiteral("file"));
    if (it == params.cend() || it.value().isEmpty()) {
        *error = QStringLiteral("%1: file must name the picture to tile").arg(effect);
        return false;
    }
    out->file = it.value();
    return true;
}

} // namespace orv
