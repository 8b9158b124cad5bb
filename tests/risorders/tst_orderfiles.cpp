// Order files: the file and its dated backup on disk, byte for byte, and the marking of the
// request.

#include "ClientOptions.h"
#include "CommLog.h"
#include "OrderFiles.h"
#include "OrdersFixture.h"
#include "TestSupport.h"

#include <QFile>
#include <QtTest>

class TestOrderFiles : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void writesFileAndBackupInLatin1();
    void secondRunReplacesAndDisplacesTheBackup();
    void requestMasterIsMarkedByRevenueToo();
    void skippedRequestIsOnlyMarked();
    void nothingWrittenOrMarked_data();
    void nothingWrittenOrMarked();
    void failedWriteLeavesTheRequestPending();

private:
    QString status(const QString &table, const QString &requestNum, const QString &revenue = QString()) const;
    std::unique_ptr<DemoHospital> m_h;
    QDateTime m_now;
};

namespace {
const OrderRequestRow kPena{"US", "100204", "240104", "US240009", "20001", "X", "tbUlRequest"};

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
} // namespace

void TestOrderFiles::init()
{
    m_h = std::make_unique<DemoHospital>();
    m_h->fixDates();
    ClientOptions::instance().setClient(2, true);
    m_now = QDateTime(QDate(2024, 1, 5), QTime(15, 4, 3));
    setOrderFileClock([this] { return m_now; });
    TraceModel::log().clear();
    SetTraceEnabled(false);
}

void TestOrderFiles::cleanup()
{
    setOrderFileClock({});
    m_h.reset();
}

QString TestOrderFiles::status(const QString &table, const QString &requestNum, const QString &revenue) const
{
    return m_h->value("SELECT StatusHl7 FROM RADIOLOGY.." + table + " WHERE RequestNum = " + sqlStr(requestNum)
                      + (revenue.isEmpty() ? QString() : " AND RevenueID = " + sqlStr(revenue)));
}

void TestOrderFiles::writesFileAndBackupInLatin1()
{
    OrderResults r;
    QCOMPARE(GenerateOrderFile(m_h->db(), kPena, {}, r), GenerateOutcome::Written);

    QCOMPARE(m_h->files(), QStringList{"US20001USX.hl7"});
    const QByteArray bytes = readAll(QDir(gblRequestDir).filePath("US20001USX.hl7"));
    QCOMPARE(bytes, (r.HL7 + "\r\n").toLatin1());
    QVERIFY(bytes.contains("PID|1||100204||PE\xD1" "A^JOS\xC9 GARC\xCD" "A||19680130|M|||88 DEL PILAR ST.^STO. NI\xD1" "O^^"));
    QVERIFY(bytes.endsWith("|\r\x1c\r\r\n"));

    const QString folder = QDir(gblMoveFileDir).filePath("bak/2024 01 05");
    QCOMPARE(m_h->files(folder), QStringList{QString::fromUtf8("US20001USX PEÑA^JOSÉ GARCÍA 100204.hl7")});
    QCOMPARE(readAll(QDir(folder).filePath(QString::fromUtf8("US20001USX PEÑA^JOSÉ GARCÍA 100204.hl7"))), bytes);

    QCOMPARE(status("tbUlRequest", "20001"), QString("X"));
    QVERIFY(traced("Done US20001USX"));
}

void TestOrderFiles::secondRunReplacesAndDisplacesTheBackup()
{
    OrderResults r;
    QCOMPARE(GenerateOrderFile(m_h->db(), kPena, {}, r), GenerateOutcome::Written);
    QVERIFY(!traced("File already exists"));
    m_now = m_now.addSecs(61);
    QCOMPARE(GenerateOrderFile(m_h->db(), kPena, {}, r), GenerateOutcome::Written);
    QVERIFY(traced("File already exists"));
    QVERIFY(traced("Bak File already exists"));
    QCOMPARE(m_h->files(), QStringList{"US20001USX.hl7"});
    const QString bak = QDir(gblMoveFileDir).filePath("bak");
    QCOMPARE(m_h->files(bak), QStringList{"US20001USX2024 01 05 15 05 04.hl7"});
    QCOMPARE(m_h->files(QDir(bak).filePath("2024 01 05")).size(), 1);
}

