// The order message of demo requests, byte for byte, its file name and its log row.

#include "ClientOptions.h"
#include "CommLog.h"
#include "OrderMessage.h"
#include "OrdersFixture.h"
#include "TestSupport.h"

#include <QRegularExpression>
#include <QtTest>

Q_DECLARE_METATYPE(OrderRequestRow)

class TestOrderMessage : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void message_data();
    void message();
    void derivedNames_data();
    void derivedNames();
    void logRowOfBuiltMessage();
    void skippedRequestLogsOnlyARow();
    void incompleteRowsYieldNothing_data();
    void incompleteRowsYieldNothing();
    void failingLookUpLeavesItsFieldsEmpty();

private:
    QString logRows(const QString &idNum) const;
    std::unique_ptr<DemoHospital> m_h;
};

namespace {

const char *kMedavis = "MSH|^~\\&|RISRELAYON|KALDRAHIS|medavis RIS|MEDAVIS|20240105140509 ||ORM^O01|<NOW>";
const char *kNovarad = "MSH|^~\\&|NOVARAD|KALDRAHIS|NOVARAD|NOVARADRIS|20240105140509 ||ORM^O01|<NOW>";
const char *kEnd = "\r\x1c\r";

OrderRequestRow xr10001() { return {"XR", "100201", "240101", "XR240001", "10001", "", "tbXRRequest"}; }

// MSH-10 carries the server's clock: checked for its form and replaced by <NOW>.
QString normalised(QString message)
{
    static const QRegularExpression now(QStringLiteral("\\|ORM\\^O01\\|\\d{14}"));
    return message.replace(now, QStringLiteral("|ORM^O01|<NOW>"));
}

} // namespace

void TestOrderMessage::init()
{
    m_h = std::make_unique<DemoHospital>();
    m_h->fixDates();
    m_h->execute("DELETE FROM Radiology..tbHl7Logs");
    ClientOptions::instance().setClient(0, false);
    ClientOptions::instance().setClient(1, false);
    ClientOptions::instance().setClient(2, true);
    TraceModel::log().clear();
}

void TestOrderMessage::cleanup()
{
    m_h.reset();
}

QString TestOrderMessage::logRows(const QString &idNum) const
{
    const Recordset rs = m_h->open("SELECT RequestNum, Transdate, RevenueId, ItemID, Hospnum, RefNum, HL7Type, "
                                   "ExportDate FROM Radiology..tbHl7Logs WHERE IDnum = " + sqlStr(idNum));
    QStringList rows;
    for (int r = 0; r < rs.recordCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < 7; ++c)
            cells << rs.text(r, c);
        rows << cells.join('|');
    }
    return rows.join('\n');
}

