#include "Startup.h"

#include "AppHooks.h"
#include "CommLog.h"
#include "Database.h"
#include "Globals.h"
#include "RevenueTable.h"
#include "ServerMonitor.h"
#include "Settings.h"
#include "UserSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

AppHooks &AppHooks::instance()
{
    static AppHooks hooks;
    return hooks;
}

void Alert(const QString &text)
{
    if (AppHooks::instance().alert)
        AppHooks::instance().alert(text);
    else
        QMessageBox::critical(nullptr, kProgramTitle, text, QMessageBox::Ok);
}

void Login()
{
    gblLoggedIn = false;
    try {
        gblUser = std::make_unique<UserSession>();
        gblUser->PasswordDeptCode = QStringLiteral("3");
        const QString user = ReadSetting(kAppProgram, QStringLiteral("Options"), QStringLiteral("UserName"));
        const QString password = ReadSetting(kAppProgram, QStringLiteral("Options"), QStringLiteral("UserPassword"));
        gblUser->LoginUser(user, password);
        if (gblUser->Connected()) {
            gblLoggedIn = true;
            return;
        }
        gblUser->ShowMain();
        gblLoggedIn = gblUser->Connected();
    } catch (const std::exception &) {
        gblLoggedIn = LoginWithDialog();
    }
}

bool LoginWithDialog()
{
    if (!gblUser)
        gblUser = std::make_unique<UserSession>();
    gblUser->PasswordDeptCode = QStringLiteral("3");
    gblUser->ShowMain();
    if (!gblUser->Connected())
        return false;
    WriteSetting(kAppConnectionString, QStringLiteral("Con"), QStringLiteral("ConStr"),
                 gblUser->SQLConnection()->connectionString());
    return true;
}

