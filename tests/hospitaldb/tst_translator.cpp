// The T-SQL translator of the embedded hospital: the SQLite text it writes for each rule, the
// constructs it refuses, the procedure calls it recognises, and the rows the translated
// statements give on a small fixture with the translation's SQLite functions registered.

#include "Hospital.h"
#include "TestSupport.h"
#include "TsqlTranslator.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

#include <sqlite3.h>

using hospitaldb::SqlError;
using hospitaldb::translateTsql;

class TstTranslator : public QObject {
    Q_OBJECT

private slots:
    void translates_data();
    void translates();
    void rejects_data();
    void rejects();
    void procedureCalls_data();
    void procedureCalls();

    void init();
    void cleanup();
    void rows_data();
    void rows();
    void columnNames();
    void getdateIsLocalTimeInStoredForm();
    void quotedNameOfNoColumnIsAnError();
    void updateStoresMonthDayYearAsIso();

private:
    // Translates and runs a statement on the fixture; rows as "col|col", NULL as "NULL".
    QStringList run(const QString &tsql, QString *error = nullptr);
    QSqlDatabase m_db;
};

// ---------------------------------------------------------------------------------------------
// T-SQL in, SQLite text out

void TstTranslator::translates_data()
{
    QTest::addColumn<QString>("tsql");
    QTest::addColumn<QString>("sqlite");

    // Three-part names, functions of the hospital's databases, table functions.
    QTest::newRow("db..table") << "SELECT a FROM Radiology..tbX"
                               << "SELECT a FROM Radiology.tbX";
    QTest::newRow("db.dbo.table, any case") << "select a from radiology.DBO.tbX"
                                            << "SELECT a FROM Radiology.tbX";
    QTest::newRow("bracketed three-part") << "SELECT a FROM [Radiology]..[tbX]"
                                          << "SELECT a FROM Radiology.\"tbX\"";
    QTest::newRow("dbo.table and bare table") << "SELECT a FROM dbo.tbA, tbB"
                                              << "SELECT a FROM tbA, tbB";
    QTest::newRow("every database")
        << "SELECT 1 FROM laboratory..a, station..b, patient_data..c, build_file..d, "
           "password..e, BAC..f"
        << "SELECT 1 FROM Laboratory.a, STATION.b, Patient_Data.c, Build_File.d, Password.e, "
           "bac.f";
    QTest::newRow("database function") << "SELECT RADIOLOGY.DBO.fn_GetAllergiesHL7('H1') as Allergies"
                                       << "SELECT fn_GetAllergiesHL7('H1') AS Allergies";
    QTest::newRow("database function, db..fn")
        << "SELECT Laboratory..fn_LabComputeAge('03/15/1980', 'x')"
        << "SELECT fn_LabComputeAge('1980-03-15 00:00:00.000', 'x')";
    QTest::newRow("table function in FROM")
        << "select ltrim(rtrim(strName)) LastName from laboratory.dbo.fn_LabSplit('DELA CRUZ, JUAN',',') where code = 1"
        << "SELECT ltrim(rtrim(strName)) AS LastName FROM fn_LabSplit('DELA CRUZ, JUAN', ',') WHERE code = 1";

    // Table hints.
    QTest::newRow("WITH (NOLOCK)") << "SELECT a FROM Radiology..tbX WITH (NOLOCK) WHERE a = 1"
                                   << "SELECT a FROM Radiology.tbX WHERE a = 1";
    QTest::newRow("with(nolock), spacing") << "SELECT a FROM Radiology..tbX with(nolock)  WHERE a=1"
                                           << "SELECT a FROM Radiology.tbX WHERE a = 1";
    QTest::newRow("(NOLOCK) and hint after alias")
        << "SELECT R.a FROM Radiology..tbX (NOLOCK), Radiology..tbY AS R WITH ( NoLock ) "
           "LEFT OUTER JOIN Radiology..tbZ Z WITH (NOLOCK) ON Z.a = R.a"
        << "SELECT R.a FROM Radiology.tbX, Radiology.tbY AS R LEFT OUTER JOIN Radiology.tbZ AS Z ON Z.a = R.a";

    // TOP.
    QTest::newRow("TOP n") << "select top 1 revenueid from Radiology..tbULRequest where RequestNum = '1'"
                           << "SELECT revenueid FROM Radiology.tbULRequest WHERE RequestNum = '1' LIMIT 1";
    QTest::newRow("TOP (n) *") << "SELECT TOP (5) * FROM t"
                               << "SELECT * FROM t LIMIT 5";
    QTest::newRow("TOP with ORDER BY") << "SELECT DISTINCT TOP 10 a FROM t ORDER BY a DESC, b"
                                       << "SELECT DISTINCT a FROM t ORDER BY a DESC, b LIMIT 10";
    QTest::newRow("TOP in compound parts, ORDER BY of the compound")
        << " SELECT  TOP 10  'XR' AS REVENUEID, TransDate FROM RADIOLOGY..tbXRRequest WITH (NOLOCK) "
           " WHERE 1=1 UNION ALL  SELECT  TOP 10  'CT' AS REVENUEID, TransDate FROM "
           "RADIOLOGY..tbCTRequest WITH (NOLOCK) WHERE 1=1 ORDER BY TransDate DESC "
        << "SELECT * FROM (SELECT 'XR' AS REVENUEID, TransDate FROM Radiology.tbXRRequest WHERE 1 = 1 LIMIT 10) "
           "UNION ALL SELECT * FROM (SELECT 'CT' AS REVENUEID, TransDate FROM Radiology.tbCTRequest WHERE 1 = 1 LIMIT 10) "
           "ORDER BY TransDate DESC";
    QTest::newRow("compound without TOP")
        << "SELECT a FROM t UNION ALL SELECT a FROM u UNION SELECT a FROM v ORDER BY a"
        << "SELECT a FROM t UNION ALL SELECT a FROM u UNION SELECT a FROM v ORDER BY a";
    QTest::newRow("parenthesized compound parts in a derived table")
        << "SELECT * FROM (( SELECT  TOP 10  a FROM t WHERE 1=1 ) UNION ALL ( SELECT b FROM u)) "
           "AS Results ORDER BY ExamDate ASC "
        << "SELECT * FROM (SELECT * FROM (SELECT a FROM t WHERE 1 = 1 LIMIT 10) UNION ALL "
           "SELECT b FROM u) AS Results ORDER BY ExamDate ASC";
    QTest::newRow("single parenthesized part")
        << "SELECT * FROM (( SELECT TOP 10 a FROM t )) AS Results ORDER BY a ASC"
        << "SELECT * FROM (SELECT a FROM t LIMIT 10) AS Results ORDER BY a ASC";
    QTest::newRow("TOP in subqueries")
        << "Select * from (select  top 200  a from t where 1=1 )x WHERE a IN (SELECT TOP 1 b FROM u ORDER BY b) "
           "AND (SELECT TOP 1 c FROM v) = 1"
        << "SELECT * FROM (SELECT a FROM t WHERE 1 = 1 LIMIT 200) AS x WHERE a IN (SELECT b FROM u ORDER BY b LIMIT 1) "
           "AND (SELECT c FROM v LIMIT 1) = 1";

    // '+': concatenation or addition, by what the operands are.
    QTest::newRow("+ with a text literal concatenates")
        << "SELECT Revenueid + '-' + Description[Description] FROM Radiology..tbradiologyrevenues WHERE active = '1'"
        << "SELECT Revenueid || '-' || Description AS \"Description\" FROM Radiology.tbradiologyrevenues WHERE active = '1'";
    QTest::newRow("+ between unknowns is decided at run time")
        << "SELECT a + b + c FROM t" << "SELECT tsql_add(tsql_add(a, b), c) FROM t";
    QTest::newRow("+ between numbers adds") << "SELECT 1 + 2 - 3" << "SELECT 1 + 2 - 3";
    QTest::newRow("* binds tighter than +")
        << "SELECT a + b * c, (a + b) * c FROM t"
        << "SELECT tsql_add(a, b * c), (tsql_add(a, b)) * c FROM t";
    QTest::newRow("|| keeps the operands of * together")
        << "SELECT 'x' + 2 * 3, a * b + 'y' FROM t"
        << "SELECT 'x' || (2 * 3), (a * b) || 'y' FROM t";
    QTest::newRow("text functions concatenate")
        << "SELECT RTRIM(LTRIM(a)) + char(13) + char(10) + CONVERT(varchar(10), d, 101) FROM t"
        << "SELECT rtrim(ltrim(a)) || char(13) || char(10) || tsql_convert('varchar', 10, d, 101) FROM t";
    QTest::newRow("unary minus and exponent are not binary")
        << "SELECT -1, a - -1, 1e+5 + 2, - -a, -(a + 1) FROM t"
        << "SELECT -1, a - -1, 1e+5 + 2, -(-a), -(tsql_add(a, 1)) FROM t";
    QTest::newRow("a comparison ends the operand")
        << "SELECT a FROM t WHERE a + 'x' = b + c AND NOT d + 1 > 2 OR e IS NOT NULL"
        << "SELECT a FROM t WHERE a || 'x' = tsql_add(b, c) AND NOT tsql_add(d, 1) > 2 OR e IS NOT NULL";
    QTest::newRow("predicates")
        << "SELECT a FROM t WHERE a NOT LIKE 'x%' AND b NOT IN ('1', 2) AND c NOT BETWEEN 1 AND 2 "
           "AND EXISTS (SELECT 1 FROM u)"
        << "SELECT a FROM t WHERE a NOT LIKE 'x%' AND b NOT IN ('1', 2) AND c NOT BETWEEN 1 AND 2 "
           "AND EXISTS (SELECT 1 FROM u)";
    QTest::newRow("CASE")
        << "SELECT CASE WHEN A.[Status] = 'X' THEN 'X' Else 'Y'END As [Status], CASE a WHEN 1 THEN 'one' END FROM t A"
        << "SELECT CASE WHEN A.\"Status\" = 'X' THEN 'X' ELSE 'Y' END AS \"Status\", CASE a WHEN 1 THEN 'one' END FROM t AS A";

    // Functions.
    QTest::newRow("ISNULL") << "SELECT ISNULL(ComputerName,'') FROM t WHERE isnull(a, 0) <> ''"
                            << "SELECT IFNULL(ComputerName, '') FROM t WHERE IFNULL(a, 0) <> ''";
    QTest::newRow("GETDATE") << "Select getdate() as ServerDateTime, GetDate() x"
                             << "SELECT tsql_getdate() AS ServerDateTime, tsql_getdate() AS x";
    QTest::newRow("DATEADD parts")
        << "SELECT dateadd(d,-1, getdate()), DATEADD(dd, 1, a), DATEADD(day, 1, a), DATEADD(mm, 1, a), "
           "DATEADD(m, 1, a), DATEADD(month, 1, a), DATEADD(yy, 1, a), DATEADD(yyyy, 1, a), DATEADD(year, 1, a), "
           "DATEADD(hh, 1, a), DATEADD(hour, 1, a), DATEADD(mi, 1, a), DATEADD(n, 1, a), DATEADD(minute, 1, a), "
           "DATEADD(ss, 1, a), DATEADD(s, 1, a), DATEADD(second, 1, a) FROM t"
        << "SELECT tsql_dateadd('day', -1, tsql_getdate()), tsql_dateadd('day', 1, a), tsql_dateadd('day', 1, a), "
           "tsql_dateadd('month', 1, a), tsql_dateadd('month', 1, a), tsql_dateadd('month', 1, a), "
           "tsql_dateadd('year', 1, a), tsql_dateadd('year', 1, a), tsql_dateadd('year', 1, a), "
           "tsql_dateadd('hour', 1, a), tsql_dateadd('hour', 1, a), tsql_dateadd('minute', 1, a), "
           "tsql_dateadd('minute', 1, a), tsql_dateadd('minute', 1, a), tsql_dateadd('second', 1, a), "
           "tsql_dateadd('second', 1, a), tsql_dateadd('second', 1, a) FROM t";
    QTest::newRow("CONVERT and CAST")
        << "SELECT CONVERT(VARCHAR(10),d,127), convert(varchar,d,100), CONVERT(int, a), CONVERT(datetime, a), "
           "cast(a as varchar(5000)), CAST(a AS nvarchar(max)), CAST(a AS char(3)), CAST(a AS date) FROM t"
        << "SELECT tsql_convert('varchar', 10, d, 127), tsql_convert('varchar', 30, d, 100), "
           "tsql_convert('int', NULL, a, NULL), tsql_convert('datetime', NULL, a, NULL), "
           "tsql_convert('varchar', 5000, a, NULL), tsql_convert('varchar', NULL, a, NULL), "
           "tsql_convert('char', 3, a, NULL), tsql_convert('date', NULL, a, NULL) FROM t";
    QTest::newRow("REPLACE, SUBSTRING")
        << "SELECT REPLACE (a,'-',''), SUBSTRING(a + ' ' + b, 1, 48) FROM t"
        << "SELECT tsql_replace(a, '-', ''), tsql_substring(a || ' ' || b, 1, 48) FROM t";

    // Select-list aliases.
    QTest::newRow("alias = expression, only in the select list")
        << "SELECT Age=Laboratory.dbo.fn_LabComputeAge(a, b), [Full Name] = a + ' ' + b, 'x y' = 1 FROM t WHERE a = b"
        << "SELECT fn_LabComputeAge(a, b) AS Age, a || ' ' || b AS \"Full Name\", 1 AS \"x y\" FROM t WHERE a = b";
    QTest::newRow("implicit and string aliases")
        << "SELECT '' [Address], a PatName, b AS 'O''Name', t.* FROM t"
        << "SELECT '' AS \"Address\", a AS PatName, b AS \"O'Name\", t.* FROM t";

    // Statements that change data.
    QTest::newRow("DELETE table WHERE")
        << "DELETE Build_File..tbVeVodZAZWorkstation WHERE ComputerName =  'PC1' and SocketNum = '5000'"
        << "DELETE FROM Build_File.tbVeVodZAZWorkstation WHERE ComputerName = 'PC1' AND SocketNum = '5000'";
    QTest::newRow("DELETE FROM") << "DELETE FROM Laboratory..tbLabInstrumentCode WHERE Code = 'C1'"
                                 << "DELETE FROM Laboratory.tbLabInstrumentCode WHERE Code = 'C1'";
    QTest::newRow("UPDATE, = stays in SET and WHERE")
        << "UPDATE Radiology..tbXRRequest \r\nSET RISExamDate = '01/05/2024 14:05:09', [By] = 'x' WHERE HospNum = 'H1'"
        << "UPDATE Radiology.tbXRRequest SET RISExamDate = '2024-01-05 14:05:09.000', \"By\" = 'x' WHERE HospNum = 'H1'";
    QTest::newRow("INSERT INTO")
        << "INSERT INTO Laboratory..tbLabInstrument (InstrumentName)         VALUES ('O''Neil')"
        << "INSERT INTO Laboratory.tbLabInstrument (InstrumentName) VALUES ('O''Neil')";
    QTest::newRow("INSERT without INTO, several rows")
        << "INSERT Laboratory..tbLabInstrumentCode (Code, InstrumentID) VALUES ('C1', 1), ('C2', -2)"
        << "INSERT INTO Laboratory.tbLabInstrumentCode (Code, InstrumentID) VALUES ('C1', 1), ('C2', -2)";

    // Month/day/year date literals.
    QTest::newRow("date literals")
        << "SELECT a FROM t WHERE d between '12/11/2026' AND '12/11/2026  23:59:59.99' OR d = '1/5/2026 10:05:00' "
           "OR d = '1/5/2026 4:05 PM' OR d = '01/05/2026 12:00AM' OR d = '1/5/2026 12:30 pm' OR d = N'1/5/2026 10:05'"
        << "SELECT a FROM t WHERE d BETWEEN '2026-12-11 00:00:00.000' AND '2026-12-11 23:59:59.990' "
           "OR d = '2026-01-05 10:05:00.000' OR d = '2026-01-05 16:05:00.000' OR d = '2026-01-05 00:00:00.000' "
           "OR d = '2026-01-05 12:30:00.000' OR d = '2026-01-05 10:05:00.000'";
    QTest::newRow("literals that are not dates")
        << "SELECT '13/11/2026', '2/30/2026', '12/11/26', 'on 12/11/2026', '2026-12-11', '1/5/2026 13:00 PM', "
           "'1/5/2026 10:05:00.1234'"
        << "SELECT '13/11/2026', '2/30/2026', '12/11/26', 'on 12/11/2026', '2026-12-11', '1/5/2026 13:00 PM', "
           "'1/5/2026 10:05:00.1234'";

    // Literals, names and comments.
    QTest::newRow("literals are never rewritten")
        << "SELECT 'O''Brien', 'Radiology..tbX WITH (NOLOCK)', 'a + b', '[x]', '-- no comment', "
           "'\\X0D\\\\X0A\\', N'Ñoño' FROM t"
        << "SELECT 'O''Brien', 'Radiology..tbX WITH (NOLOCK)', 'a + b', '[x]', '-- no comment', "
           "'\\X0D\\\\X0A\\', 'Ñoño' FROM t";
    QTest::newRow("bracketed and keyword names")
        << "SELECT [Patient Name], [a]]b], [By], \"q\", [Hosp #], Plan_, [order] FROM t"
        << "SELECT \"Patient Name\", \"a]b\", \"By\", \"q\", \"Hosp #\", Plan_, \"order\" FROM t";
    QTest::newRow("comments and a closing semicolon")
        << "SELECT a -- the first column\n, /* a /* nested */ comment */ b FROM t;"
        << "SELECT a, b FROM t";
}

