// The radiology database's procedures and functions, called with the T-SQL the program sends,
// on a fresh demo hospital per test.

#include "Hospital.h"
#include "TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

using hospitaldb::Hospital;
using hospitaldb::ResultSet;
using hospitaldb::SqlError;

class TestRadiologyProcedures : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void saveResult_storesResultHistoryStatusAndNursing();
    void saveResult_secondResultUpdatesTheSameRow();
    void saveResult_womensUltrasoundStoresOnlyTheReport();
    void saveResult_unknownDepartmentStoresNothing();
    void saveResult_badDateWritesNothing();

    void hl7Format_resendIsListedThenMarkedSent();
    void hl7Format_unknownRequestIsAnError();
    void editPatient_listsWaitingMessagesBySequenceNumber();

    void allergies_data();
    void allergies();
    void employeeId_data();
    void employeeId();

    void demo_pendingRequestsCanBeOrdered();
    void demo_revenueLoadSkipsInactiveAndTableless();

private:
    QVariant value(const QString &tsql);
    int count(const QString &sqlite, const QVariantList &binds = {});

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Hospital> m_h;
};

void TestRadiologyProcedures::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    Hospital::create(m_dir->path(), true);
    m_h = std::make_unique<Hospital>(m_dir->path());
}

void TestRadiologyProcedures::cleanup()
{
    m_h.reset();
    m_dir.reset();
}

QVariant TestRadiologyProcedures::value(const QString &tsql)
{
    const ResultSet rs = m_h->run(tsql);
    if (rs.rows.isEmpty())
        return {};
    return rs.rows[0][0];
}

int TestRadiologyProcedures::count(const QString &sqlite, const QVariantList &binds)
{
    return m_h->query(sqlite, binds).rows[0][0].toInt();
}

static const char saveXr[] =
    "RADIOLOGY..[spRadio_SaveHL7Result] 'XR','100201','240101','10001XR','CR88','CHEST PA',"
    "'01/05/2024 14:05','01/05/2024 13:00','01/05/2024 12:30','1010','1001','1002',"
    "'Both lung fields are clear.~No effusion.\\X0D\\\\X0A\\IMPRESSION: Normal. Radiographer  : x',"
    "'DELA CRUZ, JUAN','VILLANUEVA, MARK'";

void TestRadiologyProcedures::saveResult_storesResultHistoryStatusAndNursing()
{
    m_h->run(QString::fromLatin1(saveXr));

    // The placer order number 10001XR is the request 10001.
    const ResultSet r = m_h->query(
        "SELECT HospNum, IDNum, ItemCode, ExamTaken, ResultDate, VerifyDate, ExamDate, RequestDoctorCode, RadCode, "
        "VerifyById, RadTech, RoomID, Interpretation, InterpretationPureText, Status, RefNum, TranscribedBy "
        "FROM Radiology.tbXRResult WHERE RequestNum = '10001'");
    QCOMPARE(r.rows.size(), 1);
    const QVariantList &row = r.rows[0];
    const QString report = QStringLiteral("Both lung fields are clear.\r\x1cNo effusion.\rIMPRESSION: Normal.");
    const QVariantList expected{"100201", "240101", "88", "CHEST PA", "2024-01-05 13:00:00.000", "2024-01-05 14:05:00.000",
                                "2024-01-05 12:30:00.000", "1010", "1001", "1002", "0460", "301-A", report, report, "V",
                                "XR240001", "VILLANUEVA, MARK"};
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(row[i].toString(), expected[i].toString());

    const ResultSet hist = m_h->query("SELECT ItemCode, RadCode, TranscribedByID, VerifyByID, VerifyDate, Version "
                                      "FROM Radiology.tbXRResultHistory WHERE RequestNum = '10001'");
    QCOMPARE(hist.rows.size(), 1);
    QCOMPARE(hist.rows[0], (QVariantList{"CR88", "1001", "1001", "1002", "2024-01-05 14:05:00.000", 1}));

    QCOMPARE(m_h->query("SELECT SWFin FROM Radiology.tbXRRequest WHERE RequestNum = '10001'").rows[0][0].toString(), "Y");
    const ResultSet nurse = m_h->query("SELECT RecordStatus, ResultBy, ResultDate IS NOT NULL FROM STATION.tbNurseLogBook "
                                       "WHERE RequestNum = '10001'");
    QCOMPARE(nurse.rows[0], (QVariantList{"W", "1001", 1}));
    QCOMPARE(m_h->query("SELECT RecordStatus FROM STATION.tbNurseCommunicationFile WHERE RequestNum = '10001'")
                 .rows[0][0].toString(),
             "X");
    // The search view now sees the request verified.
    QCOMPARE(m_h->query("SELECT Status FROM Radiology.tbRadiologyRequests WHERE RequestNum = '10001'").rows[0][0].toString(),
             "V");
}

