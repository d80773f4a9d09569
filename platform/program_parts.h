#pragma once
// Where the program finds its own parts: the plug-in helper orvane-plugin-host and the
// "plugins" folder of the plug-ins that come with it. In the build tree they sit beside the
// program; installed, the programs are in <prefix>/bin and their parts in <prefix>/lib/orvane,
// found from the program's own folder, so an installation works under any prefix or DESTDIR.
#include <QString>

namespace orv {

QString ProgramPartsFolder();

} // namespace orv
