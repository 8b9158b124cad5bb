// The communication log records and files, the message box rendering of HL7 framing, and
// the trace windows' line order.

#include "CommLog.h"
#include "Startup.h"
#include "TestSupport.h"

#include <QDateTime>
#include <QFile>
#include <QtTest>

class TestCommLog : public QObject {
    Q_OBJECT
private slots:
    void init();
    void recordIsExact();
    void fileByType_data();
    void fileByType();
    void blankDescriptionWritesNothing();
    void display_data();
    void display();
    void messageBoxKeepsNewestLines();
    void traceOrder();
    void getToken();
    void pathExists();
};

void TestCommLog::init()
{
    for (int t : {1, 2, 3, 4})
        QFile::remove(commLogFile(t));
    MessageBox::instance().clear();
}

void TestCommLog::recordIsExact()
{
    const QDateTime when(QDate(2026, 12, 11), QTime(14, 5, 9));
    const QString record = commLogRecord("RELAYON", QString::fromUtf8("line one\r\nÑ line two"), 3, "1987", "LAB1", when);
    const QString expected = "Sender: RELAYON\r\nReceiver: LAB1\r\nType: 3\r\nSocket: 1987\r\n"
                             "Date / Time: " + generalDateTime(when) + "\r\nDescription: \r\n\r\n"
                             + QString::fromUtf8("line one\r\nÑ line two") + "\r\n" + QString(81, '=') + "\r\n";
    QCOMPARE(record, expected);
    QCOMPARE(generalDateTime(when), QString("12/11/2026 02:05:09 PM"));

    WriteCommLog("RELAYON", QString::fromUtf8("Ñ"), 3, "RELAYON", "RELAYON");
    WriteCommLog("RELAYON", "second", 3, "RELAYON", "RELAYON");
    QFile f(commLogFile(3));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY(bytes.contains("\r\n\r\n\xD1\r\n=====")); // one Latin-1 byte
    QCOMPARE(bytes.count("Sender: RELAYON\r\n"), 2);
    QVERIFY(bytes.endsWith(QByteArray(81, '=') + "\r\n"));
}

void TestCommLog::fileByType_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("file");
    QTest::newRow("1") << 1 << "Relayon_Request_Log.log";
    QTest::newRow("2") << 2 << "Relayon_Result_Log.log";
    QTest::newRow("3") << 3 << "Relayon_Error_Log.log";
    QTest::newRow("4") << 4 << "Relayon_Log.log";
    QTest::newRow("0") << 0 << "Relayon_Log.log";
    QTest::newRow("7") << 7 << "Relayon_Log.log";
}

void TestCommLog::fileByType()
{
    QFETCH(int, type);
    QFETCH(QString, file);
    WriteCommLog("A", "text", type, "S", "B");
    QVERIFY(QFile::exists(programDirectory() + "/" + file));
}

void TestCommLog::blankDescriptionWritesNothing()
{
    WriteCommLog("A", "   \t ", 3, "S", "B");
    WriteCommLog("A", "", 4, "S", "B");
    QVERIFY(!QFile::exists(commLogFile(3)));
    QVERIFY(!QFile::exists(commLogFile(4)));
}

void TestCommLog::display_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("lines");
    const QString vt(QChar(11)), fs(QChar(28)), cr("\r");
    QTest::newRow("two segments framed")
        << "MSH|^~\\&|A" + cr + "PID|1" + cr + fs + cr
        << QStringList{"HOST : MSH|^~\\&|A<CR>", "HOST : PID|1<CR>", "HOST : <FS><CR>"};
    QTest::newRow("with VT") << vt + "MSH|A" + cr + "PID|1" + cr + fs + cr
                             << QStringList{"HOST : <VT>MSH|A<CR>", "HOST : PID|1<CR>", "HOST : <FS><CR>"};
    QTest::newRow("last piece not shown") << "MSH|A" + cr + "PID|1" << QStringList{"HOST : MSH|A<CR>"};
    QTest::newRow("no CR") << "plain text" << QStringList{"HOST : plain text"};
    QTest::newRow("line feeds dropped after the first line")
        << "A" + cr + "\nB" + cr << QStringList{"HOST : A<CR>", "HOST : B<CR>"};
    QTest::newRow("empty") << "" << QStringList{};
}

void TestCommLog::display()
{
    QFETCH(QString, message);
    QFETCH(QStringList, lines);
    DisplayMessage("HOST :", message);
    QCOMPARE(MessageBox::instance().lines(), lines);
}

void TestCommLog::messageBoxKeepsNewestLines()
{
    for (int i = 0; i < MessageBox::kMaxLines + 5; ++i)
        DisplayMessage("RELAYON: ", QString::number(i));
    const QStringList &lines = MessageBox::instance().lines();
    QCOMPARE(lines.size(), MessageBox::kMaxLines);
    QCOMPARE(lines.first(), QString("RELAYON:  5"));
    QCOMPARE(lines.last(), "RELAYON:  " + QString::number(MessageBox::kMaxLines + 4));
}

void TestCommLog::traceOrder()
{
    TraceModel &log = TraceModel::log();
    log.clear();
    TraceLog("first");
    TraceLog("second");
    TraceLog("piece", 1);
    QCOMPARE(log.lines().size(), 3);
    QVERIFY(log.lines()[0].endsWith(" second"));
    QVERIFY(log.lines()[1].endsWith(" first"));
    QVERIFY(log.lines()[2].endsWith(" piece"));
    QVERIFY(TraceModel::error().lines().isEmpty());
}

void TestCommLog::getToken()
{
    QString s = "first second";
    QCOMPARE(GetToken(s, " "), QString("first"));
    QCOMPARE(s, QString("second"));
    QCOMPARE(GetToken(s, " "), QString("second"));
    QCOMPARE(s, QString());
    QString t = "XR-88,,US-12";
    QCOMPARE(GetToken(t, ",,"), QString("XR-88"));
    QCOMPARE(t, QString("US-12"));
}

void TestCommLog::pathExists()
{
    QVERIFY(PathExists(programDirectory()));
    WriteCommLog("A", "x", 4, "S", "B");
    QVERIFY(PathExists(commLogFile(4)));
    QVERIFY(!PathExists(programDirectory() + "/nothing-here"));
    QVERIFY(!PathExists(QString()));
    MakeDirQuiet(programDirectory() + "/missing/parent"); // ignored
    QVERIFY(!PathExists(programDirectory() + "/missing"));
}

RELAYON_CORE_TEST_MAIN(TestCommLog)
#include "tst_commlog.moc"
