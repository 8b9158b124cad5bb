// The session component: sign-in with stored credentials, its dialog, and the connection
// it owns.

#include "Accounts.h"
#include "EmbeddedConnection.h"
#include "Hospital.h"
#include "Settings.h"
#include "TestSupport.h"
#include "UserSession.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestSession : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void storedCredentials_data();
    void storedCredentials();
    void dialogRetriesUntilSignedInAndKeepsParameters();
    void dialogCancelled();
    void missingHospitalIsAnError();

private:
    QTemporaryDir m_dir;
};

void TestSession::initTestCase()
{
    hospitaldb::Hospital::create(m_dir.path(), true);
    hospitaldb::Hospital h(m_dir.path());
    hospitaldb::addUser(h, "o'brien", "it's me");
}

void TestSession::init()
{
    QFile::remove(settingsFile(kAppCurrentUser));
    WriteSetting(kAppCurrentUser, "Connection", "Server", m_dir.path());
    UserSession::setDialogProvider({});
}

void TestSession::storedCredentials_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("connected");
    QTest::newRow("demo operator") << "operator" << "relayon" << true;
    QTest::newRow("name in other case") << "OPERATOR" << "relayon" << true;
    QTest::newRow("wrong password") << "operator" << "Relayon" << false;
    QTest::newRow("unknown user") << "nobody" << "relayon" << false;
    QTest::newRow("empty") << "" << "" << false;
    QTest::newRow("apostrophes are data") << "o'brien" << "it's me" << true;
    QTest::newRow("injection is data") << "x' OR '1'='1" << "relayon" << false;
}

void TestSession::storedCredentials()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(bool, connected);
    UserSession s;
    s.LoginUser(user, password);
    QCOMPARE(s.Connected(), connected);
    QCOMPARE(s.SQLConnection() != nullptr, connected);
    if (connected) {
        QCOMPARE(s.ServerName(), QDir(m_dir.path()).absolutePath());
        QCOMPARE(s.SQLConnection()->open("Select 1").recordCount(), 1);
    } else {
        QVERIFY(!s.lastError().isEmpty());
    }
}

void TestSession::dialogRetriesUntilSignedInAndKeepsParameters()
{
    QFile::remove(settingsFile(kAppCurrentUser)); // nothing stored: the embedded default is elsewhere
    int shown = 0;
    QStringList errorsShown;
    UserSession::setDialogProvider([&](UserSession::DialogEntries &e) {
        ++shown;
        errorsShown << e.error;
        e.connection.server = m_dir.path();
        e.userName = "operator";
        e.password = shown == 1 ? "wrong" : "relayon";
        return true;
    });
    UserSession s;
    s.ShowMain();
    QVERIFY(s.Connected());
    QCOMPARE(shown, 2);
    QCOMPARE(errorsShown.value(1), QString("Invalid user name or password."));
    QCOMPARE(ReadSetting(kAppCurrentUser, "Connection", "Server"), m_dir.path());
    // The file holding the connection's password is the owner's alone.
    QCOMPARE(QFile::permissions(settingsFile(kAppCurrentUser)) & 0x0077, QFileDevice::Permissions());
}

void TestSession::dialogCancelled()
{
    UserSession::setDialogProvider([](UserSession::DialogEntries &) { return false; });
    UserSession s;
    s.LoginUser("operator", "wrong");
    s.ShowMain();
    QVERIFY(!s.Connected());
    QVERIFY(!s.SQLConnection());
}

void TestSession::missingHospitalIsAnError()
{
    QTemporaryDir empty;
    WriteSetting(kAppCurrentUser, "Connection", "Server", empty.path());
    UserSession s;
    s.LoginUser("operator", "relayon");
    QVERIFY(!s.Connected());
    QVERIFY2(s.lastError().contains("no hospital"), qPrintable(s.lastError()));
}

RELAYON_TEST_MAIN(TestSession)
#include "tst_session.moc"
