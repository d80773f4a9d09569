#pragma once
// Setting the desktop wallpaper: the picture is written as a bitmap under a fixed name in the
// user's data folder, then shown centred and untiled through the desktop's own interface.
#include <QDBusConnection>
#include <QImage>
#include <QString>

namespace orv {

// <user data folder>/Orvane 3.0 Wallpapper.bmp; each use replaces it.
QString WallpaperFilePath();

// How long the wallpaper portal may take to answer: it may ask the user first.
inline constexpr int kPortalAnswerMs = 60000;

enum class PortalVerdict { Absent, Shown, Cancelled, Failed, NoAnswer };

// Asks the freedesktop wallpaper portal on `bus` to show the picture at `uri` (a file: URL);
// the portal has no say over the placement.
// The call's reply only names the request; the verdict comes in the request's Response signal,
// which is waited for at most `answerMs` while events other than user input are processed.
// Absent when no portal runs or it refuses the call.
PortalVerdict ShowThroughPortal(QDBusConnection bus, const QString& uri, int answerMs = kPortalAnswerMs);

// Writes `picture` as the wallpaper file and sets it, in this order: the file, centred (not
// tiled), shown, and recorded as the desktop's wallpaper. The wallpaper portal shows it where
// it runs; on a GNOME-like desktop its settings take the centred placement and the path (read
// back, so that a store that forgets them does not count); else KDE Plasma's shell sets both.
// False with a clear message when the file cannot be written, the user cancels the portal's
// request, or no desktop interface takes the wallpaper (the portal's failure or silence named).
bool SetDesktopWallpaper(const QImage& picture, QString* error,
                         const QDBusConnection& bus = QDBusConnection::sessionBus(),
                         int portalAnswerMs = kPortalAnswerMs);

} // namespace orv
