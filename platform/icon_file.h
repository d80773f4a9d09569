#pragma once
// Icon files: a directory of pictures of several sizes. Only the picture shown is decoded, so
// that a directory listing many entries (or many entries sharing one huge picture) costs no
// more than that one picture.
#include <QByteArray>
#include <QString>

namespace orv {

// An icon file holding only the largest picture of `file` (the deepest colour wins between
// pictures of the same size; a width or height byte of 0 means 256). False with a reason when
// the directory is empty, does not fit the file, or an entry's data lies outside the file.
bool LargestIconAlone(const QByteArray& file, QByteArray* single, QString* reason);

} // namespace orv
