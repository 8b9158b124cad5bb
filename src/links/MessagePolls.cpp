#include "MessagePolls.h"

#include "CommLog.h"
#include "Globals.h"
#include "ServerMonitor.h"
#include "Settings.h"
#include "Startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

const QString MessagePolls::kSection = QStringLiteral("HL7 Result Reader and Edit Patient HL7 messages");

namespace {

// Runs a poll unless the same poll is still running.
class Guard {
public:
    explicit Guard(bool &flag) : m_flag(flag), m_entered(!flag) { m_flag = true; }
    ~Guard()
    {
        if (m_entered)
            m_flag = false;
    }
    bool entered() const { return m_entered; }

private:
    bool &m_flag;
    bool m_entered;
};

void showAndLogError(const QString &text)
{
    DisplayMessage(kSourceRelayon, text);
    WriteCommLog(kRelayon, text, kLogError, kRelayon, kRelayon);
}

// Moves file to target, replacing a file of that name there.
bool moveReplacing(const QString &file, const QString &target)
{
    if (QFileInfo::exists(target))
        QFile::remove(target);
    return QFile::rename(file, target);
}

} // namespace

MessagePolls::MessagePolls(QObject *parent)
    : QObject(parent)
{
    tmrStart.setInterval(5000);
    tmrStart.setSingleShot(true);
    tmrGetRequests.setInterval(4000);
    tmrGetResult.setInterval(10000);
    tmrGetEditRequests.setInterval(4000);
    tmrCompleted.setInterval(4000);
    connect(&tmrStart, &QTimer::timeout, this, &MessagePolls::requestPoll);
    connect(&tmrGetRequests, &QTimer::timeout, this, &MessagePolls::requestPoll);
    connect(&tmrGetResult, &QTimer::timeout, this, &MessagePolls::resultPoll);
    connect(&tmrGetEditRequests, &QTimer::timeout, this, &MessagePolls::editPoll);
    connect(&tmrCompleted, &QTimer::timeout, this, &MessagePolls::completedPoll);
    m_settle.setSingleShot(true);
    connect(&m_settle, &QTimer::timeout, this, &MessagePolls::directoryChanged);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { m_settle.start(0); });
    tmrStart.start();
}

void MessagePolls::load()
{
    const auto read = [](const char *key, bool &value) {
        const QString v = ReadSetting(kAppProgram, kSection, QLatin1String(key));
        if (!v.isEmpty())
            value = v.trimmed().toInt() != 0;
    };
    read("chkRequests", processRequests);
    read("chkProcessCompleted", processCompleted);
    read("chkProcessEdit", processEdit);
}

void MessagePolls::storeCheck(const char *key, bool on)
{
    WriteSetting(kAppProgram, kSection, QLatin1String(key), on ? QStringLiteral("1") : QStringLiteral("0"));
}

void MessagePolls::setProcessRequests(bool on)
{
    processRequests = on;
    storeCheck("chkRequests", on);
}

void MessagePolls::setProcessCompleted(bool on)
{
    processCompleted = on;
    storeCheck("chkProcessCompleted", on);
}

void MessagePolls::setProcessEdit(bool on)
{
    processEdit = on;
    storeCheck("chkProcessEdit", on);
}

void MessagePolls::setRunning(bool running)
{
    if (m_running == running)
        return;
    m_running = running;
    emit runningChanged(running);
}

bool MessagePolls::StartTimers()
{
    if (!gblConnectionMode)
        return true;
    for (const QString &dir : {gblResultDir, gblRequestDir, gblCompletedDir}) {
        if (!QFileInfo(dir).isDir()) {
            showAndLogError(QStringLiteral("Directory not found: ") + dir);
            return false;
        }
    }
    const int interval = settingInterval(kAppProgram, QStringLiteral("Options"), QStringLiteral("txtTimer"), 50000);
    for (QTimer *t : {&tmrGetRequests, &tmrGetResult, &tmrGetEditRequests, &tmrCompleted})
        t->setInterval(interval);
    start();
    watchDirectories();
    return true;
}

void MessagePolls::start()
{
    setRunning(true);
    gblStopProcessing = false;
    tmrStart.stop();
    for (QTimer *t : {&tmrGetRequests, &tmrGetResult, &tmrGetEditRequests, &tmrCompleted})
        t->start();
}

