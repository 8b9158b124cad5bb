#pragma once
// The main window's commands and their enabled states, without widgets: the main window
// binds its menus and tool bar to this object.

#include <QObject>

#include <functional>

class MainCommands : public QObject {
    Q_OBJECT
public:
    static MainCommands &instance();

    // Enabled states (menu command and tool bar button together where both exist).
    bool connectMenu = true;     // mnuConnect
    bool connectButton = true;   // button 1
    bool disconnect = false;     // mnuDisconnect, button 2
    bool tray = false;           // mnuTray, button 6
    bool exitMenu = true;        // mnuExit
    bool messageWindow = false;  // mnuMsgWindow, button 4
    bool commLog = true;         // mnuCommLog, button 5
    bool build = true;           // the Build menu and its Workstation and Examination commands

    // What the commands make other windows do; set by the application.
    std::function<void()> startFilePolls;          // the message window's result and request polls
    std::function<void(bool)> showMessageWindowHook; // showMessageWindow(True/False)
    std::function<bool()> runConnectDialog;        // modal; True when the operator confirmed
    std::function<void()> connectWorkstations;     // getLISWorkStations
    std::function<void()> disconnectWorkstations;  // DisconnectToWorkStation
    std::function<void()> showWorkstationWindow;
    std::function<void()> closeWorkstationWindows; // workstation table, exam mapping, log viewer
    std::function<void()> showLogViewer;
    std::function<void()> closeLogViewer;
    std::function<void(const QString &, const QString &)> warn; // text, title

    void Connect();
    void Disconnect();
    void MessageWindow();
    void CommunicationLogs();
    void showMessageWindow(bool show);
    void EnableDisconnectAndExit(bool enabled);
    void logViewerClosed();

    // The statement of the Connect command in socket mode, word for word.
    static const QString kActiveWorkstationsSql;
    // How often the Connect command starts over after a database error before it gives up.
    static constexpr int kConnectRetries = 3;

signals:
    void stateChanged();

private:
    void connectOnce(int attempt);
};