void LoadSettings()
{
    gblMsgCount = 0;
    if (gblUser && gblUser->SQLConnection())
        gblUser->SQLConnection()->setCommandTimeout(120);
    gblWorkstationsFound = true;

    gblAlwaysShowWindow = settingNumber(kAppForms, QStringLiteral("LIS_MessageWindow"), QStringLiteral("AlwaysShowWindow"), 1);
    const QString p = kAppProgram;
    gblAutoStart = settingNumber(p, QStringLiteral("StartUp"), QStringLiteral("AutoStart"), 0) != 0;
    gblConnectionMode = settingBoolean(p, QStringLiteral("Connection"), QStringLiteral("ConnectionMode"), false);
    gblRequestDir = settingDirectory(p, QStringLiteral("Directory"), QStringLiteral("Requests"));
    gblResultDir = settingDirectory(p, QStringLiteral("Directory"), QStringLiteral("Results"));
    gblAlarmEnabled = settingNumber(p, QStringLiteral("Alarm"), QStringLiteral("Enable"), 0) != 0;
    gblMoveFile = settingBoolean(p, QStringLiteral("Directory"), QStringLiteral("MoveFile"), false);
    gblMoveFileDir = settingDirectory(p, QStringLiteral("Directory"), QStringLiteral("MoveFileDir"));
    gblAutoReconnect = settingNumber(p, QStringLiteral("StartUp"), QStringLiteral("AutoReconnect"), 0) != 0;
    gblLISId = settingText(p, QStringLiteral("Connection"), QStringLiteral("LISId"), QStringLiteral("ZAZ_LAB"));
    // Read in their place in the order although only the control panel uses them: a bad
    // stored value is reported at every load like the others.
    settingBoolean(p, QStringLiteral("OBR"), QStringLiteral("MultiOrder"), false);
    settingBoolean(p, QStringLiteral("PV1"), QStringLiteral("Active"), false);
    gblNumericMsgControlId = settingBoolean(p, QStringLiteral("MSH"), QStringLiteral("NumericMessageControlId"), false);
    gblHL7Version = settingText(p, QStringLiteral("MSH"), QStringLiteral("HL7Version"), QStringLiteral("2.3"));
    gblResultPort = settingPort(p, QStringLiteral("Connection"), QStringLiteral("ResultPort"), QStringLiteral("1987"));
    gblMessageTypeACK = settingText(p, QStringLiteral("MSH"), QStringLiteral("MessageTypeACK"), QStringLiteral("ORM^O01"));
    settingBoolean(p, QStringLiteral("ORC"), QStringLiteral("MultiORC"), false);
    settingBoolean(p, QStringLiteral("SPM"), QStringLiteral("Active"), false);
    gblAppAckType = settingText(p, QStringLiteral("MSH"), QStringLiteral("AppAckType"), QStringLiteral("AL"));
    gblAccAckType = settingText(p, QStringLiteral("MSH"), QStringLiteral("AccAckType"), QStringLiteral("ER"));
    settingBoolean(p, QStringLiteral("Connection"), QStringLiteral("UseLISCode"), false);
    settingBoolean(p, QStringLiteral("EVN"), QStringLiteral("Active"), false);
    settingBoolean(p, QStringLiteral("OBR"), QStringLiteral("TestName"), true);
    gblHostIP = settingText(p, QStringLiteral("Connection"), QStringLiteral("HostIP"), QString());
    gblRequestPort = settingPort(p, QStringLiteral("Connection"), QStringLiteral("RequestPort"), QStringLiteral("1988"));
    gblCompletedDir = settingDirectory(p, QStringLiteral("Directory"), QStringLiteral("RISCompleted"));
    gblChkLIS = settingNumber(p, QStringLiteral("Settings"), QStringLiteral("chkLIS"), 1);
    gblChkRIS = settingNumber(p, QStringLiteral("Settings"), QStringLiteral("chkRIS"), 1);

    AppHooks &hooks = AppHooks::instance();
    if (hooks.ensureMainAndMessageWindows)
        hooks.ensureMainAndMessageWindows();
    ServerMonitor &monitor = ServerMonitor::instance();
    monitor.tmrAlarm.stop();
    monitor.Show_Warning_Symbol(false);

    if (hooks.setStatusTexts)
        hooks.setStatusTexts(QStringLiteral("Server: ") + (gblUser ? gblUser->ServerName() : QString()),
                             QStringLiteral("Mode: ") + (gblConnectionMode ? QStringLiteral("FTP") : QStringLiteral("TCP/IP")),
                             QStringLiteral("Host: ") + gblLISId);
    DisplayMessage(kSourceRelayon, QStringLiteral("RELAYON is now ready for communication..."));
}

bool Main()
{
    Login();
    LoadRevenues();
    if (!gblUser || !gblUser->Connected())
        return false;
    LoadSettings();
    MakeDirQuiet(QDir(gblMoveFileDir).filePath(QStringLiteral("bak")));
    if (AppHooks::instance().showOrderGenerator)
        AppHooks::instance().showOrderGenerator();
    return true;
}

bool TestServerConnection()
{
    try {
        std::unique_ptr<Connection> c = openConnection(UserSession::storedConnectionParams());
        return c != nullptr;
    } catch (const DbError &) {
        return false;
    }
}

bool ConnectDB()
{
    try {
        if (gblUser && gblUser->SQLConnection()) {
            gblUser->SQLConnection()->execute(QStringLiteral("Select 1"));
            return true;
        }
    } catch (const DbError &) {
    }
    Login();
    TraceError(QStringLiteral("ConnectDB : ") + (gblLoggedIn ? QStringLiteral("True") : QStringLiteral("False")));
    return false;
}

QString GetToken(QString &source, const QString &delimiter)
{
    const qsizetype at = delimiter.isEmpty() ? -1 : source.indexOf(delimiter);
    if (at < 0) {
        const QString all = source;
        source.clear();
        return all;
    }
    const QString token = source.left(at);
    source.remove(0, at + delimiter.size());
    return token;
}

void MakeDirQuiet(const QString &path)
{
    // Only the last level: a missing parent is an error, and errors are ignored.
    QDir().mkdir(path);
}

bool PathExists(const QString &path)
{
    return !path.isEmpty() && QFileInfo::exists(path);
}
