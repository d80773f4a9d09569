#pragma once
// The private per-user work folder: where the program keeps the hand-over files it shares
// with outside code (plug-ins, scanning, downloads) under their fixed names. It lies in the
// user's data folder ($XDG_DATA_HOME/Orvane/work) and only its owner may enter it.
//
// Outside code (a plug-in) may leave anything under those names: a symbolic link to one of
// the user's files, a named pipe, a folder. So a work file is never written where it stands:
// CreateWorkFile clears the name first and makes a new, empty file of its own there, and
// RemoveWorkFile clears the name after use, never following a link.
#include <QString>

namespace orv {

// The folder, created (mode 0700) when missing; empty when it cannot be made.
QString WorkFolder();

// A file of that folder: WorkFile("Plugin.tmp").
QString WorkFile(const QString& name);

// Removes whatever stands at `path` (a file, a link itself, a pipe, a folder with all it
// holds), then creates an empty regular file there that did not exist before (O_EXCL) and is
// no link (O_NOFOLLOW). False with the reason in *error when that fails.
bool CreateWorkFile(const QString& path, QString* error);

// Removes whatever stands at `path`, as CreateWorkFile does; nothing there is no error.
void RemoveWorkFile(const QString& path);

// Whether `path` names a file in the work folder: such a file is no file of the user's, so a
// document whose picture came from one has no file to save back to.
bool IsWorkFile(const QString& path);

// The per-user data folder of the program ($XDG_DATA_HOME/Orvane), not created here.
QString UserDataFolder();

} // namespace orv