void TstTranslator::translates()
{
    QFETCH(QString, tsql);
    QFETCH(QString, sqlite);
    try {
        const hospitaldb::TranslatedStatement t = translateTsql(tsql);
        QVERIFY(!t.isProcedureCall);
        QCOMPARE(t.sql, sqlite);
    } catch (const SqlError &e) {
        QFAIL(qPrintable(e.description()));
    }
}

// Constructs the translator does not know are refused with their name, never passed on.
void TstTranslator::rejects_data()
{
    QTest::addColumn<QString>("tsql");
    QTest::addColumn<QString>("named");

    QTest::newRow("unknown function") << "SELECT UPPER(a) FROM t" << "function UPPER";
    QTest::newRow("reserved-word function") << "SELECT LEFT(a, 2) FROM t" << "function LEFT";
    QTest::newRow("unknown database") << "SELECT a FROM Pharmacy..tbX" << "database Pharmacy";
    QTest::newRow("unknown schema") << "SELECT a FROM Radiology.sales.tbX" << "schema sales";
    QTest::newRow("other table hint") << "SELECT a FROM t WITH (ROWLOCK)" << "table hint 'ROWLOCK'";
    QTest::newRow("TOP PERCENT") << "SELECT TOP 10 PERCENT a FROM t" << "PERCENT";
    QTest::newRow("TOP variable") << "SELECT TOP (@n) a FROM t" << "TOP with '@n'";
    QTest::newRow("GROUP BY") << "SELECT a FROM t GROUP BY a" << "GROUP BY";
    QTest::newRow("several statements") << "SELECT 1; SELECT 2" << "several statements";
    QTest::newRow("other statement") << "BEGIN TRAN" << "statement BEGIN";
    QTest::newRow("CTE") << "WITH x AS (SELECT 1) SELECT * FROM x" << "statement WITH";
    QTest::newRow("variable") << "SELECT @@IDENTITY" << "variable @@IDENTITY";
    QTest::newRow("DATEADD week") << "SELECT DATEADD(wk, 1, a) FROM t" << "DATEADD part 'wk'";
    QTest::newRow("CONVERT style") << "SELECT CONVERT(varchar, a, 103) FROM t" << "CONVERT style 103";
    QTest::newRow("CONVERT type") << "SELECT CONVERT(money, a) FROM t" << "data type money";
    QTest::newRow("date arithmetic") << "SELECT getdate() + 1" << "date arithmetic with '+'";
    QTest::newRow("RIGHT JOIN") << "SELECT a FROM t RIGHT JOIN u ON t.a = u.a" << "RIGHT join";
    QTest::newRow("UPDATE FROM") << "UPDATE t SET a = 1 FROM u" << "UPDATE ... FROM";
    QTest::newRow("temporary table") << "SELECT a FROM #tmp" << "'#'";
    QTest::newRow("unterminated literal") << "SELECT 'abc" << "unterminated string literal";
    QTest::newRow("procedure argument that is not a literal")
        << "Laboratory..Lab_Barcode_SaveExam a, 'b'" << "procedure argument 'a'";
}

