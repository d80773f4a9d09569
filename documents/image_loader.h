#pragma once
// Reading picture files into canvases. Eleven file types are read, chosen by the last three
// characters of the file name, lower-cased: "gif", "bmp", "wmf", "ico" and "png" through the picture
// loader (LoadPicture), "pcx", "tga", "jif", "rle", "dib" and "jpg" through LoadImageFile.
// Both decode with GraphicsMagick; a file that cannot be decoded gives a message naming it.
#include "documents/canvas.h"
#include "platform/picture_codec.h"
#include <QString>
#include <QStringList>

namespace orv {

enum class PictureLoader { Picture, ImageFile, None };

// The loader for a file name by its last three characters, lower-cased (".jpeg" ends in
// "peg" and has none).
PictureLoader LoaderFor(const QString& path);

// The message for a file whose type is not one of the eleven.
QString UnsupportedTypeError(const QString& path);

// Decodes a file of one of the eleven types: transparent pixels take `background`, an icon file
// gives its largest picture, a metafile is drawn at its natural size. Other names fail with
// UnsupportedTypeError.
DecodedPicture ReadPictureFile(const QString& path, ColorRef background = 0xFFFFFF);

// The picture loader: the file's picture becomes the canvas picture (the canvas takes its
// size when AutoSize is on). Returns the error text, empty on success; on failure the canvas
// is unchanged.
QString LoadPicture(Canvas& target, const QString& path);

// The image loader: the target draws in pixels, is cleared to its background colour, takes
// the picture's size and gets the picture in one block. Returns the error text, empty on
// success; on failure the target stays cleared at its size.
QString LoadImageFile(Canvas& target, const QString& path);

// The open dialog's list of file types: pairs of description and pattern list separated by
// "|", the first pair selected.
extern const QString kOpenPictureFilter;

// A "description|patterns|..." list as Qt file-dialog name filters: each description followed
// by its patterns in parentheses, separated by spaces ("*.*", every file, becomes "*").
QStringList DialogNameFilters(const QString& pairs);

} // namespace orv
