#pragma once
// The message window's engine: the polling timers and what their ticks do. The request and
// edited-patient polls call the feeds, the result poll reads every result file and hands it
// to the intake, the completed-exam poll hands each completion file on; processed files are
// moved, deleted or set aside into "failed". No poll ever runs twice at once.
//
// In file mode the result and completed directories are also watched, so a new file is
// taken as soon as it is stable instead of at the next tick; a file is stable when its size
// and modification time have not changed for at least kStableMs.

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QTimer>

#include <functional>

class MessagePolls : public QObject {
    Q_OBJECT
public:
    static constexpr int kStableMs = 1000;
    static const QString kSection; // the message window's caption: where the check boxes are stored

    explicit MessagePolls(QObject *parent = nullptr);

    QTimer tmrStart;           // 5000 ms, once: one request poll
    QTimer tmrGetRequests;     // request poll
    QTimer tmrGetResult;       // result poll
    QTimer tmrGetEditRequests; // edited-patient poll
    QTimer tmrCompleted;       // completed-exam poll

    // What the polls hand their work to; set by the application (empty: nothing is done).
    std::function<void()> checkRequest;
    std::function<void()> checkEditPatient;
    std::function<bool(const QString &text)> handleInput;         // HandleInput(text, 0)
    std::function<bool(const QString &text)> handleInputComplete; // HandleInputComplete(text)
    // After HandleInput accepted a file: the values it left for the move (hospital number,
    // patient name, request number).
    std::function<void(QString &hospNum, QString &patientName, QString &requestNum)> lastResult;
    std::function<void(bool)> enableDisconnectAndExit;
    std::function<void()> playAlarm;

    // The three process check boxes ("Process Requests", "Process Completed", "Process Edit"),
    // stored at every change; load() reads them (an absent value leaves the default).
    bool processRequests = false;
    bool processCompleted = false;
    bool processEdit = true;
    void load();
    void setProcessRequests(bool on);
    void setProcessCompleted(bool on);
    void setProcessEdit(bool on);

    bool running() const { return m_running; } // "&Stop" shown

    // Starts polling in file mode (interval Options/txtTimer); nothing in socket mode.
    // Returns False, with the error shown and logged, when a directory is missing.
    bool StartTimers();
    void start(); // "S&tart"
    void stop();  // "&Stop"
    void processNow();

    void requestPoll();
    void resultPoll();
    void editPoll();
    void completedPoll();

    void ReadHL7File();
    void ReadHL7Completed();

    // Reads a file as single-byte text without line feeds and with apostrophes as backquotes.
    static QString readCleaned(const QString &path);

signals:
    void runningChanged(bool running);
    void resultListChanged(); // the result directory's file list changed

private:
    bool isStable(const QString &path);
    void watchDirectories();
    void directoryChanged();
    void setRunning(bool running);
    void storeCheck(const char *key, bool on);

    bool m_running = false;
    bool m_inRequest = false;
    bool m_inResult = false;
    bool m_inEdit = false;
    bool m_inCompleted = false;
    QFileSystemWatcher m_watcher;
    QTimer m_settle; // re-runs the polls once a watched file has had time to settle
    struct Seen {
        qint64 size;
        QDateTime modified;
        qint64 since; // ms since epoch when this size and time were first seen
    };
    QHash<QString, Seen> m_seen;
};
