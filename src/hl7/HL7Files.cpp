#include "HL7Files.h"

#include "CommLog.h"
#include "Globals.h"
#include "ServerMonitor.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

bool gblGenerateFailed = false;
bool gblEditGenerateFailed = false;

namespace {

std::function<QDateTime()> g_clock;

QDateTime now()
{
    return g_clock ? g_clock() : QDateTime::currentDateTime();
}

const QString kSuccess = QStringLiteral("Successfully Generated - > ");
const QString kErrorGenerating = QStringLiteral("Error Generating HL7 File: ");
const QString kRadiologyHL7 = QStringLiteral("RadiologyHL7");
const QString kHl7 = QStringLiteral(".hl7");

struct FileError {
    QString description;
};

QByteArray content(const QString &message)
{
    return (message + QStringLiteral("\r\n")).toLatin1();
}

// Writes bytes to path under a temporary name in the same directory and renames it into
// place, replacing a file of that name.
void replaceFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        throw FileError{QStringLiteral("Cannot create ") + path + QStringLiteral(": ") + f.errorString()};
    if (f.write(bytes) != bytes.size() || !f.commit())
        throw FileError{QStringLiteral("Cannot write ") + path + QStringLiteral(": ") + f.errorString()};
}

// The file's present content followed by bytes, written as replaceFile does.
void appendFile(const QString &path, const QByteArray &bytes)
{
    QByteArray all;
    QFile existing(path);
    if (existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly))
            throw FileError{QStringLiteral("Cannot read ") + path + QStringLiteral(": ") + existing.errorString()};
        all = existing.readAll();
    }
    replaceFile(path, all + bytes);
}

// dir/base + ".hl7", or dir/base + "-1.hl7", "-2.hl7"... the first name not taken.
QString freeName(const QDir &dir, const QString &base)
{
    QString path = dir.filePath(base + kHl7);
    for (int n = 1; QFileInfo::exists(path); ++n)
        path = dir.filePath(base + u'-' + QString::number(n) + kHl7);
    return path;
}

// Moves an existing backup aside to dir/base + ".hl7" (or the first free "-n" variant).
void displace(const QString &backup, const QDir &dir, const QString &base)
{
    const QString target = freeName(dir, base);
    QFile f(backup);
    if (!f.rename(target))
        throw FileError{QStringLiteral("Cannot move ") + backup + QStringLiteral(" to ") + target + QStringLiteral(": ")
                        + f.errorString()};
}

QDir backupBase()
{
    if (gblMoveFileDir.trimmed().isEmpty())
        throw FileError{QStringLiteral("The backup directory is not set.")};
    return QDir(QDir(gblMoveFileDir).filePath(QStringLiteral("bak")));
}

void showGenerated(const QString &message, const QString &path)
{
    DisplayMessage(kSourceRelayon, message);
    DisplayMessage(kSourceRelayon, kSuccess + path);
}

void reportGenerateFailure(bool &flag, const QString &description)
{
    flag = true;
    ReportServerError(description);
    DisplayMessage(kSourceRelayon, kErrorGenerating + description);
    WriteCommLog(kRadiologyHL7, description, kLogError, kRadiologyHL7, kRadiologyHL7);
}

// The directories of a directory list ("|"-separated); blank entries name no directory.
QStringList directories(const QString &directoryList)
{
    QStringList dirs;
    for (const QString &d : directoryList.split(u'|'))
        if (!d.trimmed().isEmpty())
            dirs << d;
    return dirs;
}

// A name taken from a received message, made safe as part of a file name.
QString safeFileNamePart(const QString &name)
{
    static const QString unsafe = QStringLiteral(":*?\"<>|/") + QChar(0x5C); // and the backslash
    QString s = name;
    for (QChar &c : s)
        if (c.unicode() < 0x20 || unsafe.contains(c))
            c = u'_';
    return s;
}

} // namespace

void setHL7FileClock(std::function<QDateTime()> clock)
{
    g_clock = std::move(clock);
}

