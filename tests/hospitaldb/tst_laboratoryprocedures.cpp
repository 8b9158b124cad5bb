// The laboratory database's procedures and functions, driven with the T-SQL the program sends,
// on a fresh demo hospital.

#include "Hospital.h"
#include "TestSupport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using hospitaldb::Hospital;
using hospitaldb::ResultSet;

namespace {

QVariant valueOf(const ResultSet &rs, int row, const QString &column)
{
    for (int i = 0; i < rs.columns.size(); ++i) {
        if (rs.columns[i].compare(column, Qt::CaseInsensitive) == 0)
            return rs.rows.value(row).value(i);
    }
    qWarning() << "no column" << column << "in" << rs.columns;
    return QVariant();
}

QStringList column(const ResultSet &rs, const QString &name)
{
    QStringList out;
    for (int r = 0; r < rs.rows.size(); ++r)
        out << valueOf(rs, r, name).toString();
    return out;
}

} // namespace

class TestLaboratoryProcedures : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_template; // the demo hospital as created, copied afresh for every test
    QDateTime m_createdAt;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Hospital> m_h;

    // The hospital, with failures of the statements reported as test failures that name them.
    class Runner {
    public:
        explicit Runner(Hospital &h) : m_h(h) {}
        ResultSet run(const QString &tsql)
        {
            try {
                return m_h.run(tsql);
            } catch (const hospitaldb::SqlError &e) {
                QTest::qFail(qPrintable(e.description() + QStringLiteral(" in: ") + tsql), __FILE__, __LINE__);
                return {};
            }
        }
        ResultSet query(const QString &sql, const QVariantList &binds = {}) { return m_h.query(sql, binds); }
        void exec(const QString &sql, const QVariantList &binds = {}) { m_h.exec(sql, binds); }
        Hospital &hospital() { return m_h; }

    private:
        Hospital &m_h;
    };
    std::unique_ptr<Runner> m_runner;
    Runner &h() { return *m_runner; }
    QString scalar(const QString &sql, const QVariantList &binds = {})
    {
        const ResultSet rs = h().query(sql, binds);
        return rs.rows.isEmpty() ? QString() : rs.rows[0].value(0).toString();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_template.isValid());
        m_createdAt = QDateTime::currentDateTime();
        Hospital::create(m_template.path(), true);
    }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        const QDir from(m_template.path());
        for (const QString &file : from.entryList(QDir::Files))
            QVERIFY(QFile::copy(from.filePath(file), QDir(m_dir->path()).filePath(file)));
        m_h = std::make_unique<Hospital>(m_dir->path());
        m_runner = std::make_unique<Runner>(*m_h);
    }

    void cleanup()
    {
        m_runner.reset();
        m_h.reset();
        m_dir.reset();
    }

    void activeWorkstations()
    {
        const ResultSet rs = h().run(QStringLiteral(
            "SELECT * FROM Build_File..tbVeVodZAZWorkstation WITH (NOLOCK) WHERE Active = 1 and "
            "ISNULL(ComputerName,'') <> '' and ISNULL(SocketNum,'') <> '' ORDER BY ComputerName "));
        QCOMPARE(column(rs, "ComputerName"), QStringList({"LABWS-CHEM", "LABWS-HEMA"}));
        QCOMPARE(column(rs, "SocketNum"), QStringList({"5002", "5001"}));
        QCOMPARE(column(rs, "SectionID"), QStringList({"2", "1"}));
    }

    void controlCounter()
    {
        ResultSet rs = h().run(QStringLiteral("Laboratory..Lab_Barcode_GetControlID"));
        QCOMPARE(rs.rows.size(), 1);
        QCOMPARE(valueOf(rs, 0, "MsgCtrlID").toLongLong(), 12345);
        h().run(QStringLiteral("Laboratory..Lab_Barcode_IncrementControlID"));
        h().run(QStringLiteral("Laboratory..Lab_Barcode_IncrementControlID"));
        rs = h().run(QStringLiteral("Laboratory..Lab_Barcode_GetControlID"));
        QCOMPARE(valueOf(rs, 0, "MsgCtrlID").toLongLong(), 12347);

        // A hospital without the counter row answers with no row, and incrementing is harmless.
        QTemporaryDir emptyDir;
        Hospital::create(emptyDir.path(), false);
        Hospital emptyHospital(emptyDir.path());
        Runner empty(emptyHospital);
        empty.run(QStringLiteral("Laboratory..Lab_Barcode_IncrementControlID"));
        QCOMPARE(empty.run(QStringLiteral("Laboratory..Lab_Barcode_GetControlID")).rows.size(), 0);
    }

    void checkSero_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("serology");
        QTest::newRow("serology test") << "HBSAG" << true;
        QTest::newRow("any case") << "ns1" << true;
        QTest::newRow("blanks around") << " WIDAL " << true;
        QTest::newRow("retired test") << "VDRL" << false;
        QTest::newRow("chemistry test") << "GLU" << false;
        QTest::newRow("empty") << "" << false;
    }

    void checkSero()
    {
        QFETCH(QString, code);
        QFETCH(bool, serology);
        const ResultSet rs = h().run(QStringLiteral("Laboratory..Lab_Relayon_CheckSero '") + code + u'\'');
        QCOMPARE(!rs.rows.isEmpty(), serology);
    }

    void saveInsFlag()
    {
        h().run(QStringLiteral("Laboratory..Lab_Barcode_SaveInsFlag 'ZAZ_LAB','00004711','','Sample hemolysed, O''Neil to recollect'"));
        h().run(QStringLiteral("Laboratory..Lab_Barcode_SaveInsFlag 'ZAZ_LAB','00004712','',''"));
        const ResultSet rs = h().query(QStringLiteral(
            "SELECT LISId, SampleNo, TestCode, Flag, DateReceived FROM Laboratory.tbLabInstrumentFlag"));
        QCOMPARE(rs.rows.size(), 1);
        QCOMPARE(rs.rows[0].value(0).toString(), QStringLiteral("ZAZ_LAB"));
        QCOMPARE(rs.rows[0].value(1).toString(), QStringLiteral("00004711"));
        QCOMPARE(rs.rows[0].value(2).toString(), QString());
        QCOMPARE(rs.rows[0].value(3).toString(), QStringLiteral("Sample hemolysed, O'Neil to recollect"));
        QVERIFY(QDateTime::fromString(rs.rows[0].value(4).toString(), QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).isValid());
    }

    void commMessages()
    {
        // The log viewer asks for one hour of one day, written M/D/YYYY with a 0..23 hour.
        h().exec(QStringLiteral("DELETE FROM Laboratory.tbLabCommMessages"));
        const QStringList at{"2026-03-07 03:59:59.500", "2026-03-07 04:00:00.000", "2026-03-07 04:30:00.000",
                             "2026-03-07 04:59:59.990", "2026-03-07 05:00:00.000"};
        for (int i = 0; i < at.size(); ++i)
            h().exec(QStringLiteral("INSERT INTO Laboratory.tbLabCommMessages (Sender, Message, DateReceived) VALUES (?, ?, ?)"),
                     {QStringLiteral("S%1").arg(i), QStringLiteral("M%1").arg(i), at[i]});
        ResultSet rs = h().run(QStringLiteral("Laboratory..Lab_Barcode_GetCommMessages '03/07/2026 4:00:00','03/07/2026 4:59:59'"));
        QCOMPARE(column(rs, "Sender"), QStringList({"S1", "S2", "S3"}));
        QCOMPARE(column(rs, "Message"), QStringList({"M1", "M2", "M3"}));
        rs = h().run(QStringLiteral("Laboratory..Lab_Barcode_GetCommMessages '03/08/2026 4:00:00','03/08/2026 4:59:59'"));
        QCOMPARE(rs.rows.size(), 0);
        QVERIFY_THROWS_EXCEPTION(hospitaldb::SqlError,
                                 h().hospital().run(QStringLiteral("Laboratory..Lab_Barcode_GetCommMessages 'yesterday','today'")));
    }

    void demoMessagesOfCurrentHour()
    {
        // The log viewer opens on the current hour: the demo hospital has messages there.
        const QString day = m_createdAt.toString(QStringLiteral("MM/dd/yyyy"));
        const QString hour = QString::number(m_createdAt.time().hour());
        const ResultSet rs = h().run(QStringLiteral("Laboratory..Lab_Barcode_GetCommMessages '") + day + u' ' + hour
                                     + QStringLiteral(":00:00','") + day + u' ' + hour + QStringLiteral(":59:59'"));
        if (QDateTime::currentDateTime().time().hour() != m_createdAt.time().hour())
            QSKIP("the hour turned while the demo hospital was made");
        QCOMPARE(rs.rows.size(), 2);
        QVERIFY(valueOf(rs, 0, "Message").toString().startsWith(QChar(0x0b)));
        QCOMPARE(valueOf(rs, 1, "Sender").toString(), QStringLiteral("RELAYON"));
    }

    void labSplit_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("code");
        QTest::addColumn<QVariant>("piece");
        QTest::newRow("last name") << "DELA CRUZ, JUAN" << 1 << QVariant("DELA CRUZ");
        QTest::newRow("first name") << "DELA CRUZ, JUAN" << 2 << QVariant("JUAN");
        QTest::newRow("no comma, last name") << "SANTOS" << 1 << QVariant("SANTOS");
        QTest::newRow("no comma, no first name") << "SANTOS" << 2 << QVariant();
        QTest::newRow("apostrophe") << "O''BRIEN, MARY ANNE" << 1 << QVariant("O'BRIEN");
        QTest::newRow("empty piece kept") << "A,,C" << 3 << QVariant("C");
        QTest::newRow("trailing comma") << "REYES," << 2 << QVariant("");
    }

    void labSplit()
    {
        QFETCH(QString, text);
        QFETCH(int, code);
        QFETCH(QVariant, piece);
        const ResultSet rs = h().run(QStringLiteral("select ltrim(rtrim(strName)) LastName from laboratory.dbo.fn_LabSplit('")
                                     + text + QStringLiteral("',',') where code = ") + QString::number(code));
        if (piece.isNull()) {
            QCOMPARE(rs.rows.size(), 0);
        } else {
            QCOMPARE(rs.rows.size(), 1);
            QCOMPARE(valueOf(rs, 0, "LastName").toString(), piece.toString());
        }
    }

    void labSplitOddArguments()
    {
        QCOMPARE(h().query(QStringLiteral("SELECT count(*) FROM fn_LabSplit(NULL, ',')")).rows[0][0].toInt(), 0);
        QCOMPARE(scalar(QStringLiteral("SELECT group_concat(strName, '|') FROM fn_LabSplit('a, b', '')")),
                 QStringLiteral("a, b"));
        QCOMPARE(scalar(QStringLiteral("SELECT group_concat(code || '=' || strName, '|') FROM fn_LabSplit('x::y::', '::')")),
                 QStringLiteral("1=x|2=y|3="));
    }

    void computeAge_data()
    {
        QTest::addColumn<QString>("birth");
        QTest::addColumn<QString>("asOf");
        QTest::addColumn<QVariant>("age");
        QTest::newRow("years") << "03/15/1980" << "Dec 11 2026  4:05PM" << QVariant("46Y");
        QTest::newRow("day before birthday") << "12/12/1980" << "Dec 11 2026  4:05PM" << QVariant("45Y");
        QTest::newRow("on birthday") << "12/11/1980" << "Dec 11 2026 12:00AM" << QVariant("46Y");
        QTest::newRow("months") << "06/20/2026" << "Dec 11 2026  4:05PM" << QVariant("5M");
        QTest::newRow("leap day, not yet one") << "02/29/2000" << "Feb 28 2001  9:00AM" << QVariant("11M");
        QTest::newRow("days") << "12/01/2026" << "Dec 11 2026  4:05PM" << QVariant("10D");
        QTest::newRow("born today") << "12/11/2026" << "Dec 11 2026 11:59PM" << QVariant("0D");
        QTest::newRow("born later") << "12/12/2026" << "Dec 11 2026  4:05PM" << QVariant();
        QTest::newRow("not a date") << "13/45/2026" << "Dec 11 2026  4:05PM" << QVariant();
    }

    void computeAge()
    {
        QFETCH(QString, birth);
        QFETCH(QString, asOf);
        QFETCH(QVariant, age);
        // Bound, as the values arrive from CONVERT at run time.
        const ResultSet rs = h().query(QStringLiteral("SELECT fn_LabComputeAge(?, ?)"), {birth, asOf});
        QCOMPARE(rs.rows[0][0].isNull(), age.isNull());
        if (!age.isNull())
            QCOMPARE(rs.rows[0][0].toString(), age.toString());
    }

    void computeAgeInRequestSearch()
    {
        const ResultSet rs = h().run(QStringLiteral(
            "select Age=Laboratory.dbo.fn_LabComputeAge(convert(varchar,Birthdate,101), convert(varchar,TransDate,100)) "
            "from (select '1980-03-15 00:00:00.000' as Birthdate, '2026-12-11 16:05:00.000' as TransDate "
            "union all select NULL, '2026-12-11 16:05:00.000') A"));
        QCOMPARE(rs.rows.size(), 2);
        QCOMPARE(valueOf(rs, 0, "Age").toString(), QStringLiteral("46Y"));
        QVERIFY(valueOf(rs, 1, "Age").isNull());
    }

    void instrumentCodesFollowInstruments()
    {
        h().run(QStringLiteral("INSERT INTO Laboratory..tbLabInstrumentCode (Code, InstrumentID) VALUES ('CX220','2')"));
        h().run(QStringLiteral("UPDATE Laboratory..tbLabInstrument         SET InstrumentName =  'CHEMISTRY ANALYZER CX-230'         WHERE InstrumentID = '2' "));
        const ResultSet rs = h().run(QStringLiteral("select * from Laboratory..tbLabInstrumentCode   "));
        QStringList names;
        for (int r = 0; r < rs.rows.size(); ++r) {
            if (valueOf(rs, r, "InstrumentID").toInt() == 2)
                names << valueOf(rs, r, "Code").toString() + u'=' + valueOf(rs, r, "InstrumentName").toString();
        }
        names.sort();
        QCOMPARE(names, QStringList({"CX220=CHEMISTRY ANALYZER CX-230", "CX2=CHEMISTRY ANALYZER CX-230"}));
    }

    void deleteInstrument()
    {
        h().run(QStringLiteral("Laboratory..Lab_Barcode_BuildInstrument 2,'1','HEMATOLOGY ANALYZER HX-500'"));
        QCOMPARE(scalar(QStringLiteral("SELECT group_concat(InstrumentId) FROM (SELECT InstrumentId FROM Laboratory.tbLabInstrument ORDER BY 1)")),
                 QStringLiteral("2,3,4"));
        QCOMPARE(scalar(QStringLiteral("SELECT count(*) FROM Laboratory.tbLabInstrumentCode WHERE InstrumentID = 1")), QStringLiteral("0"));
        QCOMPARE(scalar(QStringLiteral("SELECT count(*) FROM Laboratory.tbLabInstrumentCode")), QStringLiteral("3"));
        QCOMPARE(scalar(QStringLiteral("SELECT count(*) FROM Laboratory.tbLabReferenceRange WHERE InstrumentId = 1")), QStringLiteral("0"));
        QCOMPARE(scalar(QStringLiteral("SELECT count(*) FROM Laboratory.tbLabReferenceRange")), QStringLiteral("6"));
        // The examination mappings of LIS id '1' stay.
        QCOMPARE(scalar(QStringLiteral("SELECT count(*) FROM Laboratory.tbLabInstrumentExams WHERE InstrumentID = '1'")), QStringLiteral("5"));
        // Adding and renaming through the same procedure.
        const ResultSet added = h().run(QStringLiteral("Laboratory..Lab_Barcode_BuildInstrument 0,'','BLOOD GAS ANALYZER'"));
        const QString id = valueOf(added, 0, "InstrumentId").toString();
        h().run(QStringLiteral("Laboratory..Lab_Barcode_BuildInstrument 1,'") + id + QStringLiteral("','BLOOD GAS ANALYZER BG-3'"));
        QCOMPARE(scalar(QStringLiteral("SELECT InstrumentName FROM Laboratory.tbLabInstrument WHERE InstrumentId = ?"), {id}),
                 QStringLiteral("BLOOD GAS ANALYZER BG-3"));
    }

    void saveExamAddsThenUpdates()
    {
        const QString mappings = QStringLiteral(
            "select  isnull(LE.LabSectionID,'')  as [LabSectionId],isnull(IE.ItemID,'') as [ItemId],"
            "isnull(IE.InstrumentExamName,'') as [InstrumentExamName],isnull(LE.LabExam,'') as [LabExam],        "
            "isnull(IE.Profile,'') as [Profile],isnull(IE.Active,'') as [Active],       "
            "isnull(IE.InstrumentID,'') as [InstrumentId] from tbLabInstrumentExams IE left outer join "
            "Build_File..tbVeVodExam LE on LE.LabExamID = IE.ItemID where IE.InstrumentID =  '%1' order by LE.LabExam asc ");
        h().run(QStringLiteral("Laboratory..Lab_Barcode_SaveExam '1006','DAT','0','1','1'"));
        ResultSet rs = h().run(mappings.arg(QStringLiteral("1")));
        QCOMPARE(column(rs, "ItemId"), QStringList({"1001", "1006", "1003", "1002", "1004", "1005"}));
        QCOMPARE(valueOf(rs, 1, "LabExam").toString(), QStringLiteral("DIRECT COOMBS' TEST"));
        QCOMPARE(valueOf(rs, 1, "LabSectionId").toString(), QStringLiteral("1"));

        h().run(QStringLiteral("Laboratory..Lab_Barcode_SaveExam '1006','COOMBS','1','0','1'"));
        rs = h().run(mappings.arg(QStringLiteral("1")));
        QCOMPARE(rs.rows.size(), 6);
        QCOMPARE(valueOf(rs, 1, "InstrumentExamName").toString(), QStringLiteral("COOMBS"));
        QCOMPARE(valueOf(rs, 1, "Profile").toInt(), 1);
        QCOMPARE(valueOf(rs, 1, "Active").toInt(), 0);

        // The same examination for another instrument id is another mapping.
        h().run(QStringLiteral("Laboratory..Lab_Barcode_SaveExam '1006','DAT','0','1','LIS-B'"));
        QCOMPARE(h().run(mappings.arg(QStringLiteral("LIS-B"))).rows.size(), 1);
        const ResultSet ids = h().run(QStringLiteral("select distinct IsNull(InstrumentID,'') as InstrumentId from Laboratory..tbLabInstrumentExams"));
        QVERIFY(column(ids, "InstrumentId").contains(QStringLiteral("LIS-B")));
    }

    void searchExams_data()
    {
        QTest::addColumn<QString>("procedure");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("codes");
        QTest::newRow("name part, by name") << "Lab_Barcode_SearchExams" << "HEM" << QStringList{"1003", "1002"};
        QTest::newRow("any case") << "Lab_Barcode_SearchExams" << "creat" << QStringList{"2002"};
        QTest::newRow("code") << "Lab_Barcode_SearchExams" << "2005" << QStringList{"2005"};
        QTest::newRow("code prefix") << "Lab_Barcode_SearchExams" << "400" << QStringList{"4002", "4001"};
        QTest::newRow("apostrophe") << "Lab_Barcode_SearchExams" << "COOMBS'' TEST" << QStringList{"1006"};
        QTest::newRow("wildcard taken literally") << "Lab_Barcode_SearchExams" << "%" << QStringList{};
        QTest::newRow("nothing") << "Lab_Barcode_SearchExams" << "XYZ" << QStringList{};
        QTest::newRow("all") << "Lab_Barcode_SearchExams" << "CO" << QStringList{"1001", "1006", "1004", "1005"};
        QTest::newRow("ranges: mapped only") << "Lab_Barcode_SearchExamsRR" << "CO" << QStringList{"1001", "1004", "1005"};
        QTest::newRow("ranges: unmapped") << "Lab_Barcode_SearchExamsRR" << "FECALYSIS" << QStringList{};
    }

    void searchExams()
    {
        QFETCH(QString, procedure);
        QFETCH(QString, text);
        QFETCH(QStringList, codes);
        const ResultSet rs = h().run(QStringLiteral("Laboratory..") + procedure + QStringLiteral(" '") + text + u'\'');
        QCOMPARE(column(rs, "LabExamID"), codes);
        for (int r = 0; r < rs.rows.size(); ++r) {
            QVERIFY(!valueOf(rs, r, "LabsectionID").toString().isEmpty());
            QVERIFY(!valueOf(rs, r, "LabExam").toString().isEmpty());
        }
    }

    void searchSpecimen_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QStringList>("specimens");
        QTest::newRow("by barcode") << "'1', '2001', '12'" << QStringList{"SERC"};
        QTest::newRow("unknown barcode") << "'1', '2001', '99'" << QStringList{};
        QTest::newRow("by code, used ones first") << "'0', '2001', 'SER'" << QStringList{"SER", "SERC"};
        QTest::newRow("by name part") << "'0', '1002', 'blood'" << QStringList{"WB"};
        QTest::newRow("all, used ones first") << "'0', '1002', ''" << QStringList{"WB", "CSF", "PLA", "SER", "SERC", "URI"};
    }

    void searchSpecimen()
    {
        QFETCH(QString, call);
        QFETCH(QStringList, specimens);
        const ResultSet rs = h().run(QStringLiteral("Laboratory..Lab_Barcode_SearchSpecimen ") + call);
        QCOMPARE(column(rs, "SpecimenId"), specimens);
        if (!specimens.isEmpty()) {
            QVERIFY(!valueOf(rs, 0, "BarcodeID").toString().isEmpty());
            QVERIFY(!valueOf(rs, 0, "Specimen").toString().isEmpty());
        }
    }

    void referenceRangeLifecycle()
    {
        const QString all = QStringLiteral("Laboratory..Lab_Barcode_GetAllReferenceRange");
        ResultSet rs = h().run(all);
        QCOMPARE(rs.rows.size(), 11);
        for (const char *c : {"ReferenceID", "InstrumentId", "InstrumentName", "ItemID", "LabExam", "RefRange", "MinVal",
                              "MaxVal", "Unit", "Sex", "EnableSex", "SpecimenId", "Specimen", "BarcodeID"})
            QVERIFY2(rs.columns.contains(QString::fromLatin1(c), Qt::CaseInsensitive), c);
        auto rowOf = [](const ResultSet &r, int referenceId) {
            for (int i = 0; i < r.rows.size(); ++i) {
                if (valueOf(r, i, "ReferenceID").toInt() == referenceId)
                    return i;
            }
            return -1;
        };
        int hbsag = rowOf(rs, 10);
        QCOMPARE(valueOf(rs, hbsag, "InstrumentName").toString(), QStringLiteral("IMMUNOASSAY ANALYZER IA-90"));
        QCOMPARE(valueOf(rs, hbsag, "LabExam").toString(), QStringLiteral("HBSAG SCREENING"));
        QCOMPARE(valueOf(rs, hbsag, "RefRange").toString(), QStringLiteral("NON-REACTIVE"));
        QCOMPARE(valueOf(rs, hbsag, "MinVal").toString(), QString());
        QCOMPARE(valueOf(rs, hbsag, "Specimen").toString(), QStringLiteral("SERUM"));

        // New numeric MALE range for sodium on the chemistry analyser.
        h().run(QStringLiteral("Laboratory..Lab_Barcode_SaveInstrumentReferenceRange 0,'2','2004','3.5-5.0','3.5','5.0','mmol/L','M', '','T', 'SER', '2'"));
        rs = h().run(all);
        QCOMPARE(rs.rows.size(), 12);
        const int added = rowOf(rs, 12);
        QVERIFY(added >= 0);
        QCOMPARE(valueOf(rs, added, "LabExam").toString(), QStringLiteral("SODIUM"));
        QCOMPARE(valueOf(rs, added, "RefRange").toString(), QStringLiteral("3.5-5.0"));
        QCOMPARE(valueOf(rs, added, "MaxVal").toString(), QStringLiteral("5.0"));
        QCOMPARE(valueOf(rs, added, "Sex").toString(), QStringLiteral("M"));
        QCOMPARE(valueOf(rs, added, "EnableSex").toString(), QStringLiteral("T"));

        // Numeric edit (mode 1, old instrument id unquoted) moves it to another instrument.
        h().run(QStringLiteral("Laboratory..Lab_Barcode_SaveInstrumentReferenceRange 1,'3','2004','136-145','136','145','mmol/L','','M', 'F', 'SER', '2',2,'12'"));
        rs = h().run(all);
        int edited = rowOf(rs, 12);
        QCOMPARE(valueOf(rs, edited, "InstrumentId").toInt(), 3);
        QCOMPARE(valueOf(rs, edited, "RefRange").toString(), QStringLiteral("136-145"));
        QCOMPARE(valueOf(rs, edited, "Sex").toString(), QString());
        QCOMPARE(valueOf(rs, edited, "EnableSex").toString(), QStringLiteral("F"));

        // Text edit (mode 2) keeps no limits even when the boxes still hold some.
        h().run(QStringLiteral("Laboratory..Lab_Barcode_SaveInstrumentReferenceRange 2,'3','2004','SEE REMARKS','136','145','','','', 'F', 'SER', '2','3','12'"));
        rs = h().run(all);
        edited = rowOf(rs, 12);
        QCOMPARE(valueOf(rs, edited, "RefRange").toString(), QStringLiteral("SEE REMARKS"));
        QCOMPARE(valueOf(rs, edited, "MinVal").toString(), QString());
        QCOMPARE(valueOf(rs, edited, "MaxVal").toString(), QString());

        // Delete by reference id leaves the others.
        h().run(QStringLiteral("Laboratory..Lab_Barcode_DeleteReferenceRange 3,'2004','', '12'"));
        h().run(QStringLiteral("Laboratory..Lab_Barcode_DeleteReferenceRange 1,'1002','F', '2'"));
        rs = h().run(all);
        QCOMPARE(rs.rows.size(), 10);
        QCOMPARE(rowOf(rs, 12), -1);
        QCOMPARE(rowOf(rs, 2), -1);
        QVERIFY(rowOf(rs, 1) >= 0);
    }

    void referenceGender_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QStringList>("sexes");
        QTest::addColumn<QStringList>("references");
        QTest::newRow("mode 0 full: every range of the exam on the instrument")
            << "0,'','1', '1002', 'F', '1', 'WB'" << QStringList{"M", "F"} << QStringList{"1", "2"};
        QTest::newRow("mode 0 short") << "0,'','2', '2002', ''" << QStringList{"M", "F"} << QStringList{"7", "8"};
        QTest::newRow("mode 0, no range") << "0,'','3', '1002', 'M'" << QStringList{} << QStringList{};
        QTest::newRow("mode 1: by reference id") << "1,'4'" << QStringList{""} << QStringList{"4"};
        QTest::newRow("mode 2: same sex and specimen") << "2,'','1', '1002', 'F', 'WB'" << QStringList{"F"} << QStringList{"2"};
        QTest::newRow("mode 2: other specimen") << "2,'','1', '1002', 'F', 'SER'" << QStringList{} << QStringList{};
        QTest::newRow("mode 2: no preference") << "2,'','1', '1004', '', 'WB'" << QStringList{""} << QStringList{"4"};
    }

    void referenceGender()
    {
        QFETCH(QString, call);
        QFETCH(QStringList, sexes);
        QFETCH(QStringList, references);
        const ResultSet rs = h().run(QStringLiteral("Laboratory..Lab_Barcode_GetRefenceGender ") + call);
        QCOMPARE(column(rs, "Sex"), sexes);
        QCOMPARE(column(rs, "ReferenceID"), references);
        if (!rs.rows.isEmpty()) {
            QVERIFY(!valueOf(rs, 0, "EnableSex").toString().isEmpty());
            QVERIFY(!valueOf(rs, 0, "SpecimenId").toString().isEmpty());
        }
    }
};

RELAYON_CORE_TEST_MAIN(TestLaboratoryProcedures)
#include "tst_laboratoryprocedures.moc"
