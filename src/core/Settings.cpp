#include "Settings.h"

#include "CommLog.h"
#include "Globals.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Application names whose files hold a password or a connection string with one.
bool holdsSecret(const QString &appName)
{
    return appName == kAppProgram || appName == kAppCurrentUser || appName == kAppConnectionString;
}

// Creates the file readable by its owner only before anything is written to it; the store
// rewrites the file through a temporary that keeps the permissions of the file it replaces.
void ensurePrivateFile(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0)
        ::close(fd);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

} // namespace

QString settingsDirectory()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("relayon"));
}

QString settingsFile(const QString &appName)
{
    return QDir(settingsDirectory()).filePath(appName + QStringLiteral(".ini"));
}

QString ReadSetting(const QString &appName, const QString &section, const QString &key,
                    const QString &defaultValue)
{
    const QString path = settingsFile(appName);
    if (!QFile::exists(path))
        return defaultValue;
    QSettings s(path, QSettings::IniFormat);
    const QVariant v = s.value(section + u'/' + key);
    if (!v.isValid())
        return defaultValue;
    // A hand-edited value with unquoted commas reads back as a list: keep it as written.
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(u',');
    return v.toString();
}

void WriteSetting(const QString &appName, const QString &section, const QString &key,
                  const QString &value)
{
    QDir().mkpath(settingsDirectory());
    const QString path = settingsFile(appName);
    if (holdsSecret(appName))
        ensurePrivateFile(path);
    QSettings s(path, QSettings::IniFormat);
    s.setValue(section + u'/' + key, value);
    s.sync();
}

// ---------------------------------------------------------------------------------------
// Conversions

namespace {

const QString kAbsent = QStringLiteral("\x01absent");

void reportBadSetting(const QString &appName, const QString &section, const QString &key, const QString &value,
                      const QString &usedDefault)
{
    WriteCommLog(kRelayon,
                 QStringLiteral("Invalid setting ") + appName + u'/' + section + u'/' + key + QStringLiteral(": \"")
                     + value + QStringLiteral("\"; the default \"") + usedDefault + QStringLiteral("\" is used."),
                 kLogError, kRelayon, kRelayon);
}

bool parseInteger(const QString &text, qint64 &out)
{
    bool ok = false;
    out = text.trimmed().toLongLong(&ok);
    return ok;
}

} // namespace

QString settingText(const QString &appName, const QString &section, const QString &key, const QString &defaultValue)
{
    return ReadSetting(appName, section, key, defaultValue);
}

qint16 settingNumber(const QString &appName, const QString &section, const QString &key, qint16 defaultValue)
{
    const QString v = ReadSetting(appName, section, key, kAbsent);
    if (v == kAbsent)
        return defaultValue;
    qint64 n = 0;
    if (!parseInteger(v, n) || n < -32768 || n > 32767) {
        reportBadSetting(appName, section, key, v, QString::number(defaultValue));
        return defaultValue;
    }
    return qint16(n);
}

bool settingBoolean(const QString &appName, const QString &section, const QString &key, bool defaultValue)
{
    const QString v = ReadSetting(appName, section, key, kAbsent);
    if (v == kAbsent)
        return defaultValue;
    const QString t = v.trimmed();
    if (t.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0)
        return false;
    qint64 n = 0;
    if (!parseInteger(t, n)) {
        reportBadSetting(appName, section, key, v, defaultValue ? QStringLiteral("True") : QStringLiteral("False"));
        return defaultValue;
    }
    return n != 0;
}

QString settingPort(const QString &appName, const QString &section, const QString &key, const QString &defaultValue)
{
    const QString v = ReadSetting(appName, section, key, kAbsent);
    if (v == kAbsent)
        return defaultValue;
    qint64 n = 0;
    if (!parseInteger(v, n) || n < 1 || n > 65535) {
        reportBadSetting(appName, section, key, v, defaultValue);
        return defaultValue;
    }
    return QString::number(n);
}

int settingInterval(const QString &appName, const QString &section, const QString &key, int defaultValue)
{
    const QString v = ReadSetting(appName, section, key, kAbsent);
    if (v == kAbsent)
        return defaultValue;
    qint64 n = 0;
    if (!parseInteger(v, n) || n < 1 || n > 65535) {
        reportBadSetting(appName, section, key, v, QString::number(defaultValue));
        return defaultValue;
    }
    return int(n);
}

QString settingDirectory(const QString &appName, const QString &section, const QString &key)
{
    const QString v = ReadSetting(appName, section, key, kAbsent);
    if (v == kAbsent || v.trimmed().isEmpty())
        return programDirectory();
    return v;
}
