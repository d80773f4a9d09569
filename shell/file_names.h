#pragma once
// Path helpers of the frame: the file name shown as a document's caption, how a caption goes
// on a button or menu entry, and the path named on the command line.
#include <QString>

namespace orv {

// The part of `path` behind its last "/" (the whole text when it has none): "/pics/a.bmp"
// gives "a.bmp".
QString GetFileName(const QString& path);

// `caption` as the text of a button or menu entry that shows it as it stands: every "&" is
// doubled, so that none is taken as a shortcut marker.
QString ShownAsIs(const QString& caption);

// True when the path names something that exists and is not a folder.
bool FileExists(const QString& path);

// The full form of a path given on the command line: an existing file gives its absolute
// path; any other text (empty, missing, a folder) comes back unchanged.
QString GetLongFileName(const QString& path);

} // namespace orv
