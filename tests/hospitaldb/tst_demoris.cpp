// The demo RIS's replies to an order: what the result intake reads from them.

#include "DemoRis.h"
#include "Hospital.h"
#include "TestSupport.h"

#include <QtTest>

class TestDemoRis : public QObject {
    Q_OBJECT
private slots:
    void repliesCarryWhatTheIntakeReads();
    void cancelAndGarbage();
};

static const QByteArray kOrder =
    "MSH|^~\\&|KALDRA|HOSPITAL|medavis RIS|RADIOLOGY|20261211093000||ORM^O01|20261211093000123|P|2.3.1\r\n"
    "PID|1||000123||DELA CRUZ^JUAN B||19800315|M|||Purok 1^Poblacion^^Cebu||^PRN^ph~^ORN^CP\r\n"
    "PV1||I|^301|||||1010^ELISA MERCADO, MD|||||||||||IP0042|\r\n"
    "ORC|NW|123XR|||||||20261211090000|0451^SANTOS^MARIA||ELISA MERCADO, MD|\r\n"
    "OBR||123XR||CR88^CHEST PA|R|20261211085500|||||A||IMAGING REASON:cough;|||||||||||CR|||^^^20261211||||\r\x1c\r";

void TestDemoRis::repliesCarryWhatTheIntakeReads()
{
    const QDateTime now(QDate(2026, 12, 11), QTime(10, 0, 0));
    const hospitaldb::DemoRisReply r = hospitaldb::demoRisReplies(kOrder, now, 4);
    QVERIFY(!r.cancelled);
    QCOMPARE(r.name, QString("RIS123XR.hl7"));
    const QList<QByteArray> c = r.completion.split('\r');
    QCOMPARE(c[1], QByteArray("PID|1||000123||DELA CRUZ^JUAN B"));
    QCOMPARE(c[2].split('|').value(19), QByteArray("IP0042"));
    QCOMPARE(c[3].split('|').value(2), QByteArray("123XR"));
    QCOMPARE(c[4].split('|').value(22), QByteArray("20261211095000"));
    QCOMPARE(c[4].split('|').value(24), QByteArray("CR"));

    const QList<QByteArray> s = r.result.split('\r');
    QVERIFY(s[0].contains("|ORU^R01|"));
    QCOMPARE(s[4].split('|').value(4), QByteArray("CR88^CHEST PA"));
    QCOMPARE(s[4].split('|').value(32), QByteArray("^^1002"));
    QVERIFY(r.result.contains("|Radiographer  : O'BRIEN, KATHLEEN M.|"));
    QVERIFY(r.result.contains("|Resident  : VILLANUEVA, MARK A.|"));
    QVERIFY(r.result.contains("|Radiologist  : PE\xD1" "A, JOS\xC9 R., MD|")); // Latin-1
    QVERIFY(!r.result.contains('\n'));
}

void TestDemoRis::cancelAndGarbage()
{
    QByteArray cancel = kOrder;
    cancel.replace("ORC|NW|", "ORC|CA|");
    QVERIFY(hospitaldb::demoRisReplies(cancel, QDateTime::currentDateTime(), 0).cancelled);
    QVERIFY_THROWS_EXCEPTION(hospitaldb::SqlError, hospitaldb::demoRisReplies("hello", QDateTime::currentDateTime(), 0));
}

RELAYON_CORE_TEST_MAIN(TestDemoRis)
#include "tst_demoris.moc"
