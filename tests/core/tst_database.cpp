// The database contract: quoting, recordsets, the ODBC connection string and the failure
// of a SQL Server that is not there.

#include "Database.h"
#include "OdbcConnection.h"
#include "TestSupport.h"

#include <QDateTime>
#include <QTcpServer>
#include <QtTest>

class TestDatabase : public QObject {
    Q_OBJECT
private slots:
    void quoting_data();
    void quoting();
    void recordsetFieldsByNameAndNulls();
    void recordsetErrors();
    void odbcConnectionString_data();
    void odbcConnectionString();
    void sqlServerNotThere();
};

void TestDatabase::quoting_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("literal");
    QTest::newRow("plain") << "XR" << "'XR'";
    QTest::newRow("apostrophe") << "O'Brien" << "'O''Brien'";
    QTest::newRow("two apostrophes") << "''" << "''''''";
    QTest::newRow("injection") << "x' OR '1'='1" << "'x'' OR ''1''=''1'";
    QTest::newRow("empty") << "" << "''";
    QTest::newRow("latin1") << QString::fromUtf8("Ñoño") << QString::fromUtf8("'Ñoño'");
}

void TestDatabase::quoting()
{
    QFETCH(QString, value);
    QFETCH(QString, literal);
    QCOMPARE(sqlStr(value), literal);
}

void TestDatabase::recordsetFieldsByNameAndNulls()
{
    Recordset rs({"RevenueID", "Sectionname", "Count", "TransDate"},
                 {{QVariant("XR"), QVariant(), QVariant(qlonglong(3)),
                   QVariant(QDateTime(QDate(2026, 12, 11), QTime(9, 5, 7, 12)))},
                  {QVariant("CT"), QVariant("CT Scan"), QVariant(qlonglong(0)), QVariant()}});
    QCOMPARE(rs.recordCount(), 2);
    QVERIFY(!rs.eof());
    QCOMPARE(rs.field("revenueid"), QString("XR"));
    QCOMPARE(rs.field("SECTIONNAME"), QString());
    QVERIFY(rs.isNull("SectionName"));
    QCOMPARE(rs.field("Count"), QString("3"));
    QCOMPARE(rs.field("TransDate"), QString("2026-12-11 09:05:07.012"));
    rs.moveNext();
    QCOMPARE(rs.field(0), QString("CT"));
    QVERIFY(!rs.isNull("SectionName"));
    rs.moveNext();
    QVERIFY(rs.eof());

    // A repeated column name (as with "Sectionname, ..., *") reads the first.
    Recordset dup({"RevenueID", "revenueid"}, {{QVariant("first"), QVariant("second")}});
    QCOMPARE(dup.field("RevenueID"), QString("first"));
    QCOMPARE(Recordset().recordCount(), 0);
    QVERIFY(Recordset().eof());
}

void TestDatabase::recordsetErrors()
{
    Recordset rs({"A"}, {{QVariant("1")}});
    QVERIFY_THROWS_EXCEPTION(DbError, rs.field("B"));
    rs.moveNext();
    QVERIFY_THROWS_EXCEPTION(DbError, rs.field("A"));
}

void TestDatabase::odbcConnectionString_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("expected");
    const QString tail = "TDS_Version=7.4;ClientCharset=UTF-8;";
    QTest::newRow("name") << "HOSPSQL" << "pw"
                          << "DRIVER={FreeTDS};SERVER=HOSPSQL;DATABASE=Radiology;UID=relay;PWD=pw;" + tail;
    QTest::newRow("host,port") << "10.0.0.5,1500" << "pw"
                               << "DRIVER={FreeTDS};SERVER=10.0.0.5;PORT=1500;DATABASE=Radiology;UID=relay;PWD=pw;" + tail;
    QTest::newRow("host\\instance") << "HOSPSQL\\RADIO" << "pw"
                                    << "DRIVER={FreeTDS};SERVER=HOSPSQL\\RADIO;DATABASE=Radiology;UID=relay;PWD=pw;" + tail;
    QTest::newRow("password with ; and }") << "HOSPSQL" << "a;b}c"
                                           << "DRIVER={FreeTDS};SERVER=HOSPSQL;DATABASE=Radiology;UID=relay;PWD={a;b}}c};" + tail;
}

void TestDatabase::odbcConnectionString()
{
    QFETCH(QString, server);
    QFETCH(QString, password);
    QFETCH(QString, expected);
    ConnectionParams p{server, "Radiology", "relay", password};
    QVERIFY(!p.isEmbedded());
    QCOMPARE(::odbcConnectionString(p), expected);
}

void TestDatabase::sqlServerNotThere()
{
    // A port that was just free: nothing listens there.
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 port = probe.serverPort();
    probe.close();

    ConnectionParams p{"127.0.0.1," + QString::number(port), "Radiology", "sa", "x"};
    try {
        openConnection(p);
        QFAIL("a connection to a closed port opened");
    } catch (const DbError &e) {
        qInfo() << "driver says:" << e.description();
        // The driver's own description, not one of ours.
        QVERIFY2(!e.description().isEmpty(), "empty description");
        QVERIFY2(e.description().contains("FreeTDS") || e.description().contains("connect", Qt::CaseInsensitive),
                 qPrintable(e.description()));
    }
}

RELAYON_CORE_TEST_MAIN(TestDatabase)
#include "tst_database.moc"
