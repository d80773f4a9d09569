#pragma once
// The update check's version texts. The update server's file holds the latest version as the
// minor version and revision of version 3, for example "0.44" for 3.0.44.
#include <QString>

namespace orv {

// The running program's minor version and revision joined by a point ("0.43" for 3.0.43).
QString RunningVersionText();

enum class VersionOrder { Newer, NotNewer, NotAVersion };

// Compares the fetched `latest` with `current` part by part as numbers, after dropping
// surrounding blanks and line ends: "0.100" is newer than "0.43", "0.43\n" equals "0.43".
// A text that is not points and numbers gives NotAVersion.
VersionOrder CompareVersions(const QString& latest, const QString& current);

} // namespace orv
