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
