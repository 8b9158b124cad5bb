// The radiology revenue table loaded from a demo hospital.

#include "EmbeddedConnection.h"
#include "Globals.h"
#include "Hospital.h"
#include "RevenueTable.h"
#include "TestSupport.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>

class TestRevenues : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void loadsActiveRevenuesWithRequestTables();
    void veskAddsTheMriRowOnceAfterTheDatabaseRows();
    void noActiveRevenue();
    void failureKeepsWhatWasReadAndReports();

private:
    QStringList expectedCodes();
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<EmbeddedConnection> m_db;
};

void TestRevenues::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    hospitaldb::Hospital::create(m_dir->path(), true);
    m_db = std::make_unique<EmbeddedConnection>(m_dir->path());
}

void TestRevenues::cleanup()
{
    m_db.reset();
    m_dir.reset();
}

QStringList TestRevenues::expectedCodes()
{
    QStringList codes;
    const auto rs = m_db->hospital().query(
        "SELECT RevenueID FROM Radiology.tbradiologyrevenues WHERE Active=1 AND IFNULL(RequestTableName,'') <> ''");
    for (const auto &row : rs.rows)
        codes << row[0].toString();
    return codes;
}

void TestRevenues::loadsActiveRevenuesWithRequestTables()
{
    // A row with an empty request table and an inactive row are left out whatever they hold.
    m_db->hospital().exec("INSERT INTO Radiology.tbradiologyrevenues (RevenueID, RequestTableName, ResultTableName, "
                          "Active) VALUES ('ZZ', '', 'tbZZResult', 1), ('ZY', 'tbZYRequest', 'tbZYResult', 0), "
                          "('ZX', 'tbXRRequest', 'tbXRResult', 1)");
    const QStringList expected = expectedCodes();
    QVERIFY(expected.size() >= 3);

    QCOMPARE(loadRevenueTable(m_db.get(), false), QString());
    QStringList codes;
    for (const RevenueInfo &r : gblRevenues)
        codes << r.RevenueID;
    QCOMPARE(codes, expected);
    QCOMPARE(int(gblRevenueMax), expected.size() - 1);
    QVERIFY(!codes.contains("ZZ"));
    QVERIFY(!codes.contains("ZY"));

    const RevenueInfo *zx = FindRevenue("ZX");
    QVERIFY(zx);
    QCOMPARE(zx->RequestTableName, QString("tbXRRequest"));
    QCOMPARE(zx->StatusSWFinField, QString("SWFin")); // empty column
    QCOMPARE(zx->field(2), zx->RequestTableName);
    QVERIFY(!FindRevenue("zx")); // the wanted code is compared as given

    // A second load gives the rows once each.
    QCOMPARE(loadRevenueTable(m_db.get(), false), QString());
    QCOMPARE(gblRevenues.size(), expected.size());
}

void TestRevenues::veskAddsTheMriRowOnceAfterTheDatabaseRows()
{
    m_db->hospital().exec("INSERT INTO Radiology.tbradiologyrevenues (RevenueID, RequestTableName, ResultTableName, "
                          "Active) VALUES ('RI', 'tbMRIRequest', 'tbMRIResult', 1)");
    for (int load = 0; load < 2; ++load) {
        QCOMPARE(loadRevenueTable(m_db.get(), true), QString());
        QCOMPARE(gblRevenues.size(), expectedCodes().size() + 1);
        const RevenueInfo &last = gblRevenues.last();
        QCOMPARE(last.RevenueID, QString("RI"));
        QCOMPARE(last.ResultTableName, QString("tbMRIResult"));
        QCOMPARE(last.RequestTableName, QString("tbMRIRequest1"));
        QCOMPARE(last.DICOMModality, QString());
        QCOMPARE(last.SectionName, QString());
        QCOMPARE(last.StatusSWFinField, QString("SWFin"));
        QCOMPARE(last.IncludeRevenue, QString("'RI'"));
        QCOMPARE(last.ExcludeRevenue, QString());
        QCOMPARE(last.HistoryTableName, QString("tbMRIResultHistory"));
    }
    // The lookup finds the database's own row first.
    QCOMPARE(FindRevenue("RI")->RequestTableName, QString("tbMRIRequest"));
}

void TestRevenues::noActiveRevenue()
{
    m_db->hospital().exec("UPDATE Radiology.tbradiologyrevenues SET Active = 0");
    QCOMPARE(loadRevenueTable(m_db.get(), false), QString());
    QCOMPARE(int(gblRevenueMax), -1);
    QVERIFY(!FindRevenue("XR"));
}

void TestRevenues::failureKeepsWhatWasReadAndReports()
{
    QCOMPARE(loadRevenueTable(m_db.get(), true), QString());
    m_db->hospital().exec("DROP TABLE Radiology.tbradiologyrevenues");
    const QString error = loadRevenueTable(m_db.get(), true);
    QVERIFY2(error.contains("tbradiologyrevenues", Qt::CaseInsensitive), qPrintable(error));
    QCOMPARE(int(gblRevenueMax), -1); // nothing was read; no "RI" row either
    QVERIFY(!loadRevenueTable(nullptr, false).isEmpty());
}

RELAYON_TEST_MAIN(TestRevenues)
#include "tst_revenues.moc"
