// The acknowledgement header and the server queries: byte-exact headers over a connection
// that answers with a fixed server time, the fallback control id, failing queries, and the
// same operations against the demo hospital.

#include "CommLog.h"
#include "Database.h"
#include "Globals.h"
#include "HL7Header.h"
#include "Hospital.h"
#include "MessageDef.h"
#include "ServerMonitor.h"
#include "Settings.h"
#include "TestSupport.h"
#include "UserSession.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QtTest>

namespace {

// Answers the statements of the header with fixed values; fails the statements asked to.
class FakeConnection : public Connection {
public:
    QVariant serverTime = QDateTime(QDate(2024, 1, 5), QTime(14, 5, 9));
    QList<QVariantList> controlRows{{12345}};
    QStringList failing; // statements that throw
    QStringList sent;

    Recordset open(const QString &sql) override
    {
        send(sql);
        if (sql == u"Select getdate() as ServerDateTime")
            return Recordset({"ServerDateTime"}, {{serverTime}});
        if (sql == u"Laboratory..Lab_Barcode_GetControlID")
            return Recordset({"MsgCtrlID"}, controlRows);
        throw DbError("unexpected statement " + sql);
    }
    void execute(const QString &sql) override { send(sql); }
    void beginTrans() override {}
    void commitTrans() override {}
    void rollbackTrans() override {}
    void setCommandTimeout(int) override {}
    QString connectionString() const override { return QString(); }
    QString serverName() const override { return QStringLiteral("fake"); }

private:
    void send(const QString &sql)
    {
        sent << sql;
        if (failing.contains(sql))
            throw DbError("Communication link failure on " + sql);
    }
};

QString errorLog()
{
    QFile f(commLogFile(kLogError));
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
}

} // namespace

class TestHeader : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void header_data();
    void header();
    void acknowledgement();
    void serverDateTime_data();
    void serverDateTime();
    void failingQueriesFallBackAndReport_data();
    void failingQueriesFallBackAndReport();

    void demoHospital();
    void checkSero_data();
    void checkSero();

private:
    FakeConnection m_fake;
    QTemporaryDir m_hospital;
};

void TestHeader::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    hospitaldb::Hospital::create(m_hospital.path(), true);
    WriteSetting(kAppCurrentUser, "Connection", "Server", m_hospital.path());
    gblUser = std::make_unique<UserSession>();
    gblUser->LoginUser("operator", "relayon");
    QVERIFY2(gblUser->Connected(), qPrintable(gblUser->lastError()));
}

void TestHeader::cleanupTestCase()
{
    gblUser.reset();
}

void TestHeader::init()
{
    m_fake = FakeConnection();
    setHL7Connection(&m_fake);
    gblConnectionMode = false;
    gblNumericMsgControlId = false;
    gblMsgCount = 0;
    gblAutoReconnect = false;
    MessageBox::instance().clear();
    QFile::remove(commLogFile(kLogError));
}

void TestHeader::cleanup()
{
    setHL7Connection(nullptr);
    ServerMonitor::instance().Show_Warning_Symbol(false);
    ServerMonitor::instance().tmrAlarm.stop();
}

void TestHeader::header_data()
{
    QTest::addColumn<QString>("msgCtrlId");
    QTest::addColumn<bool>("numeric");
    QTest::addColumn<bool>("fileMode");
    QTest::addColumn<QList<QVariantList>>("controlRows");
    QTest::addColumn<int>("countBefore");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("countAfter");

    const QString head = "MSH|^~\\&|KALDRA||ZAZ_LAB||20240105140509||ORM^O01|";
    const QString tail = "|P|2.3|||ER|AL||8859/1|";
    const QList<QVariantList> counter{{12345}};
    const QList<QVariantList> noRow;
    QTest::newRow("given id") << "MSG1" << false << false << counter << 3 << head + "MSG1" + tail + "\r" << 3;
    QTest::newRow("given id, file mode") << "MSG1" << false << true << counter << 3 << head + "MSG1" + tail + "\r\n"
                                         << 3;
    QTest::newRow("counter with C") << "" << false << false << counter << 3 << head + "0000000012345C" + tail + "\r"
                                    << 3;
    QTest::newRow("counter, numeric ids") << "" << true << false << counter << 3
                                          << head + "0000000012345" + tail + "\r" << 3;
    QTest::newRow("thirteen digits get no zeros")
        << "" << true << false << QList<QVariantList>{{Q_INT64_C(9876543210123)}} << 0
        << head + "9876543210123" + tail + "\r" << 0;
    QTest::newRow("fallback at 0") << "" << false << false << noRow << 0 << head + "20240105140500" + tail + "\r"
                                   << 1;
    QTest::newRow("fallback at 7") << "" << false << false << noRow << 7 << head + "20240105140507" + tail + "\r"
                                   << 8;
    QTest::newRow("fallback at 10") << "" << false << false << noRow << 10 << head + "20240105140510" + tail + "\r"
                                    << 11;
    QTest::newRow("fallback at 60 wraps") << "" << true << false << noRow << 60
                                          << head + "20240105140560" + tail + "\r" << 0;
    QTest::newRow("counter without a value falls back")
        << "" << false << false << QList<QVariantList>{{QVariant()}} << 7 << head + "20240105140507" + tail + "\r"
        << 8;
}

