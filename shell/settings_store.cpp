#include "shell/settings_store.h"
#include <QDir>
#include <QIODevice>
#include <QMutex>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <charconv>
#include <cmath>

namespace orv {

namespace {

// The store's files are plain INI text kept in a format of our own: Qt's INI format escapes
// spaces and non-ASCII characters in section and key names and writes "@Variant(...)" or
// quoted lists for some values. Here every value is text, written exactly as given.
//
//   [Section name]
//   Key name=value
//
// Lines are UTF-8. In names, the characters % = [ ] ; and line breaks are written as %XX;
// in values, % and line breaks are. Keys outside any section are written first.

QString Escape(const QString& text, QStringView special)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (special.contains(c) || c == u'\n' || c == u'\r')
            out += u'%' + QString::number(c.unicode(), 16).toUpper().rightJustified(2, u'0');
        else
            out += c;
    }
    return out;
}

QString Unescape(QStringView text)
{
    if (!text.contains(u'%')) return text.toString();
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        bool ok = false;
        const int code = text[i] == u'%' && i + 2 < text.size() ? text.mid(i + 1, 2).toInt(&ok, 16) : 0;
        if (ok) {
            out += QChar(code);
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

constexpr QStringView kNameSpecial = u"%=[];#";
constexpr QStringView kValueSpecial = u"%";

bool ReadStore(QIODevice& device, QSettings::SettingsMap& map)
{
    const QString text = QString::fromUtf8(device.readAll());
    QString section;
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r')) line.chop(1);
        const QStringView trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u';') || trimmed.startsWith(u'#')) continue;
        if (trimmed.startsWith(u'[') && trimmed.endsWith(u']')) {
            section = Unescape(trimmed.mid(1, trimmed.size() - 2));
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0) continue;
        const QString key = Unescape(line.left(eq).trimmed());
        if (key.isEmpty()) continue;
        map.insert(section.isEmpty() ? key : section + u'/' + key, Unescape(line.mid(eq + 1)));
    }
    return true;
}

bool WriteStore(QIODevice& device, const QSettings::SettingsMap& map)
{
    // Keys come sorted, so those of one section follow each other; a key without a section
    // has no '/' and is written before the first header.
    const auto line = [](const QString& key, const QVariant& value) {
        return Escape(key, kNameSpecial) + u'=' + Escape(value.toString(), kValueSpecial) + u'\n';
    };
    QString text;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        if (!it.key().contains(u'/')) text += line(it.key(), it.value());
    }
    QString section;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const qsizetype slash = it.key().indexOf(u'/');
        if (slash < 0) continue;
        const QString here = it.key().left(slash);
        if (here != section || section.isEmpty()) {
            if (!text.isEmpty()) text += u'\n';
            text += u'[' + Escape(here, kNameSpecial) + QStringLiteral("]\n");
            section = here;
        }
        text += line(it.key().mid(slash + 1), it.value());
    }
    return device.write(text.toUtf8()) >= 0;
}

QSettings::Format StoreFormat()
{
    static const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("ini"), ReadStore, WriteStore, Qt::CaseSensitive);
    return format;
}

QMutex folderLock;
QString chosenFolder;

QString StoreFolder()
{
    {
        QMutexLocker lock(&folderLock);
        if (!chosenFolder.isEmpty()) return chosenFolder;
    }
    const QString fromEnvironment = qEnvironmentVariable("ORVANE_SETTINGS_DIR");
    if (!fromEnvironment.isEmpty()) return fromEnvironment;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/Orvane");
}

// One file per application: "<folder>/<app>.ini". Qt turns a '/' in a name into a subfolder,
// so it is replaced to keep every store directly in the folder.
QSettings OpenStore(const QString& app)
{
    QString name = app;
    name.replace(u'/', u'_');
    return QSettings(StoreFolder() + u'/' + name + QStringLiteral(".ini"), StoreFormat());
}

QString KeyPath(const QString& section, const QString& key) { return section + u'/' + key; }

// A decimal number with optional spaces around it; nothing else (no trailing letters, no
// infinities or NaN).
bool ParseStoredNumber(const QString& text, double* value)
{
    const QByteArray bytes = text.trimmed().toLatin1();
    const char* begin = bytes.constData();
    const char* end = begin + bytes.size();
    if (begin != end && *begin == '+') ++begin;
    if (begin == end) return false;
    const auto [ptr, ec] = std::from_chars(begin, end, *value, std::chars_format::general);
    return ec == std::errc() && ptr == end && std::isfinite(*value);
}

} // namespace

QString GetSetting(const QString& app, const QString& section, const QString& key,
                   const QString& defaultValue)
{
    const QSettings store = OpenStore(app);
    const QVariant value = store.value(KeyPath(section, key));
    return value.isValid() ? value.toString() : defaultValue;
}

void SaveSetting(const QString& app, const QString& section, const QString& key,
                 const QString& value)
{
    QSettings store = OpenStore(app);
    store.setValue(KeyPath(section, key), value);
    store.sync();   // another process (or the next reader here) sees the value at once
}

double GetSettingNumber(const QString& app, const QString& section, const QString& key,
                        double defaultValue)
{
    double value = 0;
    return ParseStoredNumber(GetSetting(app, section, key, QString()), &value) ? value : defaultValue;
}

bool GetSettingBool(const QString& app, const QString& section, const QString& key,
                    bool defaultValue)
{
    const QString text = GetSetting(app, section, key, QString()).trimmed();
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
    double value = 0;
    return ParseStoredNumber(text, &value) ? value != 0 : defaultValue;
}

QString SettingText(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

QString SettingText(double value)
{
    // Shortest decimal text that reads back as the same single-precision value, never in
    // exponent form.
    const float single = static_cast<float>(value);
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, single, std::chars_format::fixed);
    if (ec != std::errc()) return QString::number(single);
    return QString::fromLatin1(buffer, end - buffer);
}

QString SettingText(int value) { return QString::number(value); }

void SetSettingsFolder(const QString& folder)
{
    QMutexLocker lock(&folderLock);
    chosenFolder = folder;
}

} // namespace orv
