#pragma once
// The desktop's list of recently used files (the freedesktop.org "recently-used.xbel" in the
// user's data folder) that file managers and file dialogs show. Orvane adds each file it opens;
// every other entry of the list is kept as it is, and the list is replaced atomically.
#include <QString>
#include <QStringList>

namespace orv {

// $XDG_DATA_HOME/recently-used.xbel, or ~/.local/share/recently-used.xbel.
QString RecentFilesListPath();

// Records that Orvane used `file` now, in the list at `listPath`: a new entry, or the existing
// entry of that file with its times renewed and Orvane's use counted. False with the reason in
// *error when the list cannot be read or written; a list that is not readable XBEL is left
// untouched. A file of the work folder is never listed (and that is no failure).
bool AddToRecentFiles(const QString& file, const QString& listPath, QString* error);

// The local files of the list at `listPath` that Orvane used, most recently used first (by
// the time of Orvane's own use), at most `count`; files that no longer exist are left out.
// Empty when the list is missing or unreadable.
QStringList RecentPictures(const QString& listPath, int count);

} // namespace orv
