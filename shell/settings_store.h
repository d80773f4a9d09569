#pragma once
// The per-user settings store: text values addressed by application, section and key, kept in
// QSettings (INI form, under the user's config folder, or under a folder tests choose).
// Numbers are stored as decimal text (single-precision values in shortest form), Booleans as
// the words True and False. A missing key or section, or a text that cannot be converted to
// what the reader needs, yields the reader's default.
#include <QString>

namespace orv {

inline const QString kAppTitle = QStringLiteral("Orvane 3.0");

QString GetSetting(const QString& app, const QString& section, const QString& key,
                   const QString& defaultValue);
void SaveSetting(const QString& app, const QString& section, const QString& key,
                 const QString& value);

// Typed readers: the stored text converted, or the default when absent or unconvertible.
double GetSettingNumber(const QString& app, const QString& section, const QString& key,
                        double defaultValue);
bool GetSettingBool(const QString& app, const QString& section, const QString& key,
                    bool defaultValue);

// Stored forms.
QString SettingText(bool value);     // "True" / "False"
QString SettingText(double value);   // single precision, shortest decimal: 1000, 6502.5
QString SettingText(int value);

// Points the store at another folder (tests); an empty path restores the user's own.
void SetSettingsFolder(const QString& folder);

} // namespace orv