void GenerateHL7File(const QString &message, const QString &fileName, const QString &directoryList,
                     const QString &, const QString &)
{
    if (TraceEnabled())
        TraceLog(QStringLiteral("GenerateHL7File SUB gblRequestDir ") + gblRequestDir);
    const QByteArray bytes = content(message);
    try {
        if (!gblRequestDir.trimmed().isEmpty()) {
            const QString requestFile = QDir(gblRequestDir).filePath(fileName + kHl7);
            if (TraceEnabled())
                TraceLog(QStringLiteral("GenerateHL7File From Local "));
            replaceFile(requestFile, bytes);
            gblGenerateFailed = false;
            showGenerated(message, requestFile);

            const QDir bak = backupBase();
            const QString backup = bak.filePath(fileName + kHl7);
            if (QFileInfo::exists(backup))
                displace(backup, bak, fileName + now().toString(QStringLiteral("yyyy MM dd HH mm ss")));
            replaceFile(backup, bytes);
            return;
        }
        for (const QString &dir : directories(directoryList)) {
            if (TraceEnabled())
                TraceLog(QStringLiteral("GenerateHL7File From Stored Procedure "));
            const QString path = QDir(dir).filePath(fileName + kHl7);
            appendFile(path, bytes);
            gblGenerateFailed = false;
            showGenerated(message, path);
        }
    } catch (const FileError &e) {
        reportGenerateFailure(gblGenerateFailed, e.description);
    }
}

void GenerateEditHL7File(const QString &message, const QString &fileName, const QString &directoryList,
                         const QString &, const QString &)
{
    const QByteArray bytes = content(message);
    try {
        if (!gblRequestDir.trimmed().isEmpty()) {
            const QString requestFile = QDir(gblRequestDir).filePath(fileName + kHl7);
            replaceFile(requestFile, bytes);
            gblEditGenerateFailed = false;
            QCoreApplication::processEvents();

            const QDateTime when = now();
            const QDir base = backupBase();
            const QString folder = base.filePath(when.toString(QStringLiteral("yyyy MM dd")));
            base.mkdir(folder); // already there, or failing: the backup write below tells
            const QDir bak(folder);
            const QString prefix = QStringLiteral("edit request ") + fileName + u' ';
            const QString backup = bak.filePath(prefix + kHl7);
            if (QFileInfo::exists(backup)) {
                TraceLog(QStringLiteral("Bak File already exists ") + backup);
                displace(backup, bak, prefix + when.toString(QStringLiteral("yyyy MM dd HH mm ss")));
            }
            replaceFile(backup, bytes);
            showGenerated(message, requestFile);
            return;
        }
        for (const QString &dir : directories(directoryList)) {
            const QString path = QDir(dir).filePath(fileName + kHl7);
            replaceFile(path, bytes);
            gblEditGenerateFailed = false;
            showGenerated(message, path);
        }
    } catch (const FileError &e) {
        reportGenerateFailure(gblEditGenerateFailed, e.description);
    }
}

void SaveResultHL7File(const QString &message, const QString &name)
{
    try {
        const QString resultDir = gblResultDir.trimmed().isEmpty() || !QDir(gblResultDir).exists()
                                      ? programDirectory()
                                      : gblResultDir;
        const QDir dir(resultDir);
        const QString base = now().toString(QStringLiteral("MMddyyyyHHmmss")) + u'-' + safeFileNamePart(name);
        const QByteArray bytes = content(message);

        // Written aside, then moved to the first free name: a rename never replaces a file.
        QTemporaryFile tmp(dir.filePath(QStringLiteral(".relayon-result-XXXXXX.tmp")));
        if (!tmp.open())
            throw FileError{QStringLiteral("Cannot create a file in ") + resultDir + QStringLiteral(": ")
                            + tmp.errorString()};
        if (tmp.write(bytes) != bytes.size() || !tmp.flush())
            throw FileError{QStringLiteral("Cannot write ") + tmp.fileName() + QStringLiteral(": ") + tmp.errorString()};
        tmp.close();
        QString path;
        for (int attempt = 0; attempt < 1000; ++attempt) {
            path = freeName(dir, base);
            if (QFile::rename(tmp.fileName(), path)) {
                tmp.setAutoRemove(false);
                DisplayMessage(kSourceRelayon, kSuccess + path);
                return;
            }
            if (!QFileInfo::exists(path))
                break; // not a name taken in the meantime: a real failure
        }
        throw FileError{QStringLiteral("Cannot move the received message to ") + path};
    } catch (const FileError &e) {
        ReportServerError(e.description);
        DisplayMessage(kSourceRelayon, kErrorGenerating + e.description);
        WriteCommLog(kRelayon, e.description, kLogError, kRelayon, kRelayon);
    }
}
