// Start-up on a demo hospital: sign-in, the windows, the ready message, and the server
// reconnection that re-runs the start-up.

#include "AppHooks.h"
#include "CommLog.h"
#include "Globals.h"
#include "Hospital.h"
#include "MainCommands.h"
#include "MainWindow.h"
#include "MessageWindow.h"
#include "ServerMonitor.h"
#include "Settings.h"
#include "Startup.h"
#include "TestSupport.h"
#include "UserSession.h"
#include "Windows.h"
#include "frmBrowse.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cancelledSignInEndsWithoutWindow();
    void goodCredentialsOpenTheWindows();
    void alarmWithoutAutomaticRetry();
    void automaticReconnection();

private:
    int readyCount() const;
    QTemporaryDir m_dir;
    QStringList m_alerts;
};

int TestStartup::readyCount() const
{
    return int(MessageBox::instance().lines().count("RELAYON:  RELAYON is now ready for communication..."));
}

void TestStartup::initTestCase()
{
    hospitaldb::Hospital::create(m_dir.path(), true);
    WriteSetting(kAppCurrentUser, "Connection", "Server", m_dir.path());
    windows::install();
    AppHooks::instance().alert = [this](const QString &text) { m_alerts << text; };
}

void TestStartup::cancelledSignInEndsWithoutWindow()
{
    WriteSetting(kAppProgram, "Options", "UserName", "operator");
    WriteSetting(kAppProgram, "Options", "UserPassword", "wrong");
    int shown = 0;
    UserSession::setDialogProvider([&](UserSession::DialogEntries &) { ++shown; return false; });
    QVERIFY(!Main());
    QCOMPARE(shown, 1);
    QVERIFY(!gblLoggedIn);
    QVERIFY(!windows::exists("main"));
    QVERIFY(!windows::exists("message"));
    QCOMPARE(readyCount(), 0);
    // The revenue load needed the connection and said so first.
    QCOMPARE(m_alerts.size(), 1);
    QVERIFY(m_alerts[0].startsWith("LoadRevenues "));
}

void TestStartup::goodCredentialsOpenTheWindows()
{
    WriteSetting(kAppProgram, "Options", "UserPassword", "relayon");
    UserSession::setDialogProvider([](UserSession::DialogEntries &) -> bool {
        qFatal("the sign-in dialog was shown");
        return false;
    });
    QVERIFY(Main());
    QVERIFY(gblLoggedIn);
    MainWindow *main = windows::mainWindow();
    QVERIFY(windows::exists("message"));
    QCOMPARE(main->windowTitle(), QString("KALDRA HL7 Relayon 8.1.462"));
    QVERIFY(main->isMaximized());
    QCOMPARE(readyCount(), 1);
    QCOMPARE(main->statusText("sbServer"), "Server: " + QDir(m_dir.path()).absolutePath());
    QCOMPARE(main->statusText("sbMode"), QString("Mode: TCP/IP"));
    QCOMPARE(main->statusText("sbHost"), QString("Host: ZAZ_LAB"));
    QCOMPARE(windows::messageWindow()->windowTitle(), MessageWindow::kCaption);
    QVERIFY(gblRevenueMax >= 0);
    QVERIFY(windows::orderGenerator()->isVisible()); // Main ends by showing the order generator

    // The state at creation.
    QVERIFY(main->action("mnuConnect")->isEnabled());
    QVERIFY(!main->action("mnuDisconnect")->isEnabled());
    QVERIFY(!main->action("mnuTray")->isEnabled());
    QVERIFY(!main->action("mnuMsgWindow")->isEnabled());
    QVERIFY(main->action("mnuCommLog")->isEnabled());
    QCOMPARE(main->toolButton(1)->text(), QString("Connect"));
    QCOMPARE(main->toolButton(10)->text(), QString("Exit"));
    QCOMPARE(main->action("mnuExit")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));

    // Main again (as after a reconnection): one more ready message, the revenues once each.
    const int revenues = gblRevenues.size();
    QVERIFY(Main());
    QCOMPARE(readyCount(), 2);
    QCOMPARE(gblRevenues.size(), revenues);
    QCOMPARE(windows::mainWindow(), main);
}

void TestStartup::alarmWithoutAutomaticRetry()
{
    ServerMonitor &m = ServerMonitor::instance();
    gblAlarmEnabled = true;
    gblAutoReconnect = false;
    const int lines = MessageBox::instance().lines().size();
    ReportServerError("[FreeTDS] the server went away");
    QVERIFY(m.tmrAlarm.isActive());
    QCOMPARE(m.tmrAlarm.interval(), 2000);
    QVERIFY(m.tmrWarning.isActive());
    QCOMPARE(m.tmrWarning.interval(), 500);
    QVERIFY(!m.tmrReconnectServer.isActive());
    QCOMPARE(MessageBox::instance().lines().size(), lines); // nothing retries, nothing said
    QFrame *panel = windows::messageWindow()->pctReconnect();
    const bool before = panel->isVisibleTo(panel->parentWidget());
    QTRY_VERIFY_WITH_TIMEOUT(panel->isVisibleTo(panel->parentWidget()) != before, 2000); // it blinks

    // F5 in the message box reconnects by hand: Main once more, warning gone.
    const int ready = readyCount();
    QTest::keyClick(windows::messageWindow()->rtbHL7(), Qt::Key_F5);
    QCOMPARE(readyCount(), ready + 1);
    QVERIFY(MessageBox::instance().lines().contains("RELAYON:  Connection to server has been restored!..."));
    QVERIFY(!m.tmrWarning.isActive());
    QVERIFY(!m.tmrAlarm.isActive()); // the settings load switched it off
    QVERIFY(!panel->isVisibleTo(panel->parentWidget()));
}

void TestStartup::automaticReconnection()
{
    ServerMonitor &m = ServerMonitor::instance();
    gblAlarmEnabled = false;
    gblAutoReconnect = true;
    // The server "goes away": its parameters point where there is no hospital.
    WriteSetting(kAppCurrentUser, "Connection", "Server", m_dir.path() + "/gone");
    const int ready = readyCount();
    ReportServerError("[FreeTDS] the server went away");
    QVERIFY(m.tmrReconnectServer.isActive());
    QCOMPARE(m.tmrReconnectServer.interval(), 3000);
    const QStringList &lines = MessageBox::instance().lines();
    QVERIFY(lines.contains("RELAYON:  ATTEMPTING TO RECONNECT TO THE SERVER, PLEASE WAIT..."));
    QVERIFY(lines.contains("RELAYON:  [FreeTDS] the server went away"));
    const auto disrupted = [&] { return int(lines.count("RELAYON:  Connection to server has been disrupted!...")); };
    QTRY_COMPARE_WITH_TIMEOUT(disrupted(), 2, 8000);

    // It comes back: the next tick runs Main once and stops retrying.
    WriteSetting(kAppCurrentUser, "Connection", "Server", m_dir.path());
    QTRY_VERIFY_WITH_TIMEOUT(!m.tmrReconnectServer.isActive(), 5000);
    QCOMPARE(readyCount(), ready + 1);
    QVERIFY(lines.last() == "RELAYON:  Connection to server has been restored!...");
    QFile log(commLogFile(kLogError));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray records = log.readAll();
    QCOMPARE(records.count("Connection to server has been disrupted! \r\n"), 2);
    QCOMPARE(records.count("Connection to server has been restored! \r\n"), 2); // manual one before
}

RELAYON_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
