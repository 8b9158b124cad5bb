// The message window's polls on real files in file mode.

#include "CommLog.h"
#include "Globals.h"
#include "MessagePolls.h"
#include "Settings.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void writeFile(const QString &path, const QByteArray &bytes, int ageSeconds = 5)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    if (ageSeconds > 0) {
        QFile g(path);
        QVERIFY(g.open(QIODevice::ReadWrite));
        QVERIFY(g.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds), QFileDevice::FileModificationTime));
    }
}

QStringList files(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files, QDir::Name);
}

} // namespace

class TestPolls : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void resultsAreTakenWhateverTheCase();
    void movedUnderDatedDirectoryByPatient();
    void stopLeavesTheRestWaiting();
    void fileBeingWrittenWaitsThenIsTakenByTheWatcher();
    void completedFilesStayUntilStored();
    void missingResultDirectoryAlarms();
    void processCheckBoxesAreStored();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MessagePolls> m_polls;
    QStringList m_handled;
    QString dir(const char *name) const { return m_dir->filePath(QLatin1String(name)); }
};

void TestPolls::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    for (const char *d : {"results", "requests", "completed", "moved"})
        QDir().mkpath(dir(d));
    gblConnectionMode = true;
    gblResultDir = dir("results");
    gblRequestDir = dir("requests");
    gblCompletedDir = dir("completed");
    gblMoveFileDir = dir("moved");
    gblMoveFile = false;
    gblStopProcessing = false;
    m_handled.clear();
    MessageBox::instance().clear();
    m_polls = std::make_unique<MessagePolls>();
    // Accepts a message unless it says REJECT; the apostrophes arrive as backquotes.
    m_polls->handleInput = [this](const QString &text) {
        m_handled << text;
        return !text.contains("REJECT");
    };
}

void TestPolls::cleanup()
{
    m_polls.reset();
    m_dir.reset();
}

void TestPolls::resultsAreTakenWhateverTheCase()
{
    writeFile(dir("results") + "/a.hl7", "MSH|A\r\nPID|O'Brien\r");
    writeFile(dir("results") + "/b.HL7", "MSH|B\r");
    writeFile(dir("results") + "/c.Hl7", "MSH|REJECT\r");
    writeFile(dir("results") + "/d.txt", "not a message");
    writeFile(dir("results") + "/part.FRG", "fragment");
    m_polls->resultPoll();
    QCOMPARE(m_handled, (QStringList{"MSH|A\rPID|O`Brien\r", "MSH|B\r", "MSH|REJECT\r"}));
    QCOMPARE(files(dir("results")), QStringList{"d.txt"}); // taken, and the .FRG deleted
    QCOMPARE(files(dir("results") + "/failed"), QStringList{"c.Hl7"});
    // The box is emptied before each file: it shows the last one, which was not accepted.
    QCOMPARE(MessageBox::instance().lines().first(), "RELAYON:  " + dir("results") + "/c.Hl7");
    QVERIFY(!MessageBox::instance().lines().join("\n").contains("Successfully"));
}

void TestPolls::movedUnderDatedDirectoryByPatient()
{
    gblMoveFile = true;
    QString name = "DELA CRUZ^JUAN";
    m_polls->lastResult = [&](QString &h, QString &p, QString &r) {
        h = "000123";
        p = name;
        r = "10001";
    };
    writeFile(dir("results") + "/first.hl7", "MSH|1\r");
    m_polls->resultPoll();
    const QString dated = dir("moved") + "/" + QDate::currentDate().toString("yyyy MM dd");
    QCOMPARE(files(dated), QStringList{"000123 DELA CRUZ^JUAN 10001.HL7"});
    // No patient name recorded: the file keeps its name; the same target is replaced.
    name.clear();
    writeFile(dir("results") + "/second.hl7", "MSH|2\r");
    writeFile(dated + "/second.hl7", "old");
    m_polls->resultPoll();
    QCOMPARE(files(dated), (QStringList{"000123 DELA CRUZ^JUAN 10001.HL7", "second.hl7"}));
    QVERIFY(MessageBox::instance().lines().contains("RELAYON:  Successfully Parsed HL7 File - > '" + dir("results")
                                                    + "/second.hl7'"));
    QVERIFY(MessageBox::instance().lines().contains("HOST : MSH|2<CR>"));
    QFile f(dated + "/second.hl7");
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("MSH|2\r"));
}

void TestPolls::stopLeavesTheRestWaiting()
{
    for (int i = 0; i < 5; ++i)
        writeFile(dir("results") + QString("/%1.hl7").arg(i), "MSH|" + QByteArray::number(i) + "\r");
    m_polls->start();
    m_polls->handleInput = [this](const QString &text) {
        m_handled << text;
        m_polls->stop(); // the operator presses Stop while the first file is handled
        return true;
    };
    m_polls->resultPoll();
    QCOMPARE(m_handled.size(), 1);
    QCOMPARE(files(dir("results")).size(), 4);
    QVERIFY(!m_polls->running());
}

void TestPolls::fileBeingWrittenWaitsThenIsTakenByTheWatcher()
{
    WriteSetting(kAppProgram, "Options", "txtTimer", "60000");
    QVERIFY(m_polls->StartTimers());
    QCOMPARE(m_polls->tmrGetResult.interval(), 60000);
    writeFile(dir("results") + "/fresh.hl7", "MSH|half", 0);
    m_polls->resultPoll();
    QVERIFY(m_handled.isEmpty()); // just written: not stable yet
    // No timer tick comes within the test: the directory watch takes it once it settled.
    QTRY_COMPARE_WITH_TIMEOUT(m_handled.size(), 1, 5000);
    QCOMPARE(files(dir("results")), QStringList{});
}

void TestPolls::completedFilesStayUntilStored()
{
    m_polls->processCompleted = true;
    bool store = false;
    m_polls->handleInputComplete = [&](const QString &) { return store; };
    writeFile(dir("completed") + "/done.hl7", "MSH|C\r");
    m_polls->completedPoll();
    QCOMPARE(files(dir("completed")), QStringList{"done.hl7"});
    store = true;
    gblMoveFile = true;
    m_polls->completedPoll();
    QCOMPARE(files(dir("completed")), QStringList{});
    const QStringList moved = files(dir("moved"));
    QCOMPARE(moved.size(), 1);
    QVERIFY(QRegularExpression("^\\d{14}-done\\.hl7$").match(moved[0]).hasMatch());
}

void TestPolls::missingResultDirectoryAlarms()
{
    int alarms = 0;
    m_polls->playAlarm = [&] { ++alarms; };
    gblResultDir = dir("nowhere");
    m_polls->resultPoll();
    QCOMPARE(alarms, 1);
    QVERIFY(MessageBox::instance().lines().contains("RELAYON:  Results directory is missing ---> " + gblResultDir));
    QVERIFY(!m_polls->StartTimers()); // polling is not started
    QVERIFY(!m_polls->running());
}

void TestPolls::processCheckBoxesAreStored()
{
    QCOMPARE(m_polls->processEdit, true);
    m_polls->setProcessRequests(true);
    m_polls->setProcessEdit(false);
    MessagePolls other;
    other.load();
    QCOMPARE(other.processRequests, true);
    QCOMPARE(other.processCompleted, false);
    QCOMPARE(other.processEdit, false);
    QCOMPARE(ReadSetting(kAppProgram, MessagePolls::kSection, "chkRequests"), QString("1"));
}

RELAYON_CORE_TEST_MAIN(TestPolls)
#include "tst_polls.moc"