void TestOrderMessage::message_data()
{
    QTest::addColumn<OrderRequestRow>("row");
    QTest::addColumn<int>("clients"); // bit 0 VESK, bit 1 Fuji, bit 2 Medavis
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("patName");
    QTest::addColumn<QString>("expected");

    const QString pid10001 = "PID|1||100201||SANTOS^ANA REYES||19850314|F|||12 MABINI ST.^SAN ROQUE^^METRO MANILA||"
                             "028-123-45678^PRN^ph~0917-123-4567^ORN^CP\r\n"
                             "PV1||I|^301-A|||||1010^ELISA MERCADO, MD|||||||||||240101|\r\n";
    const QString orc10001 = "ORC|NW|10001XR|||||||20240105140509|0451^SANTOS^MARIA CLARA DIAZ||ELISA MERCADO, MD|\r\n"
                             "OBR||10001XR||CR88^CHEST PA|S|20240105130000|||||A||IMAGING REASON:Rule out pneumonia;"
                             "NURSE REMARKS:On oxygen|||||||||||CR|||^^^20240105||||Cough and fever for 5 days.|";

    QTest::newRow("numeric request, medavis") << xr10001() << 4 << "CR10001XRX" << "SANTOS^ANA REYES"
        << QString(kMedavis) + "10001|P|2.3.1 \r\n" + pid10001 + "DG1|1||^PNEUMONIA, RIGHT LOWER LOBE|\r\n"
               "IN1|1|||PERSONAL|\r\n" + orc10001 + kEnd;
    QTest::newRow("numeric request, VESK") << xr10001() << 1 << "CR10001XRX" << "SANTOS^ANA REYES"
        << QString(kMedavis) + "10001|P|2.3.1 \r\n" + pid10001 + "DG1|1||^PNEUMONIA, RIGHT LOWER LOBE|\r\n"
               "IN1|1|||PERSONAL|\r\n" + orc10001 + kEnd;
    QTest::newRow("numeric request, Novarad (Fuji only)") << xr10001() << 2 << "CR10001XRX" << "SANTOS^ANA REYES"
        << QString(kNovarad) + "10001|P|2.3.1 \r\n" + pid10001 + orc10001 + kEnd;

    QTest::newRow("non-numeric request, company of the account")
        << OrderRequestRow{"XR", "100206", "240106", "XR240007", "A10007", "X", "tbXRRequest"} << 4 << "CRA10007X"
        << "MENDOZA^RAMON "
        << QString(kMedavis) + "A10007|P|2.3.1 \r\n"
               "PID|1||100206||MENDOZA^RAMON ||19400404|M|||21 LUNA ST.^SAN ISIDRO^^RIZAL||^PRN^ph~^ORN^CP\r\n"
               "PV1||I|^310|||||1011^RAFAEL DIZON, MD|||||||||||240106|\r\n"
               "DG1|1||^LOW BACK PAIN|\r\n"
               "IN1|1|||C0099|\r\n"
               "ORC|NW|A10007|||||||20240105140509|0452^REYES^JOHN PAUL MANALO||RAFAEL DIZON, MD|\r\n"
               "OBR||A10007||CR92^LUMBOSACRAL SPINE APL|R|20240105130000|||||A||IMAGING REASON:Low back pain;"
               "|||||||||||CR|||^^^20240105||||Back pain radiating to the left leg.|" + kEnd;

    QTest::newRow("cancelled, apostrophes, allergies")
        << OrderRequestRow{"XR", "100203", "240103", "XR240008", "10008", "C", "tbXRRequest"} << 4 << "CR10008XRC"
        << "O'BRIEN^PATRICK MURPHY"
        << QString(kMedavis) + "10008|P|2.3.1 \r\n"
               "PID|1||100203||O'BRIEN^PATRICK MURPHY||19720721|M|||7 ACACIA LANE^BEL-AIR^^METRO MANILA||"
               "^PRN^ph~0927-444-1212^ORN^CP\r\n"
               "PV1||I|^ICU-2|||||1011^RAFAEL DIZON, MD|||||||||||240103|\r\n"
               "AL1|1|DA|^PENICILLIN|SV|ANAPHYLAXIS|20100501\r\n"
               "DG1|1||^SUBDURAL HEMATOMA, LEFT|\r\n"
               "IN1|1|||ST. JUDE'S MUTUAL BENEFIT|\r\n"
               "ORC|CA|10008XR|||||||20240105140509|0451^SANTOS^MARIA CLARA DIAZ||RAFAEL DIZON, MD|\r\n"
               "OBR||10008XR||CR91^SKULL APL|R|20240105130000|||||A||IMAGING REASON:Head injury;"
               "|||||||||||CR|||^^^20240105||||Fell from a ladder; GCS 13.|" + kEnd;

    QTest::newRow("walk-in outpatient without ER number")
        << OrderRequestRow{"XR", "T000301", "24000301B", "XR240003", "10003", "X", "tbXRRequest"} << 4
        << "CR10003XRX" << "REYES^MARK ANTHONY"
        << QString(kMedavis) + "10003|P|2.3.1 \r\n"
               "PID|1||T000301||REYES^MARK ANTHONY||19930202|M|||15 P. GUEVARRA ST.^ADDITION HILLS^SAN JUAN^||"
               "^PRN^ph~0936-000-1111^ORN^CP\r\n"
               "PV1||O|^OPD|||||1014^VICTOR ABAD, MD|||||||||||24000301B|\r\n"
               "DG1|1||^COUGH|\r\n"
               "IN1|1|||PERSONAL|\r\n"
               "ORC|NW|10003XR|||||||20240105140509|0451^SANTOS^MARIA CLARA DIAZ||VICTOR ABAD, MD|\r\n"
               "OBR||10003XR||CR88^CHEST PA|R|20240105130000|||||A|||||||||||||CR|||^^^20240105||||"
               "Pre-employment.|" + kEnd;

    QTest::newRow("outpatient with ER number, & in the exam")
        << OrderRequestRow{"XR", "100214", "24000114B", "XR240004", "10004", "", "tbXRRequest"} << 4
        << "CR10004XRX" << "FERNANDEZ^MIGUEL TORRES"
        << QString(kMedavis) + "10004|P|2.3.1 \r\n"
               "PID|1||100214||FERNANDEZ^MIGUEL TORRES||20010101|M|||77 KATIPUNAN AVE.^LOYOLA HEIGHTS^^METRO MANILA||"
               "^PRN^ph~0927-123-0003^ORN^CP\r\n"
               "PV1||E|^OPD|||||1014^VICTOR ABAD, MD|||||||||||24000114B|\r\n"
               "DG1|1||^CLOSED FRACTURE, RIGHT FOREARM|\r\n"
               "IN1|1|||PERSONAL|\r\n"
               "ORC|NW|10004XR|||||||20240105140509|0452^REYES^JOHN PAUL MANALO||VICTOR ABAD, MD|\r\n"
               "OBR||10004XR||CR90^HAND AND WRIST|S|20240105130000|||||A||IMAGING REASON:Deformity, right forearm;"
               "|||||||||||CR|||^^^20240105||||Basketball injury.|" + kEnd;

    QTest::newRow("revenue R1 has no modality")
        << OrderRequestRow{"R1", "100221", "24000121B", "R1240034", "90001", "", "tbRequestMaster"} << 4
        << "90001R1X" << "NAVARRO^LUIS CORTEZ"
        << QString(kMedavis) + "90001|P|2.3.1 \r\n"
               "PID|1||100221||NAVARRO^LUIS CORTEZ||19550606|M|||28 P. BURGOS ST.^POBLACION^^BATANGAS||"
               "^PRN^ph~0934-123-0010^ORN^CP\r\n"
               "PV1||O|^OPD|||||1010^ELISA MERCADO, MD|||||||||||24000121B|\r\n"
               "DG1|1||^PROSTATE CANCER|\r\n"
               "IN1|1|||PERSONAL|\r\n"
               "ORC|NW|90001R1|||||||20240105140509|0451^SANTOS^MARIA CLARA DIAZ||ELISA MERCADO, MD|\r\n"
               "OBR||90001R1||95^RADIOTHERAPY PLANNING|R|20240105130000|||||A||IMAGING REASON:Prostate cancer;"
               "||||||||||||||^^^20240105||||For radiotherapy planning.|" + kEnd;

    QTest::newRow("revenue without a mapping, walk-in ER patient with apostrophe")
        << OrderRequestRow{"CT", "T000303", "24000303B", "CT240019", "30003", "", "tbCTRequest"} << 4
        << "CT30003CTX" << "O'NEIL^SEAN "
        << QString(kMedavis) + "30003|P|2.3.1 \r\n"
               "PID|1||T000303||O'NEIL^SEAN ||19770317|M|||3 ARNAIZ AVE.^SAN LORENZO^MAKATI^||"
               "^PRN^ph~0938-000-3333^ORN^CP\r\n"
               "PV1||E|^OPD|||||1014^VICTOR ABAD, MD|||||||||||24000303B|\r\n"
               "DG1|1||^MOTOR VEHICLE ACCIDENT|\r\n"
               "IN1|1|||PERSONAL|\r\n"
               "ORC|NW|30003CT|||||||20240105140509|0451^SANTOS^MARIA CLARA DIAZ||VICTOR ABAD, MD|\r\n"
               "OBR||30003CT||CT30^CT BRAIN PLAIN|S|20240105130000|||||A||IMAGING REASON:Head trauma;"
               "|||||||||||CT|||^^^20240105||||Head trauma, conscious.|" + kEnd;
}

