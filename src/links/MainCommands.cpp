#include "MainCommands.h"

#include "CommLog.h"
#include "Database.h"
#include "Globals.h"
#include "ServerMonitor.h"
#include "UserSession.h"

const QString MainCommands::kActiveWorkstationsSql = QStringLiteral(
    "SELECT * FROM Build_File..tbVeVodZAZWorkstation WITH (NOLOCK) WHERE Active = 1 and "
    "ISNULL(ComputerName,'') <> '' and ISNULL(SocketNum,'') <> '' ORDER BY ComputerName ");

MainCommands &MainCommands::instance()
{
    static MainCommands commands;
    return commands;
}

void MainCommands::Connect()
{
    connectOnce(0);
}

void MainCommands::connectOnce(int attempt)
{
    try {
        if (gblConnectionMode) {
            if (startFilePolls)
                startFilePolls();
            connectMenu = connectButton = false;
            disconnect = true;
            tray = true;
            emit stateChanged();
            return;
        }
        Connection *db = gblUser ? gblUser->SQLConnection() : nullptr;
        if (!db)
            throw DbError(QStringLiteral("Operation is not allowed when the object is closed."));
        const Recordset rs = db->open(kActiveWorkstationsSql);
        if (rs.recordCount() == 0) {
            if (warn)
                warn(QStringLiteral("No active workstation found!"), QStringLiteral("Message"));
            if (showWorkstationWindow)
                showWorkstationWindow();
            return;
        }
        connectMenu = connectButton = false;
        emit stateChanged();
        if (closeWorkstationWindows)
            closeWorkstationWindows();
        gblConnectRequested = false;
        const bool confirmed = runConnectDialog ? runConnectDialog() : false;
        if (confirmed || gblConnectRequested) {
            if (startFilePolls)
                startFilePolls();
            showMessageWindow(gblAlwaysShowWindow != 0);
            if (connectWorkstations)
                connectWorkstations();
            disconnect = true;
            tray = true;
        } else {
            connectMenu = connectButton = true;
            build = true;
            tray = false;
        }
        emit stateChanged();
    } catch (const DbError &e) {
        ReportServerError(e.description());
        WriteCommLog(kRelayon, e.description(), kLogError, kRelayon, kRelayon);
        // Start over, but not without end.
        if (attempt < kConnectRetries) {
            connectOnce(attempt + 1);
        } else {
            DisplayMessage(kSourceRelayon, QStringLiteral("Connect gave up after ") + QString::number(kConnectRetries)
                                               + QStringLiteral(" attempts: ") + e.description());
            connectMenu = connectButton = true;
            emit stateChanged();
        }
    }
}

void MainCommands::Disconnect()
{
    disconnect = false;
    build = true;
    if (disconnectWorkstations)
        disconnectWorkstations();
    connectMenu = connectButton = true;
    messageWindow = false;
    tray = false;
    emit stateChanged();
}

void MainCommands::showMessageWindow(bool show)
{
    if (showMessageWindowHook)
        showMessageWindowHook(show);
    messageWindow = !show;
    emit stateChanged();
}

void MainCommands::MessageWindow()
{
    showMessageWindow(true);
    if (closeLogViewer)
        closeLogViewer();
}

void MainCommands::CommunicationLogs()
{
    if (gblChkRIS == 1 && gblUser) {
        KaldraClassesLib *classes = gblUser->KALDRAClasses();
        classes->UseClasses = true;
        classes->InitWithDB();
        classes->PROGRAM.staffAllowEdit = true;
        classes->PROGRAM.StaffAllowDelete = false;
        BrowseSpec &b = classes->PROGRAM.Browse;
        b.Init();
        b.PropOperation = QStringLiteral("F");
        b.PropDatabaseName = QStringLiteral("RADIOLOGY");
        b.proptable = QStringLiteral("tbHl7Logs");
        b.propwindowtitle = QStringLiteral("Hl7 Logs");
        b.propparentwindow = nullptr;
        b.PropFieldNameID = QStringLiteral("RequestNum");
        b.PropFieldList = QStringLiteral("RequestNum, Idnum,Transdate, RevenueId, ItemID, Hospnum, RefNum, ExportDate");
        b.PropFindField1 = QStringLiteral("RequestNum");
        b.PropFindField2 = QStringLiteral("RevenueID");
        b.PropDateFilterField = QStringLiteral("TransDate");
        b.PropFindBeforeListing = true;
        b.propsort = QStringLiteral("TransDate");
        b.PropFieldSizes = QStringLiteral("2000,2000,2000,2000,2000");
        classes->PROGRAM.newbrowse();
    }
    if (gblChkLIS != 1)
        return;
    commLog = false;
    messageWindow = true;
    emit stateChanged();
    if (showLogViewer)
        showLogViewer();
}

void MainCommands::logViewerClosed()
{
    commLog = true;
    if (messageWindow)
        messageWindow = false;
    emit stateChanged();
}

void MainCommands::EnableDisconnectAndExit(bool enabled)
{
    disconnect = enabled;
    exitMenu = enabled;
    emit stateChanged();
}
