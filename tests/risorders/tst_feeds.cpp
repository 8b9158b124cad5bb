// The stored-procedure feeds on the demo hospital: written trimmed, marked only after a
// successful write, failures of the marking reported without a box.

#include "CommLog.h"
#include "Feeds.h"
#include "HL7Files.h"
#include "OrdersFixture.h"
#include "TestSupport.h"

#include <QFile>
#include <QtTest>

class TestFeeds : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void ordersWrittenTrimmedAndMarkedAfterASuccessfulWrite();
    void editMessagesMarkedBySequenceNumber();
    void failingMarkIsReportedAndThePollGoesOn();
    void searchOperations();

private:
    std::unique_ptr<DemoHospital> m_h;
};

void TestFeeds::init()
{
    m_h = std::make_unique<DemoHospital>();
    setFeedsConnection(nullptr);
    MessageBox::instance().clear();
}

void TestFeeds::cleanup()
{
    setFeedsConnection(nullptr);
    m_h.reset();
}

void TestFeeds::ordersWrittenTrimmedAndMarkedAfterASuccessfulWrite()
{
    m_h->execute("DELETE FROM Radiology..tbHL7Queue");
    m_h->execute("INSERT INTO Radiology..tbHL7Queue (RequestNum, RevenueID, FileName, HL7, HL7Status) VALUES "
                 "('1', 'XR', 'missing/CR1XRX', 'MSH|one', '')");
    m_h->execute("INSERT INTO Radiology..tbHL7Queue (RequestNum, RevenueID, FileName, HL7, HL7Status) VALUES "
                 "('2', 'XR', 'CR2XRX', '  MSH|two  ', '')");
    FailingConnection spy(m_h->db());
    setFeedsConnection(&spy);
    checkRequest();

    QFile f(QDir(gblRequestDir).filePath("CR2XRX.hl7"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("MSH|two\r\n"));
    QCOMPARE(spy.sent.filter("spRadioHL7Format '2'"), QStringList{"RADIOLOGY..spRadioHL7Format '2','2','XR'"});
    QCOMPARE(m_h->value("SELECT HL7Status FROM Radiology..tbHL7Queue WHERE RequestNum = '1'"), QString(""));
    QCOMPARE(m_h->value("SELECT HL7Status FROM Radiology..tbHL7Queue WHERE RequestNum = '2'"), QString("X"));

    // The failed row comes back on the next poll; nothing else does.
    spy.sent.clear();
    checkRequest();
    QCOMPARE(spy.sent.filter("spRadioHL7Format '2'"), QStringList{});
}

void TestFeeds::editMessagesMarkedBySequenceNumber()
{
    FailingConnection spy(m_h->db());
    setFeedsConnection(&spy);
    const QString seq = m_h->value("SELECT SequenceNo FROM Radiology..tbMasterHL7 WHERE HL7Status = ''");
    QVERIFY(!seq.isEmpty());
    CheckEditPatient();
    QCOMPARE(spy.sent.filter("tbMasterHL7 SET"),
             QStringList{"UPDATE  RADIOLOGY..tbMasterHL7 SET    HL7Status = 'X'  WHERE   SequenceNo = '" + seq + "'"});
    QCOMPARE(m_h->value("SELECT HL7Status FROM Radiology..tbMasterHL7 WHERE SequenceNo = " + seq), QString("X"));
    QCOMPARE(m_h->files(), QStringList{"ADT100204A.hl7"});
}

void TestFeeds::failingMarkIsReportedAndThePollGoesOn()
{
    m_h->execute("INSERT INTO Radiology..tbHL7Queue (RequestNum, RevenueID, FileName, HL7, HL7Status) VALUES "
                 "('3', 'XR', 'CR3XRX', 'MSH|three', '')");
    FailingConnection failing(m_h->db());
    failing.failOn = {"'2','20004'"};
    setFeedsConnection(&failing);
    checkRequest();
    QVERIFY(MessageBox::instance().text().contains("Invalid object name"));
    QCOMPARE(m_h->value("SELECT HL7Status FROM Radiology..tbHL7Queue WHERE RequestNum = '3'"), QString("X"));
    QVERIFY(m_h->files().contains("US20004USR.hl7"));
}

void TestFeeds::searchOperations()
{
    QVERIFY(qAbs(GetServerDate().secsTo(QDateTime::currentDateTime())) < 120);
    const Recordset revenues = GetActiveRevenues();
    QVERIFY(revenues.recordCount() > 5);
    QCOMPARE(revenues.text(0, "Description"), QString("XR-X-RAY"));
    ResendOrder("10005", "XR");
    QCOMPARE(m_h->open("SELECT FileName FROM Radiology..tbHL7Queue WHERE RequestNum = '10005' AND HL7Status = ''")
                 .recordCount(),
             1);
}

RELAYON_CORE_TEST_MAIN(TestFeeds)
#include "tst_feeds.moc"
