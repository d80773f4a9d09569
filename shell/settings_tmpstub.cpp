#include "shell/settings_store.h"
#include <QSettings>
#include <QLocale>
namespace orv {
static QString folder;
static QSettings* S(const QString& app) { QString d = folder.isEmpty() ? qEnvironmentVariable("ORVANE_SETTINGS_DIR") : folder; if (d.isEmpty()) d = "/tmp/orvset"; return new QSettings(d + "/" + app + ".ini", QSettings::IniFormat); }
QString GetSetting(const QString& a, const QString& s, const QString& k, const QString& d) { std::unique_ptr<QSettings> q(S(a)); return q->value(s + "/" + k, d).toString(); }
void SaveSetting(const QString& a, const QString& s, const QString& k, const QString& v) { std::unique_ptr<QSettings> q(S(a)); q->setValue(s + "/" + k, v); }
double GetSettingNumber(const QString& a, const QString& s, const QString& k, double d) { bool ok; double v = GetSetting(a,s,k,"").toDouble(&ok); return ok ? v : d; }
bool GetSettingBool(const QString& a, const QString& s, const QString& k, bool d) { QString v = GetSetting(a,s,k,""); if (v=="True") return true; if (v=="False") return false; return d; }
QString SettingText(bool v) { return v ? "True" : "False"; }
QString SettingText(double v) { return QString::number(float(v), 'g', QLocale::FloatingPointShortest); }
QString SettingText(int v) { return QString::number(v); }
void SetSettingsFolder(const QString& f) { folder = f; }
}
