#include "documents/ui/canvas_pointer.h"
#include "platform/picture_codec.h"
#include <QPixmap>

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

PointerPicture LoadPointerPicture(const QString& path)
{
    DecodeOptions options;
    options.background = std::nullopt;   // transparent areas stay transparent
    const DecodedPicture decoded = DecodePictureFile(path, options);
    if (!decoded.ok()) return {{}, decoded.error};
    QImage image = decoded.image;
    if (image.width() > kPointerSide || image.height() > kPointerSide)
        image = image.scaled(kPointerSide, kPointerSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    const QPixmap pixmap = QPixmap::fromImage(image);
    return {QCursor(pixmap, pixmap.width() / 2, pixmap.height() / 2), {}};
}

} // namespace orv