void TestHeader::header()
{
    QFETCH(QString, msgCtrlId);
    QFETCH(bool, numeric);
    QFETCH(bool, fileMode);
    QFETCH(QList<QVariantList>, controlRows);
    QFETCH(int, countBefore);
    QFETCH(QString, expected);
    QFETCH(int, countAfter);
    gblNumericMsgControlId = numeric;
    gblConnectionMode = fileMode;
    gblMsgCount = qint16(countBefore);
    m_fake.controlRows = controlRows;

    QCOMPARE(GetMSH("ORM^O01", msgCtrlId), expected);
    QCOMPARE(int(gblMsgCount), countAfter);
    QCOMPARE(gblMsgCtrlID, expected.split(u'|').at(9));
    QStringList statements{"Laboratory..Lab_Barcode_IncrementControlID", "Laboratory..Lab_Barcode_GetControlID"};
    if (!msgCtrlId.isEmpty())
        statements.clear(); // a given id touches nothing but the server time
    if (gblMsgCount != countBefore)
        statements << "Select getdate() as ServerDateTime"; // the fallback id's time
    statements << "Select getdate() as ServerDateTime";
    QCOMPARE(m_fake.sent, statements);
    QVERIFY(MessageBox::instance().lines().isEmpty());
}

void TestHeader::acknowledgement()
{
    QCOMPARE(GetMSA("AA", "0000000012345C"), QString("MSA|AA|0000000012345C||||\r"));
    gblConnectionMode = true; // the MSA always ends with CR alone
    QCOMPARE(GetMSA("AE", ""), QString("MSA|AE|||||\r"));

    // What a workstation link sends back for a received message.
    gblConnectionMode = false;
    const QString ack = QChar(kVT) + GetMSH(gblMessageTypeACK, "C77") + GetMSA("AA", "C77") + QChar(kFS) + QChar(kCR);
    QCOMPARE(ack, QString("\vMSH|^~\\&|KALDRA||ZAZ_LAB||20240105140509||ORM^O01|C77|P|2.3|||ER|AL||8859/1|\r"
                          "MSA|AA|C77||||\r\x1c\r"));
}

void TestHeader::serverDateTime_data()
{
    QTest::addColumn<QVariant>("server");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("text");
    const QVariant afternoon = QDateTime(QDate(2024, 1, 5), QTime(14, 5, 9));
    const QVariant morning = QString("2024-01-05 09:05:09.250"); // as the embedded hospital reads
    QTest::newRow("0") << afternoon << 0 << "20240105140509";
    QTest::newRow("1") << afternoon << 1 << "01/05/2024 14";
    QTest::newRow("2") << afternoon << 2 << "14";
    QTest::newRow("3") << afternoon << 3 << "202401051405";
    QTest::newRow("4") << afternoon << 4 << "1/5/2024";
    QTest::newRow("5") << afternoon << 5 << "14";
    QTest::newRow("other") << afternoon << 9 << "20240105140509";
    QTest::newRow("text 0") << morning << 0 << "20240105090509";
    QTest::newRow("text 1") << morning << 1 << "01/05/2024 09";
    QTest::newRow("text 2") << morning << 2 << "09";
    QTest::newRow("text 5") << morning << 5 << "9";
}

void TestHeader::serverDateTime()
{
    QFETCH(QVariant, server);
    QFETCH(int, mode);
    QFETCH(QString, text);
    m_fake.serverTime = server;
    QCOMPARE(GetServerDateTime(qint16(mode)), text);

    // formatDT on an empty text takes the server's time and writes it back.
    QString empty;
    const QString formatted = MessageDef::formatDT(empty, 3);
    QCOMPARE(empty, GetServerDateTime(0));
    QVERIFY(formatted.startsWith("January 05, 2024 "));
}