void TstTranslator::rejects()
{
    QFETCH(QString, tsql);
    QFETCH(QString, named);
    try {
        const hospitaldb::TranslatedStatement t = translateTsql(tsql);
        QFAIL(qPrintable(QStringLiteral("translated as: ") + t.sql));
    } catch (const SqlError &e) {
        QVERIFY2(e.description().contains(named), qPrintable(e.description()));
    }
}

void TstTranslator::procedureCalls_data()
{
    QTest::addColumn<QString>("tsql");
    QTest::addColumn<QString>("database");
    QTest::addColumn<QString>("procedure");
    QTest::addColumn<QVariantList>("arguments");

    QTest::newRow("db..name with texts")
        << "RADIOLOGY..spRadioHL7Format '3','R123','CT'" << "Radiology" << "spRadioHL7Format"
        << QVariantList{QStringLiteral("3"), QStringLiteral("R123"), QStringLiteral("CT")};
    QTest::newRow("bracketed name, doubled apostrophe, dates untouched")
        << "RADIOLOGY..[spRadio_SaveHL7Result] 'XR','O''Brien','12/11/2026 10:05:00'"
        << "Radiology" << "spRadio_SaveHL7Result"
        << QVariantList{QStringLiteral("XR"), QStringLiteral("O'Brien"),
                        QStringLiteral("12/11/2026 10:05:00")};
    QTest::newRow("integers and empty text")
        << "Laboratory..Lab_Barcode_GetRefenceGender 0,'','M'" << "Laboratory"
        << "Lab_Barcode_GetRefenceGender"
        << QVariantList{qint64(0), QString(""), QStringLiteral("M")};
    QTest::newRow("no arguments") << "Laboratory..Lab_Barcode_GetAllReferenceRange" << "Laboratory"
                                  << "Lab_Barcode_GetAllReferenceRange" << QVariantList{};
    QTest::newRow("EXEC, named, negative, decimal, NULL, N''")
        << "EXEC Laboratory.dbo.Lab_X @a = -5, @b = N'x', NULL, 1.5, -2.5e+1;" << "Laboratory"
        << "Lab_X" << QVariantList{qint64(-5), QStringLiteral("x"), QVariant(), 1.5, -25.0};
    QTest::newRow("EXECUTE one-part name") << "execute spWho 'a'" << ""
                                           << "spWho" << QVariantList{QStringLiteral("a")};
}

