#pragma once
// Database failures and their recovery: the alarm, the blinking reconnect warning of the
// message window, the automatic retry every 3000 ms and the manual reconnection. The message
// window binds its panel to warningVisible and plays the alarm on alarmTick.

#include <QObject>
#include <QTimer>

#include <functional>

class ServerMonitor : public QObject {
    Q_OBJECT
public:
    static ServerMonitor &instance();

    QTimer tmrAlarm;           // 2000 ms: plays the alarm sound
    QTimer tmrWarning;         // 500 ms: blinks the reconnect panel
    QTimer tmrReconnectServer; // 3000 ms: tries the server again

    // What a reconnection runs, set by the start-up: a test connection, Main, StartTimers.
    std::function<bool()> testServerConnection;
    std::function<void()> runMain;
    std::function<void()> startTimers;

    bool warningVisible() const { return m_panelVisible; }
    void Show_Warning_Symbol(bool enable);
    void reportServerError(const QString &description);
    void manualReconnect(); // the operator clicked the panel or pressed F5
    void reconnectTick();

signals:
    void warningVisibleChanged(bool visible);
    void alarmTick(); // play "ringout.wav" once

private:
    ServerMonitor();
    void setPanelVisible(bool visible);
    void restore(); // Main again, the polls again, and the "restored" report
    bool m_panelVisible = false;
};

// Run by every failing database or socket call, with the error's description.
void ReportServerError(const QString &description);
