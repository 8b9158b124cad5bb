#pragma once
// The per-user settings store: text values addressed by application name, section and key,
// kept as one INI file per application name in $XDG_CONFIG_HOME/relayon/. Reading never
// creates a key; a write creates what it needs. Files that hold a password are readable
// by their owner only.

#include <QString>

QString settingsDirectory();
QString settingsFile(const QString &appName);

QString ReadSetting(const QString &appName, const QString &section, const QString &key,
                    const QString &defaultValue = QString());
void WriteSetting(const QString &appName, const QString &section, const QString &key,
                  const QString &value);

// Application names of the store.
inline const QString kAppProgram = QStringLiteral("KALDRA HL7 Relayon");
inline const QString kAppForms = QStringLiteral("Kaldra Forms");
inline const QString kAppFormPlacement = QStringLiteral("KALDRAForm");
inline const QString kAppConnectionString = QStringLiteral("KALDRAHL7");
inline const QString kAppCurrentUser = QStringLiteral("KALDRA Current User");

// Conversions of stored texts. A value that does not convert gives the default and one
// error-log record that names the setting; the program never writes such a value itself.
QString settingText(const QString &appName, const QString &section, const QString &key, const QString &defaultValue);
// A 16-bit decimal number.
qint16 settingNumber(const QString &appName, const QString &section, const QString &key, qint16 defaultValue);
// "-1", any other non-zero number and "True" are True; "0" and "False" are False.
bool settingBoolean(const QString &appName, const QString &section, const QString &key, bool defaultValue);
// A TCP port number (1 to 65535), kept as text.
QString settingPort(const QString &appName, const QString &section, const QString &key, const QString &defaultValue);
// A number of milliseconds for a timer (1 to 65535).
int settingInterval(const QString &appName, const QString &section, const QString &key, int defaultValue);
// A directory; the default is the program's directory.
QString settingDirectory(const QString &appName, const QString &section, const QString &key);