void TstTranslator::procedureCalls()
{
    QFETCH(QString, tsql);
    QFETCH(QString, database);
    QFETCH(QString, procedure);
    QFETCH(QVariantList, arguments);
    try {
        const hospitaldb::TranslatedStatement t = translateTsql(tsql);
        QVERIFY(t.isProcedureCall);
        QCOMPARE(t.procedureDatabase, database);
        QCOMPARE(t.procedure, procedure);
        QCOMPARE(t.arguments.size(), arguments.size());
        for (int i = 0; i < arguments.size(); ++i) {
            QCOMPARE(t.arguments[i].isNull(), arguments[i].isNull());
            QCOMPARE(t.arguments[i].typeId(), arguments[i].typeId());
            QCOMPARE(t.arguments[i], arguments[i]);
        }
    } catch (const SqlError &e) {
        QFAIL(qPrintable(e.description()));
    }
}

// ---------------------------------------------------------------------------------------------
// T-SQL in, rows out, on a fixture: two attached databases under hospital names

void TstTranslator::init()
{
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("translator"));
    m_db.setDatabaseName(QStringLiteral(":memory:"));
    QVERIFY(m_db.open());
    const QVariant h = m_db.driver()->handle();
    QVERIFY(h.isValid() && qstrcmp(h.typeName(), "sqlite3*") == 0);
    hospitaldb::registerTsqlFunctions(*static_cast<sqlite3 *const *>(h.data()));

    const char *setup[] = {
        "ATTACH DATABASE ':memory:' AS Radiology",
        "ATTACH DATABASE ':memory:' AS Laboratory",
        "CREATE TABLE Radiology.tbXRRequest (RequestNum TEXT COLLATE NOCASE, HospNum TEXT COLLATE NOCASE, "
        "LastName TEXT COLLATE NOCASE, TransDate TEXT, StatusHl7 TEXT COLLATE NOCASE)",
        "CREATE TABLE Radiology.tbCTRequest (RequestNum TEXT COLLATE NOCASE, TransDate TEXT)",
        "CREATE TABLE Laboratory.tbLabInstrument (InstrumentID INTEGER, InstrumentName TEXT COLLATE NOCASE)",
        "INSERT INTO Radiology.tbXRRequest VALUES ('X1', 'H1', 'O''Brien', '2026-12-10 23:59:59.997', 'X')",
        "INSERT INTO Radiology.tbXRRequest VALUES ('X2', 'H2', 'Dela Cruz', '2026-12-11 00:00:00.000', '')",
        "INSERT INTO Radiology.tbXRRequest VALUES ('X3', 'H3', NULL, '2026-12-11 16:05:09.000', NULL)",
        "INSERT INTO Radiology.tbXRRequest VALUES ('X4', 'H4', 'Peña', '2026-12-11 23:59:59.990', '')",
        "INSERT INTO Radiology.tbXRRequest VALUES ('X5', 'H5', 'Smith', '2026-12-12 00:00:00.000', '')",
        "INSERT INTO Radiology.tbCTRequest VALUES ('C1', '2026-12-09 08:00:00.000')",
        "INSERT INTO Radiology.tbCTRequest VALUES ('C2', '2026-12-13 08:00:00.000')",
        "INSERT INTO Laboratory.tbLabInstrument VALUES (7, 'Analyzer')",
    };
    QSqlQuery q(m_db);
    for (const char *s : setup)
        QVERIFY2(q.exec(QString::fromUtf8(s)), qPrintable(q.lastError().text()));
}

