#include "ServerMonitor.h"

#include "CommLog.h"
#include "Globals.h"

ServerMonitor &ServerMonitor::instance()
{
    static ServerMonitor monitor;
    return monitor;
}

ServerMonitor::ServerMonitor()
{
    tmrAlarm.setInterval(2000);
    tmrWarning.setInterval(500);
    tmrReconnectServer.setInterval(3000);
    connect(&tmrAlarm, &QTimer::timeout, this, &ServerMonitor::alarmTick);
    connect(&tmrWarning, &QTimer::timeout, this, [this] { setPanelVisible(!m_panelVisible); });
    connect(&tmrReconnectServer, &QTimer::timeout, this, &ServerMonitor::reconnectTick);
}

void ServerMonitor::setPanelVisible(bool visible)
{
    if (m_panelVisible == visible)
        return;
    m_panelVisible = visible;
    emit warningVisibleChanged(visible);
}

void ServerMonitor::Show_Warning_Symbol(bool enable)
{
    if (enable)
        tmrWarning.start();
    else
        tmrWarning.stop();
    setPanelVisible(enable);
}

void ServerMonitor::reportServerError(const QString &description)
{
    if (gblAlarmEnabled)
        tmrAlarm.start();
    else
        tmrAlarm.stop();
    Show_Warning_Symbol(true);
    if (!gblAutoReconnect)
        return;
    tmrReconnectServer.start();
    DisplayMessage(kSourceRelayon, QStringLiteral("ATTEMPTING TO RECONNECT TO THE SERVER, PLEASE WAIT..."));
    DisplayMessage(kSourceRelayon,
                   QStringLiteral("During AUTOMATIC RECONNECTION, you might experience hanging of the RELAYON which is NORMAL."));
    DisplayMessage(kSourceRelayon, description);
    WriteCommLog(kRelayon, description, kLogError, kRelayon, kRelayon);
}

void ServerMonitor::restore()
{
    if (runMain)
        runMain();
    if (startTimers)
        startTimers();
    DisplayMessage(kSourceRelayon, QStringLiteral("Connection to server has been restored!..."));
    WriteCommLog(kRelayon, QStringLiteral("Connection to server has been restored! "), kLogError, kRelayon, kRelayon);
}

void ServerMonitor::reconnectTick()
{
    if (testServerConnection && testServerConnection()) {
        tmrReconnectServer.stop();
        restore();
    } else {
        DisplayMessage(kSourceRelayon, QStringLiteral("Connection to server has been disrupted!..."));
        WriteCommLog(kRelayon, QStringLiteral("Connection to server has been disrupted! "), kLogError, kRelayon, kRelayon);
    }
}

void ServerMonitor::manualReconnect()
{
    if (testServerConnection && testServerConnection()) {
        restore();
        Show_Warning_Symbol(false);
    } else {
        DisplayMessage(kSourceRelayon, QStringLiteral("Unable to establish connection to server!..."));
        WriteCommLog(kRelayon, QStringLiteral("Unable to establish connection to server!..."), kLogError, kRelayon, kRelayon);
    }
}

void ReportServerError(const QString &description)
{
    ServerMonitor::instance().reportServerError(description);
}