void TestOrderMessage::message()
{
    QFETCH(OrderRequestRow, row);
    QFETCH(int, clients);
    QFETCH(QString, fileName);
    QFETCH(QString, patName);
    QFETCH(QString, expected);
    for (int i = 0; i < 3; ++i)
        ClientOptions::instance().setClient(i, clients & (1 << i));

    OrderResults r;
    QCOMPARE(GetHL7(m_h->db(), row, {}, r), QString());
    QVERIFY2(r.HL7.contains(QRegularExpression("\\|ORM\\^O01\\|\\d{14}" + QRegularExpression::escape(row.RequestNum)
                                               + "\\|P\\|")),
             qPrintable(r.HL7));
    QCOMPARE(normalised(r.HL7), expected);
    QCOMPARE(r.FName, fileName);
    QCOMPARE(r.HL7RevenueID, row.RevenueID);
    QCOMPARE(r.HL7RequestNum, row.RequestNum);
    QCOMPARE(r.PatName, patName);
    QCOMPARE(r.HospNum, row.HospNum);
}

void TestOrderMessage::derivedNames_data()
{
    QTest::addColumn<QString>("revenue");
    QTest::addColumn<QString>("requestNum");
    QTest::addColumn<QString>("swfin");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("control");
    QTest::newRow("XR numeric X") << "XR" << "123" << "X" << "CR123XRX" << "NW";
    QTest::newRow("XR numeric cancelled") << "XR" << "123" << "C" << "CR123XRC" << "CA";
    QTest::newRow("empty SWFin") << "XR" << "123" << "" << "CR123XRX" << "NW";
    QTest::newRow("non-numeric") << "XR" << "A123" << "X" << "CRA123X" << "NW";
    QTest::newRow("R1") << "R1" << "7" << "Y" << "7R1Y" << "NW";
    QTest::newRow("unmapped") << "CT" << "7" << "X" << "CT7CTX" << "NW";
    for (const auto &[rev, mod] : {std::pair{"MI", "MG"}, {"WC", "US"}, {"P4", "CT"}, {"NU", "NM"}, {"C1", "XA"},
                                   {"RI", "MR"}})
        QTest::newRow(rev) << rev << "5" << "X" << QString(mod) + "5" + rev + "X" << "NW";
}

