// Order data: the item filter lists and the look-ups that depend on the request's table,
// the patient and the visit.

#include "CommLog.h"
#include "OrderData.h"
#include "OrdersFixture.h"
#include "TestSupport.h"

#include <QtTest>

Q_DECLARE_METATYPE(QList<ItemCodeEntry>)

class TestOrderData : public QObject {
    Q_OBJECT
private slots:
    void parseItemCodes_data();
    void parseItemCodes();
    void itemFilter_data();
    void itemFilter();
    void requestColumnsByTable_data();
    void requestColumnsByTable();
    void gathering();
};

void TestOrderData::parseItemCodes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<ItemCodeEntry>>("entries");
    QTest::newRow("empty") << "" << QList<ItemCodeEntry>{};
    QTest::newRow("two") << "XR88 US12" << QList<ItemCodeEntry>{{"XR", "88"}, {"US", "12"}};
    QTest::newRow("two spaces end the list") << "XR88  XR89" << QList<ItemCodeEntry>{{"XR", "88"}};
    QTest::newRow("leading space: nothing") << " XR88" << QList<ItemCodeEntry>{};
    QTest::newRow("trailing space") << "XR88 " << QList<ItemCodeEntry>{{"XR", "88"}};
    QTest::newRow("short token") << "X" << QList<ItemCodeEntry>{{"X", ""}};
    QTest::newRow("long item") << "CT1234" << QList<ItemCodeEntry>{{"CT", "1234"}};
}

void TestOrderData::parseItemCodes()
{
    QFETCH(QString, text);
    QFETCH(QList<ItemCodeEntry>, entries);
    QCOMPARE(::parseItemCodes(text), entries);
}

void TestOrderData::itemFilter_data()
{
    QTest::addColumn<QString>("include");
    QTest::addColumn<QString>("exclude");
    QTest::addColumn<QString>("revenue");
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("skipped");
    QTest::newRow("no lists") << "" << "" << "XR" << "88" << false;
    QTest::newRow("include XR: 90 not listed") << "XR88 XR89" << "" << "XR" << "90" << true;
    QTest::newRow("include XR: 88 listed") << "XR88 XR89" << "" << "XR" << "88" << false;
    QTest::newRow("include XR does not restrict US") << "XR88 XR89" << "" << "US" << "12" << false;
    QTest::newRow("first entry US: XR unrestricted") << "US12 XR88" << "" << "XR" << "90" << false;
    QTest::newRow("first entry US: item of any entry passes") << "US12 XR88" << "" << "US" << "88" << false;
    QTest::newRow("first entry US: other item skipped") << "US12 XR88" << "" << "US" << "13" << true;
    QTest::newRow("exclude XR88") << "" << "XR88" << "XR" << "88" << true;
    QTest::newRow("exclude XR88 leaves US88") << "" << "XR88" << "US" << "88" << false;
    QTest::newRow("exact case") << "" << "xr88" << "XR" << "88" << false;
}

void TestOrderData::itemFilter()
{
    QFETCH(QString, include);
    QFETCH(QString, exclude);
    QFETCH(QString, revenue);
    QFETCH(QString, item);
    QFETCH(bool, skipped);
    ItemFilters filters{::parseItemCodes(include), ::parseItemCodes(exclude)};
    QCOMPARE(itemFilterSkips(filters, revenue, item), skipped);
}

void TestOrderData::requestColumnsByTable_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("receptionist");
    QTest::addColumn<QString>("item");
    QTest::newRow("mammo") << "tbMammoMaster" << "[UserID] as Receptionist" << "    ItemID FROM";
    QTest::newRow("mammo, any case") << "TBMAMMOMASTER" << "[UserID] as Receptionist" << "    ItemID FROM";
    QTest::newRow("nuclear") << "tbnucmaster" << "[By] as Receptionist" << "    ItemID FROM";
    QTest::newRow("other") << "tbXRRequest" << "[By] as Receptionist" << "    code FROM";
}

void TestOrderData::requestColumnsByTable()
{
    QFETCH(QString, table);
    QFETCH(QString, receptionist);
    QFETCH(QString, item);
    const QString sql = requestStatement(table, "O'1");
    QVERIFY(sql.contains(receptionist));
    QVERIFY(sql.contains(item));
    QVERIFY(sql.endsWith(" FROM RADIOLOGY.." + table + " AS PInfo WITH (NOLOCK) WHERE RequestNum='O''1'"));
}

void TestOrderData::gathering()
{
    DemoHospital h;
    // A two-line imaging reason arrives with the HL7 escapes between its lines.
    h.execute("UPDATE RADIOLOGY..tbXRRequest SET ImagingReason = 'fall' + char(13) + char(10) + 'rule out' "
              "WHERE RequestNum = '10003'");
    h.execute("DELETE FROM STATION..tbNurseLogBook WHERE ReferenceNum = 'XR240003'");
    h.execute("UPDATE Patient_Data..tbOutPatient SET AccountNum = 'NOSUCH' WHERE IDNum = '24000301B'");

    RadiologyOrderData d;
    QCOMPARE(gatherOrderData(h.db(), {"XR", "T000301", "24000301B", "XR240003", "10003", "X", "tbXRRequest"}, {}, d),
             GatherOutcome::Complete);
    QCOMPARE(d.ImagingReason, QString("IMAGING REASON:fall\\X0D\\\\X0A\\rule out;"));
    QCOMPARE(d.RequestDate, QString());
    QCOMPARE(d.Remarks, QString());
    QCOMPARE(d.Company, QString("NOSUCH")); // no company row: the account number
    QCOMPARE(d.Room, QString("OPD"));       // the visit's room after "Walk-in"
    QCOMPARE(d.Address, QString("15 P. GUEVARRA ST.^ADDITION HILLS^SAN JUAN^"));
    QCOMPARE(d.TelNum, QString());
    QCOMPARE(d.Diagnosis, QString("COUGH")); // outpatient: the admission diagnosis

    // A walk-in without a visit row keeps "Walk-in" and its built class.
    QCOMPARE(gatherOrderData(h.db(), {"XR", "T000301", "NOVISIT", "XR240003", "10003", "X", "tbXRRequest"}, {}, d),
             GatherOutcome::Complete);
    QCOMPARE(d.Room, QString("Walk-in"));
    QCOMPARE(d.PatientClass, QString("I"));

    ItemFilters filters{{}, {{"XR", "88"}}};
    QCOMPARE(gatherOrderData(h.db(), {"XR", "T000301", "24000301B", "XR240003", "10003", "X", "tbXRRequest"}, filters,
                             d),
             GatherOutcome::Skipped);
    QCOMPARE(gatherOrderData(h.db(), {"XR", "T000301", "24000301B", "XR240003", "NONE", "X", "tbXRRequest"}, {}, d),
             GatherOutcome::NotFound);
}

RELAYON_CORE_TEST_MAIN(TestOrderData)
#include "tst_orderdata.moc"