void TestHeader::failingQueriesFallBackAndReport_data()
{
    QTest::addColumn<QString>("failing");
    QTest::newRow("counter increment") << "Laboratory..Lab_Barcode_IncrementControlID";
    QTest::newRow("counter read") << "Laboratory..Lab_Barcode_GetControlID";
    QTest::newRow("server time") << "Select getdate() as ServerDateTime";
}

void TestHeader::failingQueriesFallBackAndReport()
{
    QFETCH(QString, failing);
    m_fake.failing << failing;
    if (failing.startsWith("Select"))
        m_fake.controlRows.clear(); // no counter: the fallback id needs the time too
    gblMsgCount = 7;
    const QDateTime before = QDateTime::currentDateTime();
    const QString msh = GetMSH("ORM^O01", "");
    const QDateTime after = QDateTime::currentDateTime();

    // The header is still built: the local counter's id, and the server's or the workstation's time.
    const QStringList fields = msh.split(u'|');
    QCOMPARE(fields.size(), 19);
    QCOMPARE(int(gblMsgCount), 8);
    QVERIFY(fields[9].endsWith("07"));
    QCOMPARE(fields[9].size(), 14);
    if (failing.startsWith("Select")) {
        QVERIFY(fields[6] == before.toString("yyyyMMddHHmmss") || fields[6] == after.toString("yyyyMMddHHmmss"));
        QVERIFY(fields[9] == before.toString("yyyyMMddHHmm") + "07" || fields[9] == after.toString("yyyyMMddHHmm") + "07");
    } else {
        QCOMPARE(fields[6], QString("20240105140509"));
        QCOMPARE(fields[9], QString("20240105140507"));
    }

    const QString description = "Communication link failure on " + failing;
    QVERIFY(MessageBox::instance().lines().contains("RELAYON:  " + description));
    const QString log = errorLog();
    QVERIFY(log.contains("Sender: RELAYON\r\nReceiver: RELAYON\r\nType: 3\r\nSocket: RELAYON\r\n"));
    QVERIFY(log.contains("\r\n\r\n" + description + "\r\n"));
    QVERIFY(ServerMonitor::instance().warningVisible()); // ReportServerError ran
}

void TestHeader::demoHospital()
{
    setHL7Connection(nullptr);
    // The demo counter starts at 12345 and advances once per header.
    const QString first = GetMSH("ORM^O01", "");
    const QString second = GetMSH("ORM^O01", "");
    QCOMPARE(first.split(u'|').at(9), QString("0000000012346C"));
    QCOMPARE(second.split(u'|').at(9), QString("0000000012347C"));
    QVERIFY(QRegularExpression("^MSH\\|\\^~\\\\&\\|KALDRA\\|\\|ZAZ_LAB\\|\\|\\d{14}\\|\\|ORM\\^O01\\|0000000012347C"
                               "\\|P\\|2\\.3\\|\\|\\|ER\\|AL\\|\\|8859/1\\|\\r$")
                .match(second)
                .hasMatch());
    const QDateTime server = QDateTime::fromString(GetServerDateTime(0), "yyyyMMddHHmmss");
    QVERIFY(server.isValid());
    QVERIFY(qAbs(server.secsTo(QDateTime::currentDateTime())) < 5);
    QVERIFY(MessageBox::instance().lines().isEmpty());

    // The serology question of the OBX parser goes to the hospital.
    MessageDef md;
    QVERIFY(md.IsSegment("OBX|1|ST|HBSAG||POS^2.1"));
    QVERIFY(md.getSegment("OBX|1|ST|HBSAG||POS^2.1", 1));
    QCOMPARE(md.input.OBX[5], QString("POS^2.1"));
    QVERIFY(md.getSegment("OBX|1|NM|GLU||5.5^x", 1));
    QCOMPARE(md.input.OBX[5], QString("5.5"));
}

void TestHeader::checkSero_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("serology");
    QTest::newRow("serology test") << "HBSAG" << true;
    QTest::newRow("any case, blanks around") << " hbsag " << true;
    QTest::newRow("retired test") << "VDRL" << false;
    QTest::newRow("chemistry") << "GLU" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("apostrophes are data") << "X' OR '1'='1" << false;
}

void TestHeader::checkSero()
{
    QFETCH(QString, code);
    QFETCH(bool, serology);
    setHL7Connection(nullptr);
    QCOMPARE(CheckSero(code), serology);
}

RELAYON_CORE_TEST_MAIN(TestHeader)
#include "tst_header.moc"