void TestOrderMessage::derivedNames()
{
    QFETCH(QString, revenue);
    QFETCH(QString, requestNum);
    QFETCH(QString, swfin);
    QFETCH(QString, fileName);
    QFETCH(QString, control);
    QCOMPARE(orderFileName(revenue, requestNum, swfin), fileName);
    QCOMPARE(orderControl(swfin), control);
}

void TestOrderMessage::logRowOfBuiltMessage()
{
    OrderResults r;
    GetHL7(m_h->db(), OrderRequestRow{"XR", "100203", "240103", "XR240008", "10008", "C", "tbXRRequest"}, {}, r);
    // The placer order number and the order control, so the cancellation pass can find it.
    QCOMPARE(logRows("240103"), QString("10008XR|2024-01-05 14:05:09.000|XR|91|100203|XR240008|CA"));
    // Showing the message again logs again.
    GetHL7(m_h->db(), OrderRequestRow{"XR", "100203", "240103", "XR240008", "10008", "C", "tbXRRequest"}, {}, r);
    QCOMPARE(logRows("240103").count('\n'), 1);
}

void TestOrderMessage::skippedRequestLogsOnlyARow()
{
    ItemFilters filters;
    filters.exclude = {{"XR", "88"}};
    OrderResults r;
    gblSkipHL7 = false;
    GetHL7(m_h->db(), xr10001(), filters, r);
    QVERIFY(gblSkipHL7);
    QVERIFY(r.HL7.isEmpty());
    QVERIFY(r.FName.isEmpty());
    QCOMPARE(r.HL7RevenueID, QString("XR"));
    QCOMPARE(r.HL7RequestNum, QString("10001"));
    QCOMPARE(logRows("240101"), QString("||XR|88|100201|XR240001|"));
    gblSkipHL7 = false;
}

void TestOrderMessage::incompleteRowsYieldNothing_data()
{
    QTest::addColumn<OrderRequestRow>("row");
    QTest::addColumn<QString>("trace");
    QTest::newRow("empty request number") << OrderRequestRow{"XR", "100201", "240101", "XR240001", "", "", "tbXRRequest"}
                                          << "";
    QTest::newRow("empty table") << OrderRequestRow{"XR", "100201", "240101", "XR240001", "10001", "", ""} << "";
    QTest::newRow("not found") << OrderRequestRow{"XR", "100201", "240101", "XR240001", "99999", "", "tbXRRequest"}
                               << "Get HL7 RequestNum not found 99999";
}

void TestOrderMessage::incompleteRowsYieldNothing()
{
    QFETCH(OrderRequestRow, row);
    QFETCH(QString, trace);
    OrderResults r;
    r.PatName = "kept";
    GetHL7(m_h->db(), row, {}, r);
    QVERIFY(r.HL7.isEmpty());
    QVERIFY(r.FName.isEmpty());
    QCOMPARE(logRows("240101"), QString());
    QCOMPARE(TraceModel::log().lines().size(), trace.isEmpty() ? 0 : 1);
    if (!trace.isEmpty())
        QVERIFY(traced(trace));
}

void TestOrderMessage::failingLookUpLeavesItsFieldsEmpty()
{
    FailingConnection failing(m_h->db());
    failing.failOn = {"tbcodoctor", "fn_GetAllergiesHL7"};
    OrderResults r;
    GetHL7(&failing, OrderRequestRow{"XR", "100203", "240103", "XR240008", "10008", "C", "tbXRRequest"}, {}, r);
    QVERIFY(r.HL7.contains("PV1||I|^ICU-2|||||1011^|||||||||||240103|\r\nDG1|"));
    QVERIFY(r.HL7.contains("ORC|CA|10008XR|||||||20240105140509|0451^SANTOS^MARIA CLARA DIAZ|||\r\n"));
    QVERIFY(traced("Error on GetHL7 Doctor Name Invalid object name " + doctorStatement("1011")));
    QVERIFY(traced("Error on GetHL7 fn_GetAllergiesHL7 Invalid object name " + allergiesStatement("100203")));
    // The rest of the gathering went on: the staff look-up after them was sent.
    QCOMPARE(failing.sent.filter("tbpasswordmain").size(), 1);
}

RELAYON_CORE_TEST_MAIN(TestOrderMessage)
#include "tst_ordermessage.moc"
