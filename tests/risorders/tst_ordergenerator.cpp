// The order generator's engine: the listing statement, the cycle on the demo hospital, the
// cancellation pass, Stop, the bound on repeats, the autostart and the bulk status edits.

#include "CommLog.h"
#include "OrderGenerator.h"
#include "OrdersFixture.h"
#include "TestSupport.h"

#include <QFile>
#include <QtTest>

Q_DECLARE_METATYPE(RequestSearch)

class TestOrderGenerator : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void listingStatement_data();
    void listingStatement();
    void listingFiltersTheRevenuesOwnStatusColumn();
    void cycleWorksOffEveryPendingRequest();
    void cancelMessageGoesOutOnce();
    void stopInTheMiddleOfACycle();
    void ungeneratableRequestDoesNotSpin_data();
    void ungeneratableRequestDoesNotSpin();
    void autostartCountsDownAndStarts();
    void processNowLeavesTheStopFlagSet();
    void statusEditsReportFailuresWithoutABox();

private:
    int pendingRequests() const;
    std::unique_ptr<DemoHospital> m_h;
    std::unique_ptr<OrderGenerator> m_gen;
};

namespace {
// The corpus's default listing over the demo revenues, word for word.
QString corpusLine(int index)
{
    QFile f(QStringLiteral(RELAYON_FIXTURES "/corpus/orders.sql"));
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    int n = 0;
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith(" SELECT ") && n++ == index)
            return QString::fromUtf8(line);
    }
    return QString();
}
} // namespace

void TestOrderGenerator::init()
{
    m_h = std::make_unique<DemoHospital>();
    m_gen = std::make_unique<OrderGenerator>();
    gblStopProcessing = false;
    TraceModel::log().clear();
    SetTraceEnabled(false);
}

void TestOrderGenerator::cleanup()
{
    m_gen.reset();
    m_h.reset();
}

int TestOrderGenerator::pendingRequests() const
{
    RequestSearch s;
    s.top10 = false;
    return m_h->open(searchRequestsStatement(gblRevenues, s)).recordCount();
}

void TestOrderGenerator::listingStatement_data()
{
    QTest::addColumn<RequestSearch>("search");
    QTest::addColumn<int>("corpusIndex");
    RequestSearch s;
    QTest::newRow("defaults") << s << 0;
    RequestSearch done;
    done.status = RequestSearch::Done;
    done.past24Hrs = false;
    done.top10 = false;
    done.RevenueID = "XR";
    done.HospNum = "100202";
    done.IDNum = "240102";
    done.RefNum = "XR240005";
    done.RequestNum = "10005";
    done.SWFin = "Y";
    done.AfterDate = "01/01/2024";
    done.BeforeDate = "12/31/2099";
    QTest::newRow("done, every filter, one revenue") << done << 1;
    RequestSearch cancelled;
    cancelled.status = RequestSearch::All;
    cancelled.SWFin = "C";
    QTest::newRow("cancellation pass") << cancelled << 2;
}

void TestOrderGenerator::listingStatement()
{
    QFETCH(RequestSearch, search);
    QFETCH(int, corpusIndex);
    const QString sql = searchRequestsStatement(gblRevenues, search);
    QCOMPARE(sql, corpusLine(corpusIndex));
    QCOMPARE(sql.count(" UNION ALL "), search.RevenueID.isEmpty() ? int(gblRevenues.size()) - 1 : 0);
    QCOMPARE(sql.contains("TOP 10"), search.top10);
    QCOMPARE(sql.contains("dateadd"), search.past24Hrs);
    QCOMPARE(sql.contains("StatusHl7]"), search.status != RequestSearch::All);
    m_h->open(sql); // the hospital takes it

    RequestSearch none = search;
    none.RevenueID = "ZZ";
    QCOMPARE(searchRequestsStatement(gblRevenues, none), QString());
}

void TestOrderGenerator::listingFiltersTheRevenuesOwnStatusColumn()
{
    QList<RevenueInfo> revenues = gblRevenues.mid(0, 2);
    revenues[1].StatusSWFinField = "SWFinUS";
    RequestSearch s;
    s.SWFin = "O'C";
    const QString sql = searchRequestsStatement(revenues, s);
    QVERIFY(sql.contains("'XR' AS REVENUEID, HospNum,IDNum,RefNum,RequestNum,TransDate,StatusHl7 ,SWFin as SWFin,"));
    QVERIFY(sql.contains("StatusHl7 ,SWFinUS as SWFin,"));
    QVERIFY(sql.contains(" AND [SWFin]='O''C' "));
    QVERIFY(sql.contains(" AND [SWFinUS]='O''C' "));
}

void TestOrderGenerator::cycleWorksOffEveryPendingRequest()
{
    const int pending = pendingRequests();
    QVERIFY(pending > 10); // more than one burst of ten in some revenue
    m_gen->runCycle();
    QVERIFY(m_gen->lastCyclePasses() >= 2);
    QCOMPARE(pendingRequests(), 0);

    // One order file and one backup per request, plus the cancel messages of the pass.
    const QStringList files = m_h->files();
    const QStringList backups = m_h->files(QDir(gblMoveFileDir).filePath("bak/" + QDate::currentDate().toString("yyyy MM dd")));
    QCOMPARE(files.size(), backups.size());
    QCOMPARE(files.size(), pending + 2); // the two cancel messages
    QVERIFY(files.contains("CR10001XRX.hl7"));
    QVERIFY(files.contains("US20001USX.hl7"));
    QVERIFY(files.contains("90001R1X.hl7"));
    QVERIFY(m_gen->workingVisible());
    QVERIFY(m_gen->rows().isEmpty());
    QVERIFY(m_gen->gridEnabled());
}

