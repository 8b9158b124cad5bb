// The session component's browse over a table: listing by find fields and date filter,
// and the edits the browse allows.

#include "BrowseEngine.h"
#include "EmbeddedConnection.h"
#include "Hospital.h"
#include "TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

class TestBrowse : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void findOnlyBrowseListsAndRefusesEdits();
    void editableBrowseStoresValuesAsData();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<EmbeddedConnection> m_db;
};

void TestBrowse::initTestCase()
{
    hospitaldb::Hospital::create(m_dir.path(), true);
    m_db = std::make_unique<EmbeddedConnection>(m_dir.path());
}

void TestBrowse::findOnlyBrowseListsAndRefusesEdits()
{
    BrowseSpec b;
    b.PropOperation = "F";
    b.PropDatabaseName = "RADIOLOGY";
    b.proptable = "tbHl7Logs";
    b.PropFieldNameID = "RequestNum";
    b.PropFieldList = "RequestNum, Idnum,Transdate, RevenueId, ItemID, Hospnum, RefNum, ExportDate";
    b.PropFindField1 = "RequestNum";
    b.PropFindField2 = "RevenueID";
    b.PropDateFilterField = "TransDate";
    b.propsort = "TransDate";
    BrowseEngine e(m_db.get(), b, true, false);
    QVERIFY(!e.canEdit() && !e.canAdd() && !e.canDelete());
    QCOMPARE(e.listStatement("12", "", QDate(2026, 12, 1), QDate(2026, 12, 11)),
             QString("SELECT TOP 1000 RequestNum, Idnum, Transdate, RevenueId, ItemID, Hospnum, RefNum, ExportDate "
                     "FROM RADIOLOGY..tbHl7Logs WITH (NOLOCK) WHERE 1=1 AND RequestNum LIKE '12%' "
                     "AND TransDate >= '12/01/2026' AND TransDate < '12/12/2026' ORDER BY TransDate"));
    const Recordset all = e.list("", "", QDate(2000, 1, 1), QDate(2100, 1, 1));
    QVERIFY(all.recordCount() >= 1);
    QCOMPARE(all.fieldCount(), 8);
    QCOMPARE(e.list("x' OR '1'='1", "", QDate(), QDate()).recordCount(), 0);
    QVERIFY_THROWS_EXCEPTION(DbError, e.updateField("1", "RevenueID", "XR"));
}

void TestBrowse::editableBrowseStoresValuesAsData()
{
    BrowseSpec b;
    b.PropOperation = "AED";
    b.PropDatabaseName = "RADIOLOGY";
    b.proptable = "tbRadiologyRevenues";
    b.PropFieldNameID = "GType";
    b.PropFieldList = "GType , Description, RevenueID";
    BrowseEngine e(m_db.get(), b, true, false);
    QVERIFY(e.canEdit() && e.canAdd() && !e.canDelete());
    Recordset rs = e.list("", "", QDate(), QDate());
    const QString id = rs.field("GType");
    e.updateField(id, "Description", "WOMEN'S X-RAY");
    QCOMPARE(m_db->open("SELECT Description FROM RADIOLOGY..tbRadiologyRevenues WHERE GType = " + id).field(0),
             QString("WOMEN'S X-RAY"));
    // A column name that is not a plain name never reaches the database.
    QVERIFY_THROWS_EXCEPTION(DbError, e.updateField(id, "Description = 'x' --", "y"));
}

RELAYON_CORE_TEST_MAIN(TestBrowse)
#include "tst_browse.moc"
