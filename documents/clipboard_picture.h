#pragma once
// The picture the clipboard holds, read within the limits every opened picture keeps to
// (platform/picture_codec.h): an encoded picture is refused by the size its header claims
// before any pixel is decoded.
#include "platform/picture_codec.h"
#include <QMimeData>

namespace orv {

// Whether the clipboard offers a picture: an image of this program's or encoded bytes of an
// image type Qt reads.
bool HoldsPicture(const QMimeData* data);

// The clipboard's picture, or in `error` why it cannot be pasted, as the end of a sentence
// ("the picture is too large (...)").
DecodedPicture ClipboardPicture(const QMimeData* data);

} // namespace orv
