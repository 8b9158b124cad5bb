#include "Settings.h"

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