void TstTranslator::cleanup()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("translator"));
}

QStringList TstTranslator::run(const QString &tsql, QString *error)
{
    QSqlQuery q(m_db);
    const QString sql = translateTsql(tsql).sql;
    if (!q.exec(sql)) {
        if (error)
            *error = q.lastError().databaseText();
        return {};
    }
    QStringList rows;
    while (q.next()) {
        QStringList cols;
        for (int i = 0; i < q.record().count(); ++i)
            cols << (q.value(i).isNull() ? QStringLiteral("NULL") : q.value(i).toString());
        rows << cols.join(u'|');
    }
    if (error)
        *error = q.lastError().isValid() ? q.lastError().databaseText() : QString();
    return rows;
}

void TstTranslator::rows_data()
{
    QTest::addColumn<QString>("tsql");
    QTest::addColumn<QStringList>("expected"); // or one entry "error: <text in the message>"

    // '+' on values of each kind.
    QTest::newRow("+ text columns concatenate")
        << "SELECT RequestNum + HospNum FROM Radiology..tbXRRequest WHERE RequestNum = 'X1'"
        << QStringList{"X1H1"};
    QTest::newRow("+ numbers add, text and number concatenate")
        << "SELECT InstrumentID + InstrumentID, InstrumentID + 1.5, InstrumentName + InstrumentID "
           "FROM Laboratory..tbLabInstrument"
        << QStringList{"14|8.5|Analyzer7"};
    QTest::newRow("+ with NULL gives NULL")
        << "SELECT LastName + ', x', RequestNum + LastName, ISNULL(LastName, '?') + '!' "
           "FROM Radiology..tbXRRequest WHERE RequestNum = 'X3'"
        << QStringList{"NULL|NULL|?!"};

    // Month/day/year literals compare as dates with the stored ISO text.
    QTest::newRow("a whole day with BETWEEN")
        << "SELECT RequestNum FROM Radiology..tbXRRequest WITH (NOLOCK) WHERE TransDate between "
           "'12/11/2026' AND '12/11/2026  23:59:59.99' ORDER BY RequestNum"
        << QStringList{"X2", "X3", "X4"};
    QTest::newRow("from a time on, before the next day")
        << "SELECT RequestNum FROM Radiology..tbXRRequest WHERE TransDate >= '12/11/2026 4:05 PM' "
           "AND TransDate < '12/12/2026' ORDER BY RequestNum"
        << QStringList{"X3", "X4"};
    QTest::newRow("literal with apostrophe untouched")
        << "SELECT HospNum FROM Radiology..tbXRRequest WHERE LastName = 'O''Brien' OR LastName LIKE 'peñ%'"
        << QStringList{"H1", "H4"};

    // TOP: per compound part, or after the ORDER BY of a single select.
    QTest::newRow("TOP after ORDER BY")
        << "SELECT TOP 2 RequestNum FROM Radiology..tbXRRequest ORDER BY TransDate DESC"
        << QStringList{"X5", "X4"};
    QTest::newRow("TOP in each compound part, ORDER BY over all")
        << "SELECT TOP 1 RequestNum, TransDate FROM Radiology..tbXRRequest WHERE RequestNum > 'X3' "
           "UNION ALL SELECT TOP 1 RequestNum, TransDate FROM Radiology..tbCTRequest WHERE RequestNum = 'C1' "
           "ORDER BY TransDate DESC"
        << QStringList{"X4|2026-12-11 23:59:59.990", "C1|2026-12-09 08:00:00.000"};
    QTest::newRow("parenthesized parts in a derived table")
        << "SELECT * FROM (( SELECT TOP 2 RequestNum FROM Radiology..tbXRRequest WITH (NOLOCK) WHERE 1=1 ) "
           "UNION ALL ( SELECT RequestNum FROM Radiology..tbCTRequest WITH (NOLOCK) WHERE 1=1 )) AS Results "
           "ORDER BY RequestNum ASC"
        << QStringList{"C1", "C2", "X1", "X2"};
    QTest::newRow("TOP of a derived table before the outer filter")
        << "Select * from (select top 3 RequestNum, CASE WHEN StatusHl7 = 'X' THEN 'X' ELSE 'P' END As [Status] "
           "from RADIOLOGY..tbXRRequest A where 1=1 )x WHERE [Status] in( 'P','')"
        << QStringList{"X2|P", "X3|P"};

    // CONVERT styles on stored dates.
    QTest::newRow("style 100, one-digit day and hour")
        << "SELECT CONVERT(varchar, CONVERT(datetime, '1/5/2024 2:05 PM'), 100), "
           "convert(varchar, CONVERT(datetime, '12/11/2026 10:30'), 100)"
        << QStringList{"Jan  5 2024  2:05PM|Dec 11 2026 10:30AM"};
    QTest::newRow("style 100 at midnight and noon")
        << "SELECT CONVERT(varchar, CONVERT(datetime, '3/15/1980'), 100), "
           "CONVERT(varchar, CONVERT(datetime, '3/15/1980 12:00'), 100)"
        << QStringList{"Mar 15 1980 12:00AM|Mar 15 1980 12:00PM"};
    QTest::newRow("styles 8, 12, 101, 104, 108")
        << "SELECT convert(varchar,TransDate,8), convert(varchar,TransDate,12), convert(varchar,TransDate,101), "
           "convert(varchar(10),TransDate,104), CONVERT(VARCHAR(10),TransDate,108) "
           "FROM Radiology..tbXRRequest WHERE RequestNum = 'X3'"
        << QStringList{"16:05:09|261211|12/11/2026|11.12.2026|16:05:09"};
    QTest::newRow("style 127 drops zero milliseconds")
        << "SELECT CONVERT(varchar(30), TransDate, 127) FROM Radiology..tbXRRequest "
           "WHERE RequestNum IN ('X3', 'X4') ORDER BY RequestNum"
        << QStringList{"2026-12-11T16:05:09", "2026-12-11T23:59:59.990"};
    QTest::newRow("the program's date stamp pieces")
        << "SELECT REPLACE(CONVERT(VARCHAR(10),TransDate,127),'-','') + "
           "REPLACE(CONVERT(VARCHAR(10),TransDate,108),':','') + RequestNum "
           "FROM Radiology..tbXRRequest WHERE RequestNum = 'X3'"
        << QStringList{"20261211160509X3"};
    QTest::newRow("no style on a date is style 0; NULL stays NULL")
        << "SELECT CAST(TransDate AS varchar(11)), CONVERT(varchar, LastName, 101) "
           "FROM Radiology..tbXRRequest WHERE RequestNum = 'X3'"
        << QStringList{"Dec 11 2026|NULL"};
    QTest::newRow("texts: style ignored, length cut, char padded")
        << "SELECT CONVERT(varchar, LastName, 101), CONVERT(varchar(3), LastName), "
           "CAST(HospNum AS char(4)) + '|' FROM Radiology..tbXRRequest WHERE RequestNum = 'X2'"
        << QStringList{"Dela Cruz|Del|H2  |"};
    QTest::newRow("to int")
        << "SELECT CONVERT(int, ' 42 '), CONVERT(int, ''), CAST(-2.9 AS int), CONVERT(int, 7)"
        << QStringList{"42|0|-2|7"};
    QTest::newRow("to int of a text that is no number")
        << "SELECT CONVERT(int, 'x1')" << QStringList{"error: converting the varchar value 'x1' to data type int"};
    QTest::newRow("to datetime and date")
        << "SELECT CONVERT(datetime, '2024-01-05 14:05'), CAST('1/5/2024 14:05:09.5' AS date)"
        << QStringList{"2024-01-05 14:05:00.000|2024-01-05"};
    QTest::newRow("to datetime of a text that is no date")
        << "SELECT CONVERT(datetime, 'soon')" << QStringList{"error: Conversion failed when converting date"};

    // DATEADD.
    QTest::newRow("DATEADD day, hour, minute, second")
        << "SELECT DATEADD(d, -1, TransDate), DATEADD(hh, 8, TransDate), DATEADD(mi, -1, TransDate), "
           "DATEADD(ss, 1, TransDate) FROM Radiology..tbXRRequest WHERE RequestNum = 'X4'"
        << QStringList{"2026-12-10 23:59:59.990|2026-12-12 07:59:59.990|2026-12-11 23:58:59.990|"
                       "2026-12-12 00:00:00.990"};
    QTest::newRow("DATEADD month and year stay in the month")
        << "SELECT DATEADD(month, 1, '1/31/2024'), DATEADD(mm, -1, '3/31/2023'), DATEADD(yyyy, 1, '2/29/2024'), "
           "DATEADD(year, -1, '12/11/2026 10:05')"
        << QStringList{"2024-02-29 00:00:00.000|2023-02-28 00:00:00.000|2025-02-28 00:00:00.000|"
                       "2025-12-11 10:05:00.000"};
    QTest::newRow("DATEADD with NULL") << "SELECT DATEADD(dd, 1, LastName) FROM Radiology..tbXRRequest WHERE RequestNum = 'X3'"
                                       << QStringList{"NULL"};

    // Text functions.
    QTest::newRow("REPLACE ignores case, CR LF escape")
        << "SELECT REPLACE('AbcABC', 'b', 'x'), replace('a' + char(13) + char(10) + 'b', char(13) + char(10), '\\X0D\\\\X0A\\')"
        << QStringList{"AxcAxC|a\\X0D\\\\X0A\\b"};
    QTest::newRow("SUBSTRING positions before the first character")
        << "SELECT SUBSTRING('abcdef', 0, 3), SUBSTRING('abc', -1, 3), SUBSTRING('abc', 2, 10), "
           "'[' + SUBSTRING('abc', 5, 1) + ']', SUBSTRING(LastName + '^x', 1, 4) "
           "FROM Radiology..tbXRRequest WHERE RequestNum = 'X4'"
        << QStringList{"ab|a|bc|[]|Peña"};
    QTest::newRow("LTRIM, RTRIM, ISNULL")
        << "SELECT '[' + RTRIM(LTRIM('  a b  ')) + ']', ISNULL(NULL, 'x'), ISNULL(LastName, '') + '.' "
           "FROM Radiology..tbXRRequest WHERE RequestNum = 'X3'"
        << QStringList{"[a b]|x|."};
}

