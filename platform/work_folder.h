#pragma once
// The private per-user work folder: where the program keeps the hand-over files it shares
// with outside code (plug-ins, scanning, downloads) under their fixed names. It lies in the
// user's data folder ($XDG_DATA_HOME/Orvane/work) and only its owner may enter it.
#include <QString>

namespace orv {

// The folder, created (mode 0700) when missing; empty when it cannot be made.
QString WorkFolder();

// A file of that folder: WorkFile("Plugin.tmp").
QString WorkFile(const QString& name);

// The per-user data folder of the program ($XDG_DATA_HOME/Orvane), not created here.
QString UserDataFolder();

} // namespace orv
