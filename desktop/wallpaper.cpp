#include "desktop/wallpaper.h"
#include "platform/picture_codec.h"
#include "platform/work_folder.h"
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDir>
#include <QProcess>
#include <QUrl>

namespace orv {

namespace {

const QString kGnomeBackground = QStringLiteral("org.gnome.desktop.background");

bool Gsettings(const QStringList& args, QByteArray* out = nullptr, QByteArray* err = nullptr)
{
    QProcess p;
    p.start(QStringLiteral("gsettings"), args);
    if (!p.waitForFinished(10000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) return false;
    if (out) *out = p.readAllStandardOutput();
    if (err) *err = p.readAllStandardError();
    return true;
}

// A GNOME-like desktop runs and its background settings exist. Other desktops (a bare window
// manager among them, which names no desktop) ignore these settings.
bool GnomeDesktop()
{
    const QString desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
    static const QStringList gnomeLike = {QStringLiteral("GNOME"), QStringLiteral("Unity"),
                                          QStringLiteral("Budgie"), QStringLiteral("Pantheon")};
    if (std::none_of(gnomeLike.begin(), gnomeLike.end(), [&](const QString& d) { return desktop.contains(d, Qt::CaseInsensitive); }))
        return false;
    QByteArray keys;
    return Gsettings({QStringLiteral("list-keys"), kGnomeBackground}, &keys)
           && keys.contains("picture-options") && keys.contains("picture-uri");
}

bool ServiceRunning(const QString& service)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface() && bus.interface()->isServiceRegistered(service).value();
}

// The freedesktop wallpaper portal shows a picture; it has no say over its placement.
bool ShowThroughPortal(const QString& uri)
{
    const QString service = QStringLiteral("org.freedesktop.portal.Desktop");
    if (!ServiceRunning(service)) return false;
    QDBusInterface portal(service, QStringLiteral("/org/freedesktop/portal/desktop"),
                          QStringLiteral("org.freedesktop.portal.Wallpaper"), QDBusConnection::sessionBus());
    const QVariantMap options{{QStringLiteral("show-preview"), false},
                              {QStringLiteral("set-on"), QStringLiteral("background")}};
    const QDBusMessage reply = portal.call(QStringLiteral("SetWallpaperURI"), QString(), uri, options);
    return reply.type() == QDBusMessage::ReplyMessage;
}

// Sets a key and reads it back through another process: a store that forgets (GSettings'
// memory backend) or refuses the value has not taken it. `value` is in GVariant text form.
bool SetGnomeKey(const QString& key, const QString& value)
{
    QByteArray stored;
    return Gsettings({QStringLiteral("set"), kGnomeBackground, key, value})
           && Gsettings({QStringLiteral("get"), kGnomeBackground, key}, &stored)
           && QString::fromUtf8(stored).trimmed() == value;
}

// KDE Plasma: every desktop's image wallpaper, centred (fill mode 6).
bool SetThroughPlasma(const QString& path)
{
    const QString service = QStringLiteral("org.kde.plasmashell");
    if (!ServiceRunning(service)) return false;
    QString escaped = path;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('"'), QLatin1String("\\\""));
    const QString script = QStringLiteral(
        "for (const d of desktops()) {"
        " d.wallpaperPlugin = 'org.kde.image';"
        " d.currentConfigGroup = ['Wallpaper', 'org.kde.image', 'General'];"
        " d.writeConfig('FillMode', 6);"
        " d.writeConfig('Image', 'file://%1'); }").arg(escaped);
    QDBusInterface shell(service, QStringLiteral("/PlasmaShell"), QStringLiteral("org.kde.PlasmaShell"),
                         QDBusConnection::sessionBus());
    return shell.call(QStringLiteral("evaluateScript"), script).type() == QDBusMessage::ReplyMessage;
}

} // namespace

QString WallpaperFilePath()
{
    return UserDataFolder() + QStringLiteral("/Orvane 3.0 Wallpapper.bmp");
}

bool SetDesktopWallpaper(const QImage& picture, QString* error)
{
    const QString path = WallpaperFilePath();
    if (!QDir().mkpath(UserDataFolder())) {
        *error = QStringLiteral("Cannot write \"%1\": the folder cannot be made.").arg(path);
        return false;
    }
    if (!EncodeBmp24(picture, path, error)) return false;
    const QString uri = QUrl::fromLocalFile(path).toString();
    // Centred, shown, recorded: GNOME's keys hold placement and path, the portal shows it.
    const bool gnome = GnomeDesktop();
    const QString quoted = QLatin1Char('\'') + uri + QLatin1Char('\'');
    const bool centred = gnome && SetGnomeKey(QStringLiteral("picture-options"), QStringLiteral("'centered'"));
    bool shown = ShowThroughPortal(uri);
    if (gnome)
        shown = centred && SetGnomeKey(QStringLiteral("picture-uri"), quoted)
                && SetGnomeKey(QStringLiteral("picture-uri-dark"), quoted);
    else if (!shown)
        shown = SetThroughPlasma(path);
    if (shown) return true;
    *error = QStringLiteral("The picture is saved as \"%1\", but no desktop interface (the wallpaper "
                            "portal, GNOME's or KDE's settings) accepted it as the wallpaper.")
                 .arg(path);
    return false;
}

} // namespace orv