void TstTranslator::rows()
{
    QFETCH(QString, tsql);
    QFETCH(QStringList, expected);
    QString error;
    QStringList got;
    try {
        got = run(tsql, &error);
    } catch (const SqlError &e) {
        QFAIL(qPrintable(e.description()));
    }
    if (expected.size() == 1 && expected[0].startsWith(QLatin1String("error: "))) {
        QVERIFY2(error.contains(expected[0].mid(7)), qPrintable(QStringLiteral("error: ") + error));
        return;
    }
    QVERIFY2(error.isEmpty(), qPrintable(error + QStringLiteral(" in: ") + translateTsql(tsql).sql));
    QCOMPARE(got, expected);
}

// The program reads columns by the names the statements give them.
void TstTranslator::columnNames()
{
    QSqlQuery q(m_db);
    QVERIFY(q.exec(translateTsql(
        "SELECT Total = 1 + 2, 'x' [Patient Name], RequestNum AS 'Req', LastName FROM "
        "Radiology..tbXRRequest WHERE RequestNum = 'X1'").sql));
    QVERIFY(q.next());
    const QSqlRecord r = q.record();
    QCOMPARE(r.count(), 4);
    QCOMPARE(r.fieldName(0), QStringLiteral("Total"));
    QCOMPARE(r.fieldName(1), QStringLiteral("Patient Name"));
    QCOMPARE(r.fieldName(2), QStringLiteral("Req"));
    QCOMPARE(r.fieldName(3), QStringLiteral("LastName"));
    QCOMPARE(q.value(0).toInt(), 3);
}

