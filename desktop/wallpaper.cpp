#include "desktop/wallpaper.h"
#include "platform/picture_codec.h"
#include "platform/work_folder.h"
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusReply>
#include <QDir>
#include <QEventLoop>
#include <QProcess>
#include <QRandomGenerator>
#include <QTimer>
#include <QUrl>
#include <optional>

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

bool ServiceRunning(const QDBusConnection& bus, const QString& service)
{
    return bus.isConnected() && bus.interface() && bus.interface()->isServiceRegistered(service).value();
}

// The verdict of one portal request, which its Response signal brings.
class PortalRequest : public QObject {
    Q_OBJECT
public:
    std::optional<uint> response;   // 0 done, 1 cancelled by the user, 2 failed
public slots:
    void Response(uint code, const QVariantMap&)
    {
        response = code;
        emit answered();
    }
signals:
    void answered();
};

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
bool SetThroughPlasma(const QDBusConnection& bus, const QString& path)
{
    const QString service = QStringLiteral("org.kde.plasmashell");
    if (!ServiceRunning(bus, service)) return false;
    QString escaped = path;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('"'), QLatin1String("\\\""));
    const QString script = QStringLiteral(
        "for (const d of desktops()) {"
        " d.wallpaperPlugin = 'org.kde.image';"
        " d.currentConfigGroup = ['Wallpaper', 'org.kde.image', 'General'];"
        " d.writeConfig('FillMode', 6);"
        " d.writeConfig('Image', 'file://%1'); }").arg(escaped);
    QDBusInterface shell(service, QStringLiteral("/PlasmaShell"), QStringLiteral("org.kde.PlasmaShell"), bus);
    return shell.call(QStringLiteral("evaluateScript"), script).type() == QDBusMessage::ReplyMessage;
}

} // namespace

PortalVerdict ShowThroughPortal(QDBusConnection bus, const QString& uri, int answerMs)
{
    const QString service = QStringLiteral("org.freedesktop.portal.Desktop");
    if (!ServiceRunning(bus, service)) return PortalVerdict::Absent;
    // The request's path follows from the caller's unique name and the token it gives, so its
    // Response is listened for before the call: it may come before the call's own reply.
    const QString token = QStringLiteral("orvane%1").arg(QRandomGenerator::global()->generate());
    const QString sender = bus.baseService().mid(1).replace(QLatin1Char('.'), QLatin1Char('_'));
    const QString expected = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
    PortalRequest request;
    const auto listen = [&](const QString& path) {
        bus.connect(service, path, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"),
                    &request, SLOT(Response(uint, QVariantMap)));
    };
    listen(expected);
    QDBusMessage call = QDBusMessage::createMethodCall(service, QStringLiteral("/org/freedesktop/portal/desktop"),
                                                       QStringLiteral("org.freedesktop.portal.Wallpaper"),
                                                       QStringLiteral("SetWallpaperURI"));
    call << QString() << uri
         << QVariantMap{{QStringLiteral("handle_token"), token}, {QStringLiteral("show-preview"), false},
                        {QStringLiteral("set-on"), QStringLiteral("background")}};
    QDBusPendingCallWatcher reply(bus.asyncCall(call, answerMs));
    QEventLoop loop;
    QObject::connect(&reply, &QDBusPendingCallWatcher::finished, &loop, [&] {
        if (reply.isError()) return loop.quit();
        const QString handle = QDBusPendingReply<QDBusObjectPath>(reply).value().path();
        if (!handle.isEmpty() && handle != expected) listen(handle);   // a portal that names its own
    });
    QObject::connect(&request, &PortalRequest::answered, &loop, &QEventLoop::quit);
    QTimer::singleShot(answerMs, &loop, &QEventLoop::quit);
    // The portal may ask the user first; the program takes no input of its own meanwhile.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (request.response) return *request.response == 0   ? PortalVerdict::Shown
                                 : *request.response == 1 ? PortalVerdict::Cancelled
                                                          : PortalVerdict::Failed;
    return reply.isFinished() && reply.isError() ? PortalVerdict::Absent : PortalVerdict::NoAnswer;
}

QString WallpaperFilePath()
{
    return UserDataFolder() + QStringLiteral("/Orvane 3.0 Wallpapper.bmp");
}

bool SetDesktopWallpaper(const QImage& picture, QString* error, const QDBusConnection& bus, int portalAnswerMs)
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
    const PortalVerdict portal = ShowThroughPortal(bus, uri, portalAnswerMs);
    const QString saved = QStringLiteral("The picture is saved as \"%1\", but ").arg(path);
    if (portal == PortalVerdict::Cancelled) {
        *error = saved + QStringLiteral("setting it as the wallpaper was cancelled.");
        return false;
    }
    bool shown = portal == PortalVerdict::Shown;
    if (gnome)
        shown = centred && SetGnomeKey(QStringLiteral("picture-uri"), quoted)
                && SetGnomeKey(QStringLiteral("picture-uri-dark"), quoted);
    else if (!shown)
        shown = SetThroughPlasma(bus, path);
    if (shown) return true;
    if (portal == PortalVerdict::Failed)
        *error = saved + QStringLiteral("the wallpaper portal reported that it could not set it as the wallpaper.");
    else if (portal == PortalVerdict::NoAnswer)
        *error = saved + QStringLiteral("the wallpaper portal gave no answer within %1 seconds.").arg(portalAnswerMs / 1000.0);
    else
        *error = saved + QStringLiteral("no desktop interface (the wallpaper portal, GNOME's or KDE's settings) "
                                        "accepted it as the wallpaper.");
    return false;
}

} // namespace orv

#include "wallpaper.moc"