void TestOrderGenerator::cancelMessageGoesOutOnce()
{
    for (int i = 0; i < 3; ++i)
        m_gen->runCycle();
    const QStringList cancels = m_h->files().filter(QRegularExpression("C\\.hl7$"));
    // 10008 (XR) and 80002 (C1) are cancelled and had no cancel message; CT-30006 had one.
    QCOMPARE(cancels, (QStringList{"CR10008XRC.hl7", "XA80002C1C.hl7"}));
    QCOMPARE(m_h->open("SELECT RequestNum FROM Radiology..tbHl7Logs WHERE RequestNum = '10008XR' AND HL7Type = 'CA'")
                 .recordCount(),
             1);
    QCOMPARE(m_h->open("SELECT RequestNum FROM Radiology..tbHl7Logs WHERE RequestNum = 'CT-30006' AND HL7Type = 'CA'")
                 .recordCount(),
             1);

    m_gen->SearchCancelled();
    // The pass leaves its remarks on the rows of the last listing.
    bool already = false;
    for (const QStringList &row : m_gen->rows())
        already = already || row.value(OrderGenerator::ColRemarks) == "already created cancel HL7 message";
    QVERIFY(already);
}

void TestOrderGenerator::stopInTheMiddleOfACycle()
{
    int nested = 0;
    connect(m_gen.get(), &OrderGenerator::currentRowChanged, this, [&](int row) {
        if (row == 1 && !m_gen->cancelModeVisible()) {
            m_gen->runCycle(); // a tick while the cycle runs starts nothing
            ++nested;
            m_gen->Stop();
        }
    });
    m_gen->Start();
    QCOMPARE(nested, 1);
    QCOMPARE(m_gen->lastCyclePasses(), 1);
    // The current row was finished, the rest and the cancellation pass skipped.
    QCOMPARE(m_h->files().size(), 2);
    QCOMPARE(m_h->files().filter(QRegularExpression("C\\.hl7$")).size(), 0);
    QVERIFY(!m_gen->Timer1.isActive());
    QVERIFY(m_gen->startVisible());
    QVERIFY(gblStopProcessing);
}

void TestOrderGenerator::ungeneratableRequestDoesNotSpin_data()
{
    QTest::addColumn<bool>("noRequestDir");
    QTest::newRow("empty request directory") << true;
    QTest::newRow("request not found") << false;
}

void TestOrderGenerator::ungeneratableRequestDoesNotSpin()
{
    QFETCH(bool, noRequestDir);
    FailingConnection failing(m_h->db());
    if (noRequestDir)
        gblRequestDir.clear();
    else
        failing.failOn = {" AS PInfo "};
    m_gen->setConnection(&failing);
    m_gen->connectionCheck = [] { return true; };
    m_gen->runCycle();
    QCOMPARE(m_gen->lastCyclePasses(), 1);
    QVERIFY(pendingRequests() > 0);
}

void TestOrderGenerator::autostartCountsDownAndStarts()
{
    QList<int> counts;
    connect(m_gen.get(), &OrderGenerator::countdownChanged, this, [&](int s) { counts << s; });
    m_gen->tmrAS.setInterval(1);
    m_gen->tmrAS.start();
    QTRY_VERIFY_WITH_TIMEOUT(m_gen->Timer1.isActive(), 30000);
    QCOMPARE(counts, (QList<int>{9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
    QVERIFY(!m_gen->autoStartVisible());
    QVERIFY(!m_gen->tmrAS.isActive());
    QVERIFY(m_gen->stopVisible());
    QVERIFY(!m_gen->startVisible());
    QCOMPARE(pendingRequests(), 0);
}

void TestOrderGenerator::processNowLeavesTheStopFlagSet()
{
    m_gen->ProcessNow();
    QVERIFY(gblStopProcessing);
    QVERIFY(m_gen->startVisible());
    QVERIFY(!m_gen->stopVisible());
    // Later cycles list but generate nothing until Start.
    m_h->execute("UPDATE RADIOLOGY..tbXRRequest SET StatusHl7 = '' WHERE RequestNum = '10001'");
    QDir(gblRequestDir).removeRecursively();
    QDir().mkpath(gblRequestDir);
    m_gen->runCycle();
    QCOMPARE(m_h->files(), QStringList{});
}

void TestOrderGenerator::statusEditsReportFailuresWithoutABox()
{
    m_gen->Search();
    QVERIFY(m_gen->listedCount() > 2);
    FailingConnection failing(m_h->db());
    failing.failOn = {"set SWFIN = 'Y' where RequestNum = '10001'"};
    m_gen->setConnection(&failing);
    MessageBox::instance().clear();
    m_gen->SetListedSWFinY();
    QVERIFY(MessageBox::instance().text().contains("Invalid object name"));
    // Every other listed row was still set.
    QCOMPARE(failing.sent.filter("set SWFIN = 'Y'").size(), m_gen->listedCount());
    QCOMPARE(m_h->value("SELECT SWFin FROM RADIOLOGY..tbXRRequest WHERE RequestNum = '10001'"), QString(""));
    QCOMPARE(m_h->value("SELECT SWFin FROM RADIOLOGY..tbXRRequest WHERE RequestNum = '10004'"), QString("Y"));

    failing.failOn = {"set StatusHl7 = ''"};
    MessageBox::instance().clear();
    m_gen->setCurrentRow(0);
    m_gen->ResetStatus();
    QVERIFY(MessageBox::instance().text().contains("Invalid object name"));
}

RELAYON_CORE_TEST_MAIN(TestOrderGenerator)
#include "tst_ordergenerator.moc"
