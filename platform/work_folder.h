#pragma once
// The private per-user folder for the program's work and hand-over files (the files it
// exchanges with downloads, plug-ins and scanners). It lives in the user's data folder, is
// readable by the user alone, and is made on first use; the program's own folder may be
// read-only, so nothing is ever written there.
#include <QString>

namespace orv {

// The folder, made (mode 0700) when missing. Empty when it cannot be made.
QString WorkFolder();

// The path of the work file `name` ("Site.tmp", "Plugin.tmp", ...) in WorkFolder().
QString WorkFile(const QString& name);

} // namespace orv