void MessagePolls::stop()
{
    setRunning(false);
    gblStopProcessing = true;
    tmrStart.stop();
    for (QTimer *t : {&tmrGetRequests, &tmrGetResult, &tmrGetEditRequests, &tmrCompleted})
        t->stop();
}

void MessagePolls::processNow()
{
    gblStopProcessing = false;
    requestPoll();
    resultPoll();
    editPoll();
    completedPoll();
}

void MessagePolls::requestPoll()
{
    Guard g(m_inRequest);
    if (!g.entered() || !processRequests)
        return;
    if (enableDisconnectAndExit)
        enableDisconnectAndExit(false);
    if (TraceEnabled())
        TraceLog(QStringLiteral("GetRequests timer"));
    if (gblChkRIS == 1 && checkRequest)
        checkRequest();
    if (enableDisconnectAndExit)
        enableDisconnectAndExit(true);
}

void MessagePolls::resultPoll()
{
    Guard g(m_inResult);
    if (!g.entered())
        return;
    if (TraceEnabled())
        TraceLog(QStringLiteral("tmrGetResult_Timer"));
    if (QFileInfo(gblResultDir).isDir()) {
        emit resultListChanged();
        ServerMonitor::instance().Show_Warning_Symbol(false);
        ReadHL7File();
    } else {
        if (playAlarm)
            playAlarm();
        ServerMonitor::instance().Show_Warning_Symbol(true);
        showAndLogError(QStringLiteral("Results directory is missing ---> ") + gblResultDir);
    }
    const QDir dir(gblResultDir);
    for (const QString &frg : dir.entryList({QStringLiteral("*.FRG")}, QDir::Files))
        QFile::remove(dir.filePath(frg));
}

void MessagePolls::editPoll()
{
    Guard g(m_inEdit);
    if (!g.entered() || !processEdit)
        return;
    tmrGetEditRequests.stop();
    if (gblChkRIS == 1 && checkEditPatient)
        checkEditPatient();
    if (m_running)
        tmrGetEditRequests.start();
}

void MessagePolls::completedPoll()
{
    Guard g(m_inCompleted);
    if (!g.entered() || !processCompleted)
        return;
    tmrCompleted.stop();
    if (QFileInfo(gblCompletedDir).isDir()) {
        ServerMonitor::instance().Show_Warning_Symbol(false);
        ReadHL7Completed();
    }
    if (m_running)
        tmrCompleted.start();
}

QString MessagePolls::readCleaned(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error((QStringLiteral("cannot read ") + path + QStringLiteral(": ") + f.errorString()).toStdString());
    QString text = QString::fromLatin1(f.readAll());
    text.remove(QChar(10));
    text.replace(QChar(39), QChar(96));
    return text;
}

bool MessagePolls::isStable(const QString &path)
{
    const QFileInfo info(path);
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const auto it = m_seen.find(path);
    if (it == m_seen.end() || it->size != info.size() || it->modified != info.lastModified()) {
        m_seen.insert(path, Seen{info.size(), info.lastModified(), now});
        // A file whose last change is already old enough is stable at once.
        return info.lastModified().msecsTo(QDateTime::currentDateTime()) >= kStableMs;
    }
    return now - it->since >= kStableMs || info.lastModified().msecsTo(QDateTime::currentDateTime()) >= kStableMs;
}

