#pragma once
// Setting the desktop wallpaper: the picture is written as a bitmap under a fixed name in the
// user's data folder, then shown centred and untiled through the desktop's own interface.
#include <QImage>
#include <QString>

namespace orv {

// <user data folder>/Orvane 3.0 Wallpapper.bmp; each use replaces it.
QString WallpaperFilePath();

// Writes `picture` as the wallpaper file and sets it, in this order: the file, centred (not
// tiled), shown, and recorded as the desktop's wallpaper. The wallpaper portal shows it where
// it runs; on a GNOME-like desktop its settings take the centred placement and the path (read
// back, so that a store that forgets them does not count); else KDE Plasma's shell sets both.
// False with a clear message when the file cannot be written or no desktop interface takes the
// wallpaper.
bool SetDesktopWallpaper(const QImage& picture, QString* error);

} // namespace orv