void TstTranslator::getdateIsLocalTimeInStoredForm()
{
    const QDateTime before = QDateTime::currentDateTime().addMSecs(-1);
    const QStringList got = run(QStringLiteral("Select getdate() as ServerDateTime"));
    const QDateTime after = QDateTime::currentDateTime().addMSecs(1);
    QCOMPARE(got.size(), 1);
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3}$"))
                 .match(got[0])
                 .hasMatch(),
             qPrintable(got[0]));
    const QDateTime now = QDateTime::fromString(got[0], QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    QVERIFY(now >= before && now <= after);
}

// A bracketed name becomes a double-quoted one; one that names no column must fail rather than
// read as a text.
void TstTranslator::quotedNameOfNoColumnIsAnError()
{
    QString error;
    const QStringList got = run(QStringLiteral("SELECT [RequestNumber] FROM Radiology..tbXRRequest"), &error);
    QVERIFY(got.isEmpty());
    QVERIFY2(error.contains(QLatin1String("no such column")), qPrintable(error));
}

void TstTranslator::updateStoresMonthDayYearAsIso()
{
    QString error;
    run(QStringLiteral("UPDATE Radiology..tbXRRequest \r\nSET TransDate = '01/05/2024 14:05:09' "
                       "WHERE HospNum = 'H1' and LastName = 'O''Brien'"),
        &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(run(QStringLiteral("SELECT TransDate FROM Radiology..tbXRRequest WHERE RequestNum = 'X1'")),
             QStringList{"2024-01-05 14:05:09.000"});
    run(QStringLiteral("DELETE Radiology..tbXRRequest WHERE TransDate < '1/6/2024'"), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(run(QStringLiteral("SELECT RequestNum FROM Radiology..tbXRRequest WHERE RequestNum = 'X1'")),
             QStringList{});
}

RELAYON_CORE_TEST_MAIN(TstTranslator)
#include "tst_translator.moc"