void MessagePolls::ReadHL7File()
{
    try {
        if (TraceEnabled())
            TraceLog(QStringLiteral("ReadHL7File"));
        const QDir dir(gblResultDir);
        // The directory is listed again only when the list in hand runs out, so that a pile of
        // waiting files is not listed again after every file.
        QStringList names;
        qsizetype at = 0;
        const auto nextFile = [&]() -> QString {
            for (int round = 0; round < 2; ++round) {
                while (at < names.size()) {
                    const QString path = dir.filePath(names[at++]);
                    if (QFileInfo::exists(path) && isStable(path))
                        return path;
                }
                names = dir.entryList({QStringLiteral("*.hl7")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
                at = 0;
            }
            return QString();
        };
        QString file = nextFile();
        if (file.isEmpty() && TraceEnabled())
            TraceLog(QStringLiteral("no new result files in ") + gblResultDir);
        // Forget files that are gone (taken by someone else, or deleted by hand).
        for (auto it = m_seen.begin(); it != m_seen.end();)
            it = QFileInfo::exists(it.key()) ? std::next(it) : m_seen.erase(it);
        while (!file.isEmpty() && !gblStopProcessing) {
            MessageBox::instance().clear();
            QCoreApplication::processEvents();
            if (enableDisconnectAndExit)
                enableDisconnectAndExit(false);
            DisplayMessage(kSourceRelayon, QDir::toNativeSeparators(file));
            const QString text = readCleaned(file);
            const bool handled = handleInput && handleInput(text);
            const QString name = QFileInfo(file).fileName();
            if (!handled) {
                const QString failed = dir.filePath(QStringLiteral("failed"));
                MakeDirQuiet(failed);
                moveReplacing(file, QDir(failed).filePath(name));
            } else {
                DisplayMessage(kSourceRelayon, QStringLiteral("Successfully Parsed HL7 File - > '") + file + u'\'');
                DisplayMessage(QStringLiteral("HOST :"), text);
                if (gblMoveFile) {
                    const QString target = QDir(gblMoveFileDir).filePath(QDate::currentDate().toString(QStringLiteral("yyyy MM dd")));
                    MakeDirQuiet(target);
                    QString hospNum, patientName, requestNum;
                    if (lastResult)
                        lastResult(hospNum, patientName, requestNum);
                    const QString newName = patientName.isEmpty()
                                                ? name
                                                : hospNum + u' ' + patientName + u' ' + requestNum + QStringLiteral(".HL7");
                    moveReplacing(file, QDir(target).filePath(newName));
                } else {
                    QFile::remove(file);
                }
            }
            m_seen.remove(file);
            // A file that could be neither moved nor deleted would be taken again at once.
            if (QFileInfo::exists(file)) {
                TraceError(QStringLiteral("ReadHL7File cannot move or delete ") + file);
                break;
            }
            file = nextFile();
        }
        if (enableDisconnectAndExit)
            enableDisconnectAndExit(true);
        emit resultListChanged();
    } catch (const std::exception &e) {
        TraceLog(QStringLiteral("ReadHL7File ") + QString::fromStdString(e.what()));
    }
}

void MessagePolls::ReadHL7Completed()
{
    try {
        const QDir dir(gblCompletedDir);
        const QStringList names = dir.entryList({QStringLiteral("*.hl7")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
        for (const QString &name : names) {
            const QString file = dir.filePath(name);
            if (!isStable(file))
                continue;
            QCoreApplication::processEvents();
            if (enableDisconnectAndExit)
                enableDisconnectAndExit(false);
            const QString text = readCleaned(file);
            if (!handleInputComplete || !handleInputComplete(text))
                continue; // stays, and is tried again at the next poll
            DisplayMessage(kSourceRelayon, QStringLiteral("Successfully Parsed HL7 File - > '") + file + u'\'');
            DisplayMessage(QStringLiteral("HOST :"), text);
            WriteCommLog(QStringLiteral("HOST"), text, kLogResult, kRelayon, kRelayon);
            if (gblMoveFile)
                moveReplacing(file, QDir(gblMoveFileDir)
                                        .filePath(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss"))
                                                  + u'-' + name));
            else
                QFile::remove(file);
            m_seen.remove(file);
        }
        if (enableDisconnectAndExit)
            enableDisconnectAndExit(true);
    } catch (const std::exception &e) {
        TraceLog(QStringLiteral("ReadHL7Completed ") + QString::fromStdString(e.what()));
        tmrCompleted.start();
    }
}

void MessagePolls::watchDirectories()
{
    const QStringList watched = m_watcher.directories();
    if (!watched.isEmpty())
        m_watcher.removePaths(watched);
    for (const QString &dir : {gblResultDir, gblCompletedDir})
        if (QFileInfo(dir).isDir() && !m_watcher.directories().contains(dir))
            m_watcher.addPath(dir);
}

void MessagePolls::directoryChanged()
{
    if (!m_running || !gblConnectionMode)
        return;
    resultPoll();
    completedPoll();
    // A file that was not stable yet is looked at again once it has had time to settle.
    const QDir results(gblResultDir), completed(gblCompletedDir);
    const bool waiting = !results.entryList({QStringLiteral("*.hl7")}, QDir::Files).isEmpty()
                         || (processCompleted && !completed.entryList({QStringLiteral("*.hl7")}, QDir::Files).isEmpty());
    if (waiting)
        m_settle.start(kStableMs);
}
