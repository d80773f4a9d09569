#include "effects/flip.h"
#include "platform/raster.h"

namespace orv {

void FlipHorizontal(QImage& picture)
{
    const int w = picture.width(), h = picture.height();
    StretchBlt(picture, w, 0, -w, h, picture, 0, 0, w, h, Rop::SrcCopy);
}

void FlipVertical(QImage& picture)
{
    const int w = picture.width(), h = picture.height();
    StretchBlt(picture, 0, h, w, -h, picture, 0, 0, w, h, Rop::SrcCopy);
}

} // namespace orv
