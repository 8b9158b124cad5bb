// File mode end to end on a demo hospital: the RIS drops a completion and a result for a
// pending request; the polls store them and file the messages away.

#include "Database.h"
#include "DemoRis.h"
#include "Globals.h"
#include "Hospital.h"
#include "MessagePolls.h"
#include "MessageWindow.h"
#include "Settings.h"
#include "Startup.h"
#include "TestSupport.h"
#include "UserSession.h"
#include "Windows.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestFileMode : public QObject {
    Q_OBJECT
private slots:
    void resultAndCompletionReachTheDatabase();
};

static const QByteArray kOrder =
    "MSH|^~\\&|KALDRA|HOSPITAL|RIS|RADIOLOGY|20261211093000||ORM^O01|1|P|2.3.1\r\n"
    "PID|1||100201||DEMO^PATIENT\r\n"
    "PV1||I|^301|||||1010^ELISA MERCADO, MD|||||||||||240101|\r\n"
    "ORC|NW|10001XR|||||||20261211090000|\r\n"
    "OBR||10001XR||CR88^CHEST PA|R||||||A||info|||||||||||CR\r\x1c\r";

void TestFileMode::resultAndCompletionReachTheDatabase()
{
    QTemporaryDir dir;
    const QString hospital = dir.filePath("hospital");
    hospitaldb::Hospital::create(hospital, true);
    for (const char *d : {"requests", "results", "completed", "moved"})
        QDir().mkpath(dir.filePath(d));
    WriteSetting(kAppCurrentUser, "Connection", "Server", hospital);
    WriteSetting(kAppProgram, "Options", "UserName", "operator");
    WriteSetting(kAppProgram, "Options", "UserPassword", "relayon");
    WriteSetting(kAppProgram, "Connection", "ConnectionMode", "-1");
    WriteSetting(kAppProgram, "Directory", "Requests", dir.filePath("requests"));
    WriteSetting(kAppProgram, "Directory", "Results", dir.filePath("results"));
    WriteSetting(kAppProgram, "Directory", "RISCompleted", dir.filePath("completed"));
    WriteSetting(kAppProgram, MessagePolls::kSection, "chkProcessCompleted", "1");
    windows::install();
    QVERIFY(Main());
    MessagePolls &polls = windows::messageWindow()->polls();
    QVERIFY(polls.running());
    QCOMPARE(polls.tmrGetResult.interval(), 50000);

    const hospitaldb::DemoRisReply r = hospitaldb::demoRisReplies(kOrder, QDateTime::currentDateTime(), 1);
    for (const auto &[sub, bytes] : {std::pair{"completed", r.completion}, std::pair{"results", r.result}}) {
        QFile f(dir.filePath(sub) + "/" + r.name + ".part");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        QVERIFY(f.rename(dir.filePath(sub) + "/" + r.name));
    }
    // No tick comes in this time: the directory watch takes both once they are still.
    QTRY_VERIFY_WITH_TIMEOUT(QDir(dir.filePath("results")).entryList({"*.hl7"}, QDir::Files).isEmpty(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(QDir(dir.filePath("completed")).entryList({"*.hl7"}, QDir::Files).isEmpty(), 10000);
    QVERIFY(!QDir(dir.filePath("results") + "/failed").exists());

    Connection *db = gblUser->SQLConnection();
    Recordset result = db->open("SELECT RequestNum, Interpretation FROM Radiology..tbXRResult WHERE RequestNum = '10001'");
    QCOMPARE(result.recordCount(), 1);
    QVERIFY(result.field("Interpretation").contains("No acute abnormality"));
    Recordset request = db->open("SELECT RISExamDate FROM Radiology..tbXRRequest WHERE RequestNum = '10001'");
    QVERIFY2(!request.field("RISExamDate").isEmpty(), "the completion set no exam date");
}

RELAYON_TEST_MAIN(TestFileMode)
#include "tst_filemode.moc"
