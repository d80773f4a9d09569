#include "documents/ui/canvas_pointer.h"
#include "platform/picture_codec.h"
#include <QPixmap>
#include <algorithm>

namespace orv {

CanvasPointer& CanvasPointer::instance()
{
    static CanvasPointer pointer;
    return pointer;
}

QCursor CanvasPointer::cursor(Qt::CursorShape toolShape) const
{
    switch (choice_) {
    case PointerChoice::Normal: return QCursor(toolShape);
    case PointerChoice::Custom: return picture_;
    default: return QCursor(Qt::CrossCursor);
    }
}

void CanvasPointer::set(PointerChoice choice, const QCursor& picture)
{
    choice_ = choice;
    picture_ = picture;
    emit changed();
}

namespace {

// The picture decoded with its transparent pixels composed onto `background`, scaled down to
// at most kPointerSide a side.
DecodedPicture PointerOnto(const QString& path, ColorRef background)
{
    DecodeOptions options;
    options.background = background;
    DecodedPicture decoded = DecodePictureFile(path, options);
    const QImage& image = decoded.image;
    if (decoded.ok() && (image.width() > kPointerSide || image.height() > kPointerSide))
        decoded.image = image.scaled(kPointerSide, kPointerSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return decoded;
}

// The decoder gives opaque pixels, composed onto a background. Composed onto white and onto
// black, a pixel of colour c and opacity a (0 to 255) reads c x a / 255 + 255 - a and
// c x a / 255 in every channel: the difference gives the opacity and the black one is the
// colour premultiplied by it. (Scaling first averages both alike.)
QImage WithTransparency(const QImage& onWhite, const QImage& onBlack)
{
    QImage picture = onBlack.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    for (int y = 0; y < picture.height(); ++y) {
        const auto* white = reinterpret_cast<const uint8_t*>(onWhite.constScanLine(y));
        auto* row = picture.scanLine(y);
        for (int i = 0; i < 4 * picture.width(); i += 4) {
            const uint8_t alpha = uint8_t(255 - std::clamp(white[i + 1] - row[i + 1], 0, 255));
            for (int c = 0; c < 3; ++c) row[i + c] = std::min(row[i + c], alpha);
            row[i + 3] = alpha;
        }
    }
    return picture;
}

} // namespace

PointerPicture LoadPointerPicture(const QString& path)
{
    const DecodedPicture onWhite = PointerOnto(path, 0xFFFFFF);
    if (!onWhite.ok()) return {{}, onWhite.error};
    // A file replaced between the two reads keeps the first picture, opaque.
    const DecodedPicture onBlack = PointerOnto(path, 0x000000);
    const QPixmap pixmap = QPixmap::fromImage(onBlack.ok() && onBlack.image.size() == onWhite.image.size()
                                                  ? WithTransparency(onWhite.image, onBlack.image)
                                                  : onWhite.image);
    return {QCursor(pixmap, pixmap.width() / 2, pixmap.height() / 2), {}};
}

} // namespace orv
