// The settings store and LoadSettings: defaults of a fresh store, conversions, and what a
// stored value that does not convert does.

#include "CommLog.h"
#include "Globals.h"
#include "Settings.h"
#include "Startup.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QtTest>

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void init();
    void freshStoreDefaults();
    void booleans_data();
    void booleans();
    void badValuesGiveDefaultAndOneRecord_data();
    void badValuesGiveDefaultAndOneRecord();
    void readNeverCreatesAndWriteRoundTrips();

private:
    QString errorLog();
};

void TestSettings::init()
{
    QDir(settingsDirectory()).removeRecursively();
    QFile::remove(commLogFile(kLogError));
}

QString TestSettings::errorLog()
{
    QFile f(commLogFile(kLogError));
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
}

void TestSettings::freshStoreDefaults()
{
    LoadSettings();
    const QString dir = programDirectory();
    QCOMPARE(gblConnectionMode, false); // socket mode
    QCOMPARE(gblRequestDir, dir);
    QCOMPARE(gblResultDir, dir);
    QCOMPARE(gblCompletedDir, dir);
    QCOMPARE(gblMoveFileDir, dir);
    QCOMPARE(gblResultPort, QString("1987"));
    QCOMPARE(gblRequestPort, QString("1988"));
    QCOMPARE(gblHostIP, QString());
    QCOMPARE(gblLISId, QString("ZAZ_LAB"));
    QCOMPARE(gblHL7Version, QString("2.3"));
    QCOMPARE(gblMessageTypeACK, QString("ORM^O01"));
    QCOMPARE(gblAppAckType, QString("AL"));
    QCOMPARE(gblAccAckType, QString("ER"));
    QCOMPARE(gblAutoStart, false);
    QCOMPARE(gblAlarmEnabled, false);
    QCOMPARE(gblMoveFile, false);
    QCOMPARE(gblAutoReconnect, false);
    QCOMPARE(gblNumericMsgControlId, false);
    QCOMPARE(int(gblAlwaysShowWindow), 1);
    QCOMPARE(int(gblChkLIS), 1);
    QCOMPARE(int(gblChkRIS), 1);
    QCOMPARE(int(gblMsgCount), 0);
    QCOMPARE(gblWorkstationsFound, true);
    QCOMPARE(errorLog(), QString()); // nothing to complain about
    QVERIFY(!QFile::exists(settingsFile(kAppProgram))); // reading created nothing
}

void TestSettings::booleans_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("mode");
    QTest::newRow("-1 file transfer") << "-1" << true;
    QTest::newRow("0 socket") << "0" << false;
    QTest::newRow("True") << "True" << true;
    QTest::newRow("False") << "False" << false;
    QTest::newRow("other non-zero") << "5" << true;
}

void TestSettings::booleans()
{
    QFETCH(QString, stored);
    QFETCH(bool, mode);
    WriteSetting(kAppProgram, "Connection", "ConnectionMode", stored);
    LoadSettings();
    QCOMPARE(gblConnectionMode, mode);
    QCOMPARE(errorLog(), QString());
}

void TestSettings::badValuesGiveDefaultAndOneRecord_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("port abc") << "Connection" << "ResultPort" << "abc";
    QTest::newRow("port out of range") << "Connection" << "RequestPort" << "70000";
    QTest::newRow("flag not a number") << "Alarm" << "Enable" << "yes";
    QTest::newRow("boolean not a boolean") << "Connection" << "ConnectionMode" << "maybe";
    QTest::newRow("number too large") << "Settings" << "chkRIS" << "99999";
}

void TestSettings::badValuesGiveDefaultAndOneRecord()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    WriteSetting(kAppProgram, section, key, value);
    LoadSettings();
    QCOMPARE(gblResultPort, QString("1987"));
    QCOMPARE(gblRequestPort, QString("1988"));
    QCOMPARE(gblAlarmEnabled, false);
    QCOMPARE(gblConnectionMode, false);
    QCOMPARE(int(gblChkRIS), 1);
    const QString log = errorLog();
    QCOMPARE(log.count("Sender: RELAYON"), 1);
    QVERIFY2(log.contains(section + "/" + key), qPrintable(log));

    // A timer read at its point of use: "" gives its default and a record.
    WriteSetting(kAppProgram, "Options", "txtTimer", "");
    QCOMPARE(settingInterval(kAppProgram, "Options", "txtTimer", 50000), 50000);
    QVERIFY(errorLog().contains("Options/txtTimer"));
}

void TestSettings::readNeverCreatesAndWriteRoundTrips()
{
    QCOMPARE(ReadSetting(kAppForms, "LIS_MessageWindow", "AlwaysShowWindow", "1"), QString("1"));
    QVERIFY(!QFile::exists(settingsFile(kAppForms)));
    const QString odd = "a, b; c=d \"q\" O'Brien";
    WriteSetting(kAppForms, "HL7 Result Reader and Edit Patient HL7 messages", "chkRequests", odd);
    QCOMPARE(ReadSetting(kAppForms, "HL7 Result Reader and Edit Patient HL7 messages", "chkRequests"), odd);
    // Only files that hold a password are private.
    WriteSetting(kAppProgram, "Options", "UserPassword", "secret");
    QCOMPARE(QFile::permissions(settingsFile(kAppProgram)) & 0x0077, QFileDevice::Permissions());
}

RELAYON_CORE_TEST_MAIN(TestSettings)
#include "tst_settings.moc"