void TestRadiologyProcedures::saveResult_secondResultUpdatesTheSameRow()
{
    m_h->run(QString::fromLatin1(saveXr));
    m_h->run("RADIOLOGY..[spRadio_SaveHL7Result] 'XR','100201','240101','10001','CR88','CHEST PA','01/06/2024 9:00',"
             "'01/06/2024 8:00','01/06/2024 7:30','1010','1003','1003','Addendum: O`Brien sign absent.','',''");
    const ResultSet r = m_h->query("SELECT RadCode, Interpretation, RadTech FROM Radiology.tbXRResult WHERE RequestNum = '10001'");
    QCOMPARE(r.rows.size(), 1);
    QCOMPARE(r.rows[0][0].toString(), "1003");
    QCOMPARE(r.rows[0][1].toString(), "Addendum: O`Brien sign absent.");
    QVERIFY(r.rows[0][2].isNull()); // no radiographer this time
    QCOMPARE(count("SELECT COUNT(*) FROM Radiology.tbXRResultHistory WHERE RequestNum = '10001' AND Version = 1"), 2);
}

void TestRadiologyProcedures::saveResult_womensUltrasoundStoresOnlyTheReport()
{
    const int histories = count("SELECT COUNT(*) FROM Radiology.tbULWomensResultOBHistory");
    m_h->run("RADIOLOGY..[spRadio_SaveHL7Result] 'WC','100211','240111','21001','US21','TRANSVAGINAL ULTRASOUND (OB)',"
             "'01/05/2024 9:05','01/05/2024 9:00','','1012','1003','1003','Single live fetus.','',''");
    const ResultSet r = m_h->query("SELECT SonologistID, Interpretation, HospNum, RadCode, ExamDate IS NOT NULL "
                                   "FROM Radiology.tbULWomensResultOB WHERE RequestNum = '21001'");
    QCOMPARE(r.rows.size(), 1);
    QCOMPARE(r.rows[0][0].toString(), "1003");
    QCOMPARE(r.rows[0][1].toString(), "Single live fetus.");
    QVERIFY(r.rows[0][2].isNull());
    QVERIFY(r.rows[0][3].isNull());
    QCOMPARE(r.rows[0][4].toInt(), 1);
    QCOMPARE(count("SELECT COUNT(*) FROM Radiology.tbULWomensResultOBHistory"), histories);
    QCOMPARE(m_h->query("SELECT IFNULL(SWFin, '') FROM Radiology.tbOBULRequest WHERE RequestNum = '21001'").rows[0][0].toString(),
             "");
    QCOMPARE(m_h->query("SELECT RecordStatus FROM STATION.tbNurseLogBook WHERE RequestNum = '21001'").rows[0][0].toString(), "W");
}

