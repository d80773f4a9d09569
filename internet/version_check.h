#pragma once
// The update check's version texts. The update server's file holds the latest version as the
// minor version and revision of version 3, for example "0.44" for 3.0.44.
#include <QString>

namespace orv {

// The longest text taken for a version, after trimming; a longer answer is not a version.
constexpr qsizetype kMaxVersionLength = 64;
// The largest answer the update check takes from the server: a version file is a few bytes.
constexpr qint64 kMaxVersionFileBytes = 4096;

// The version file's address: the one built in, or the environment variable ORVANE_UPDATE_URL
// when it is set, which points the check at another server (a mirror, or a test server on
// this machine).
QString UpdateAddress();

// The running program's minor version and revision joined by a point ("0.43" for 3.0.43).
QString RunningVersionText();

enum class VersionOrder { Newer, NotNewer, NotAVersion };

// Compares the fetched `latest` with `current` part by part as numbers, after dropping
// surrounding blanks and line ends: "0.100" is newer than "0.43", "0.43\n" equals "0.43".
// A text that is not points and numbers, or longer than kMaxVersionLength, gives NotAVersion.
VersionOrder CompareVersions(const QString& latest, const QString& current);

// The server's answer as one line to show: runs of blanks and line ends become one space and
// a text longer than kMaxVersionLength is cut there, followed by "...".
QString ShownVersionText(const QString& latest);

} // namespace orv
