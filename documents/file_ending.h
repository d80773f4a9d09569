#pragma once
// Picture files are told apart by the last three characters of their name, lower-cased: "bmp",
// "jpg", ... (so "photo.JPEG" ends in "peg", and "x.bmp" and "xbmp" end alike).
#include <QString>

namespace orv {

inline QString FileEnding(const QString& path) { return path.right(3).toLower(); }

} // namespace orv