void TestRadiologyProcedures::saveResult_unknownDepartmentStoresNothing()
{
    // XA (cath lab) has no revenue of that code; RI is inactive.
    for (const char *code : {"XA", "RI"}) {
        m_h->run(QStringLiteral("RADIOLOGY..[spRadio_SaveHL7Result] '%1','100218','24000118B','41001','MR42','MRI KNEE',"
                                "'','','','1015','1001','1001','Torn meniscus.','',''")
                     .arg(QLatin1String(code)));
    }
    QCOMPARE(count("SELECT COUNT(*) FROM Radiology.tbMRIResult WHERE RequestNum = '41001'"), 0);
    QCOMPARE(m_h->query("SELECT RecordStatus FROM STATION.tbNurseLogBook WHERE RequestNum = '41001'").rows[0][0].toString(), "");
}

void TestRadiologyProcedures::saveResult_badDateWritesNothing()
{
    QVERIFY_THROWS_EXCEPTION(SqlError, m_h->run("RADIOLOGY..[spRadio_SaveHL7Result] 'XR','100201','240101','10001','CR88',"
                                                "'CHEST PA','tomorrow','','','1010','1001','1001','x','',''"));
    QVERIFY_THROWS_EXCEPTION(SqlError, m_h->run("RADIOLOGY..[spRadio_SaveHL7Result] 'XR','100201','240101','10001'"));
    QCOMPARE(count("SELECT COUNT(*) FROM Radiology.tbXRResult WHERE RequestNum = '10001'"), 0);
    QCOMPARE(m_h->query("SELECT IFNULL(SWFin, '') FROM Radiology.tbXRRequest WHERE RequestNum = '10001'").rows[0][0].toString(),
             "");
}

void TestRadiologyProcedures::hl7Format_resendIsListedThenMarkedSent()
{
    const ResultSet before = m_h->run("RADIOLOGY..spRadioHL7Format '1'");
    QCOMPARE(before.columns, (QStringList{"FileName", "HL7", "RequestNum", "RevenueID"}));
    const int waiting = before.rows.size();

    m_h->run("RADIOLOGY..spRadioHL7Format '3','30001','CT'");
    m_h->run("RADIOLOGY..spRadioHL7Format '3','30001','CT'"); // queued once, not twice
    ResultSet listed = m_h->run("RADIOLOGY..spRadioHL7Format '1'");
    QCOMPARE(listed.rows.size(), waiting + 1);
    const QVariantList row = listed.rows.last();
    QCOMPARE(row[0].toString(), "CT30001CTR");
    QCOMPARE(row[2].toString(), "30001");
    QCOMPARE(row[3].toString(), "CT");
    const QStringList segments = row[1].toString().split(QStringLiteral("\r\n"));
    QVERIFY(segments[0].startsWith("MSH|^~\\&|RISRELAYON|KALDRAHIS|medavis RIS|MEDAVIS|"));
    QVERIFY(segments[0].contains("|ORM^O01|"));
    QVERIFY2(segments[1].startsWith(QStringLiteral("PID|1||100207||NUÑEZ^CARMEN SANTIAGO||19791212|F|")),
             qPrintable(segments[1]));
    QVERIFY(segments[2].startsWith("PV1||I|^WARD-4|||||1010^ELISA MERCADO, MD|"));
    QVERIFY(segments[3].startsWith("ORC|NW|30001CT|"));
    QVERIFY(segments[4].startsWith("OBR||30001CT||CT30^CT BRAIN PLAIN|S|"));

    // A cancelled request is queued as a cancellation.
    m_h->run("RADIOLOGY..spRadioHL7Format '3','10008','XR'");
    listed = m_h->run("RADIOLOGY..spRadioHL7Format '1'");
    QVERIFY(listed.rows.last()[1].toString().contains("\r\nORC|CA|10008XR|"));

    m_h->run("RADIOLOGY..spRadioHL7Format '2','30001','CT'");
    listed = m_h->run("RADIOLOGY..spRadioHL7Format '1'");
    QCOMPARE(listed.rows.size(), waiting + 1);
    for (const QVariantList &r : listed.rows)
        QVERIFY(r[2].toString() != "30001");
    QCOMPARE(count("SELECT COUNT(*) FROM Radiology.tbHL7Queue WHERE RequestNum = '30001' AND HL7Status = 'X' "
                   "AND SentDate IS NOT NULL"),
             1);
}