void TestOrderFiles::requestMasterIsMarkedByRevenueToo()
{
    // Request 70001 of P4 in the shared table; the same number under C1 must stay pending.
    m_h->execute("UPDATE RADIOLOGY..tbRequestMaster SET RequestNum = '70001', StatusHl7 = '' WHERE RequestNum = '80001'");
    SetTraceEnabled(true);
    OrderResults r;
    QCOMPARE(GenerateOrderFile(m_h->db(), {"P4", "100216", "24000116B", "P4240031", "70001", "", "tbRequestMaster"}, {},
                               r),
             GenerateOutcome::Written);
    QCOMPARE(status("tbRequestMaster", "70001", "P4"), QString("X"));
    QCOMPARE(status("tbRequestMaster", "70001", "C1"), QString(""));
    QVERIFY(traced("UPDATE RADIOLOGY..tbRequestMaster set StatusHl7 = 'X' WHERE Revenueid ='P4' AND RequestNum = '70001'"));
    SetTraceEnabled(false);

    QCOMPARE(markRequestStatements("XR", "O'1"),
             QStringList{"UPDATE RADIOLOGY..tbXRRequest set StatusHl7 = 'X' where RequestNum = 'O''1'"});
}

void TestOrderFiles::skippedRequestIsOnlyMarked()
{
    OrderResults r;
    QCOMPARE(GenerateOrderFile(m_h->db(), kPena, ItemFilters{{}, {{"US", "12"}}}, r), GenerateOutcome::MarkedOnly);
    QCOMPARE(m_h->files(), QStringList{});
    QCOMPARE(status("tbUlRequest", "20001"), QString("X"));
}

void TestOrderFiles::nothingWrittenOrMarked_data()
{
    QTest::addColumn<QString>("requestDir");
    QTest::addColumn<QString>("requestNum");
    QTest::addColumn<QString>("trace");
    QTest::newRow("blank request directory") << "  " << "20001" << "";
    QTest::newRow("request not found") << "" << "29999" << "none generated for 29999";
}

void TestOrderFiles::nothingWrittenOrMarked()
{
    QFETCH(QString, requestDir);
    QFETCH(QString, requestNum);
    QFETCH(QString, trace);
    if (!requestDir.isEmpty())
        gblRequestDir = requestDir;
    OrderRequestRow row = kPena;
    row.RequestNum = requestNum;
    OrderResults r;
    QCOMPARE(GenerateOrderFile(m_h->db(), row, {}, r), GenerateOutcome::NothingDone);
    QCOMPARE(status("tbUlRequest", "20001"), QString(""));
    QVERIFY(!QDir(QDir(gblMoveFileDir).filePath("bak/2024 01 05")).exists());
    if (!trace.isEmpty())
        QVERIFY(traced(trace));
}

void TestOrderFiles::failedWriteLeavesTheRequestPending()
{
    gblRequestDir = QDir(m_h->dir.path()).filePath("no/such/dir");
    OrderResults r;
    QCOMPARE(GenerateOrderFile(m_h->db(), kPena, {}, r), GenerateOutcome::Failed);
    QCOMPARE(status("tbUlRequest", "20001"), QString(""));
    bool found = false;
    for (const QString &line : TraceModel::log().lines())
        found = found || (line.contains(" cmdGenerateHL7_Click ")
                          && line.endsWith(" FileName:" + QDir(gblRequestDir).filePath("US20001USX.hl7")));
    QVERIFY2(found, qPrintable(TraceModel::log().text()));
}

RELAYON_CORE_TEST_MAIN(TestOrderFiles)
#include "tst_orderfiles.moc"