void TestRadiologyProcedures::hl7Format_unknownRequestIsAnError()
{
    QVERIFY_THROWS_EXCEPTION(SqlError, m_h->run("RADIOLOGY..spRadioHL7Format '3','99999','CT'"));
    QVERIFY_THROWS_EXCEPTION(SqlError, m_h->run("RADIOLOGY..spRadioHL7Format '3','30001','ZZ'"));
}

void TestRadiologyProcedures::editPatient_listsWaitingMessagesBySequenceNumber()
{
    m_h->exec("INSERT INTO Radiology.tbMasterHL7 (HospNum, FileName, HL7, HL7Status) VALUES ('100201', 'ADT100201A', 'MSH|x', '')");
    ResultSet rs = m_h->run("RADIOLOGY..spRadioHL7EditPatient '1'");
    QCOMPARE(rs.columns, (QStringList{"FileName", "HL7", "RequestNum"}));
    QCOMPARE(rs.rows.size(), 2);
    QCOMPARE(rs.rows[0][0].toString(), "ADT100204A");
    const QString sequenceNo = rs.rows[1][2].toString();
    QCOMPARE(rs.rows[1][0].toString(), "ADT100201A");

    m_h->run("UPDATE  RADIOLOGY..tbMasterHL7 SET    HL7Status = 'X'  WHERE   SequenceNo = '" + sequenceNo + "'");
    rs = m_h->run("RADIOLOGY..spRadioHL7EditPatient '1'");
    QCOMPARE(rs.rows.size(), 1);
    QCOMPARE(rs.rows[0][0].toString(), "ADT100204A");
}

void TestRadiologyProcedures::allergies_data()
{
    QTest::addColumn<QString>("hospNum");
    QTest::addColumn<QString>("expected");
    QTest::newRow("two allergies") << "100204"
                                   << "AL1|1|DA|^IODINATED CONTRAST|MO|URTICARIA|20190211\r\n"
                                      "AL1|2|FA|^SHELLFISH|MI|ITCHING|\r\n";
    QTest::newRow("walk-in") << "T000304" << "AL1|1|DA|^ASPIRIN|MO|BRONCHOSPASM|\r\n";
    QTest::newRow("only an inactive one") << "100201" << "";
    QTest::newRow("none") << "100202" << "";
    QTest::newRow("unknown patient") << "999999" << "";
}

void TestRadiologyProcedures::allergies()
{
    QFETCH(QString, hospNum);
    QFETCH(QString, expected);
    const QVariant v = value("SELECT RADIOLOGY.DBO.fn_GetAllergiesHL7('" + hospNum + "') as Allergies");
    QVERIFY(!v.isNull());
    QCOMPARE(v.toString(), expected);
}

void TestRadiologyProcedures::employeeId_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("last, first") << "DELA CRUZ, JUAN" << QVariant("0460");
    QTest::newRow("first last, any case") << "juan dela cruz" << QVariant("0460");
    QTest::newRow("first initial last") << "Juan B. Dela Cruz" << QVariant("0460");
    QTest::newRow("backquote for apostrophe") << "O`BRIEN, KATHLEEN" << QVariant("0461");
    QTest::newRow("apostrophe") << "Kathleen O''Brien" << QVariant("0461");
    QTest::newRow("accented") << QStringLiteral("NUÑEZ, RENÉ") << QVariant("0462");
    QTest::newRow("employee id") << "0470" << QVariant("0470");
    QTest::newRow("unknown") << "NOBODY, NOBODY" << QVariant();
}

void TestRadiologyProcedures::employeeId()
{
    QFETCH(QString, name);
    QFETCH(QVariant, expected);
    const QVariant v = value("SELECT Radiology.dbo.Fn_GetEmpID_HL7('" + name + "') as EmpID");
    QCOMPARE(v.isNull(), expected.isNull());
    QCOMPARE(v.toString(), expected.toString());
}

// Every pending request of an active revenue has what the order data needs: its patient (cash
// table for walk-ins), its visit (outpatient table for B visit numbers), its doctor, its exam.
void TestRadiologyProcedures::demo_pendingRequestsCanBeOrdered()
{
    const ResultSet revenues = m_h->query("SELECT RevenueID, RequestTableName FROM Radiology.tbRadiologyRevenues "
                                          "WHERE IFNULL(RequestTableName, '') <> ''");
    int pending = 0;
    QSet<QString> kinds;
    for (const QVariantList &rev : revenues.rows) {
        const QString table = rev[1].toString();
        const bool itemId = table.compare("tbMammoMaster", Qt::CaseInsensitive) == 0
                            || table.compare("tbNUCMaster", Qt::CaseInsensitive) == 0;
        const ResultSet rs = m_h->query(QStringLiteral("SELECT RequestNum, HospNum, IDNum, RequestDoctorCode, %1 FROM Radiology.%2 "
                                                       "WHERE RevenueID = ? AND IFNULL(StatusHl7, '') = ''")
                                            .arg(itemId ? "ItemID" : "code", table),
                                        {rev[0]});
        for (const QVariantList &r : rs.rows) {
            ++pending;
            const QString req = r[0].toString(), hosp = r[1].toString(), id = r[2].toString();
            const bool walkIn = hosp.startsWith(u'T');
            const bool outpatient = id.contains(u'B');
            kinds << (walkIn ? "walk-in" : "registered") << (outpatient ? "outpatient" : "inpatient");
            QVERIFY2(count(walkIn ? "SELECT COUNT(*) FROM Patient_Data.tbCashPatient WHERE HospNum = ?"
                                  : "SELECT COUNT(*) FROM Patient_Data.TBMaster WHERE HospNum = ?",
                           {hosp}) == 1,
                     qPrintable(req));
            QVERIFY2(count(outpatient ? "SELECT COUNT(*) FROM Patient_Data.tbOutPatient WHERE IDNum = ? AND HospNum = ?"
                                      : "SELECT COUNT(*) FROM Patient_Data.tbPatient WHERE IDNum = ? AND HospNum = ?",
                           {id, hosp}) == 1,
                     qPrintable(req));
            QVERIFY2(count("SELECT COUNT(*) FROM Build_File.tbCoDoctor WHERE DoctorID = ?", {r[3]}) == 1, qPrintable(req));
            QVERIFY2(count("SELECT COUNT(*) FROM Radiology.tbBillExamListing WHERE RevenueID = ? AND ItemID = ?", {rev[0], r[4]})
                         == 1,
                     qPrintable(req));
        }
    }
    QVERIFY(pending >= 20);
    QCOMPARE(kinds.size(), 4);
}

void TestRadiologyProcedures::demo_revenueLoadSkipsInactiveAndTableless()
{
    const ResultSet rs = m_h->run("Select Sectionname,RevenueID,ResultTableName,RequestTableName,DICOMModality,* from "
                                  "radiology..tbradiologyrevenues WITH (NOLOCK) WHERE Active=1 ");
    QStringList loaded, skipped;
    for (const QVariantList &r : rs.rows)
        (r[3].toString().isEmpty() ? skipped : loaded) << r[1].toString();
    QCOMPARE(loaded, (QStringList{"XR", "US", "WC", "CT", "MI", "MM", "NU", "P4", "C1", "R1"}));
    QCOMPARE(skipped, QStringList{"RD"});
    QCOMPARE(count("SELECT COUNT(*) FROM Radiology.tbRadiologyRevenues WHERE RevenueID = 'RI' AND Active = 0"), 1);
}

RELAYON_CORE_TEST_MAIN(TestRadiologyProcedures)
#include "tst_radiologyprocedures.moc"
