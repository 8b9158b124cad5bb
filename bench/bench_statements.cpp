// Statements per second through the embedded hospital, with the translation cache on and
// off, for the mix of selects that gathers one radiology order's data (request, patient,
// visit, brief history, nurse log book, exam, doctor, allergies, diagnosis, company, staff).
//
//   build/bin/bench_statements [rounds]     (default 200 rounds over every pending request)

#include "EmbeddedConnection.h"
#include "Globals.h"
#include "Hospital.h"
#include "RevenueTable.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

QStringList orderDataStatements(Connection &db, const RevenueInfo &rev, const QString &requestNum,
                                const QString &hospNum, const QString &idNum, const QString &refNum)
{
    const QString table = rev.RequestTableName.toUpper();
    const QString receptionist = table == u"TBMAMMOMASTER" ? QStringLiteral("[UserID]") : QStringLiteral("[By]");
    const QString item = (table == u"TBMAMMOMASTER" || table == u"TBNUCMASTER") ? QStringLiteral("ItemID")
                                                                                : QStringLiteral("code");
    const bool walkIn = hospNum.startsWith(u'T');
    const bool outpatient = idNum.contains(u'B');
    QStringList s;
    s << QStringLiteral("SELECT  ") + " REPLACE(CONVERT(VARCHAR(10),PInfo.TransDate,127),'-','') AS TranDateFormattedA, "
             + " REPLACE(CONVERT(VARCHAR(10),PInfo.TransDate,108),':','') AS TranDateFormattedB, pinfo.TransDate, "
             + " REPLACE(CONVERT(VARCHAR(10),getdate(),127),'-','') + REPLACE(CONVERT(VARCHAR(10),getdate(),108),':','') + Pinfo.requestNum AS DateWRequestNum, "
             + " " + " RoomID,RequestDoctorCode,DoctorName," + receptionist + " as Receptionist,ISNULL(stat,'0') as isStat,  "
             + " REPLACE (cast(isnull(ImagingReason,'') as varchar(5000)),char(13) + char(10),'\\X0D\\\\X0A\\') AS ImagingReason,    "
             + item + " FROM RADIOLOGY.." + rev.RequestTableName + " AS PInfo WITH (NOLOCK)" + " WHERE RequestNum="
             + sqlStr(requestNum);
    Recordset req = db.open(s.last());
    const QString itemCode = req.eof() ? QString() : req.field(item);
    const QString doctor = req.eof() ? QString() : req.field(QStringLiteral("RequestDoctorCode"));
    const QString staff = req.eof() ? QString() : req.field(QStringLiteral("Receptionist"));
    s << QStringLiteral("SELECT TOP 1 HospNum,SUBSTRING(LastName + '^' + FirstName + ' ' + Isnull(MiddleName,''),1,48) PatName, ")
             + " REPLACE(CONVERT(VARCHAR(10),BirthDate,127),'-','') as BDATE,Sex,CellNum,"
             + (walkIn ? QStringLiteral(" RTRIM(LTRIM(ISNULL(HouseStreet,''))) + '^' + RTRIM(LTRIM(ISNULL(Barangay,''))) + '^' + RTRIM(LTRIM(ISNULL(Town,''))) + '^' + '' [Address],'' TelNum, ")
                             + " '' As MSSCLassification" + " FROM PATIENT_DATA..tbCashPatient WITH (NOLOCK) "
                       : QStringLiteral(" RTRIM(LTRIM(ISNULL(HouseStreet,''))) + '^' + RTRIM(LTRIM(ISNULL(Barangay,''))) + '^' + '' + '^' + RTRIM(LTRIM(ISNULL(Province,''))) [Address],TelNum, ")
                             + " CASE WHEN isnull(MSSDiscountExpiry,'') = '' OR MSSDiscountExpiry < GETDATE() then 'PAY'  Else   'SERVICE' END As MSSCLassification"
                             + " FROM PATIENT_DATA..TBMaster   WITH (NOLOCK)")
             + "  WHERE  HOSPNUM=" + sqlStr(hospNum);
    s << QStringLiteral("SELECT TOP 1 IDNum, AdmDate, DcrDate,age,AccountNum,")
             + (outpatient ? QStringLiteral("    [ErNum],'OPD' as RoomID FROM Patient_Data..tbOutPatient WITH (NOLOCK) ")
                           : QStringLiteral(" '' [ErNum],RoomID FROM Patient_Data..tbPatient    WITH (NOLOCK)  "))
             + " WHERE IDNum=" + sqlStr(idNum);
    s << QStringLiteral("SELECT TOP 1 replace(cast(isnull(BriefHistory,'') as varchar(5000)),char(13) + char(10),'\\X0D\\\\X0A\\') BriefHistory    ")
             + " FROM STATION..tbNurseProfile WITH (NOLOCK) WHERE " + " Idnum = " + sqlStr(idNum);
    s << QStringLiteral("SELECT TOP 1 Remarks,  ISNULL(REPLACE(CONVERT(VARCHAR(10),Requestdate,127),'-',''),'') + ISNULL(REPLACE(CONVERT(VARCHAR(10),Requestdate,108),':',''),'')  AS RequestDate  ")
             + " FROM STATION..tbnurselogbook WITH (NOLOCK) WHERE " + "     Revenueid = " + sqlStr(rev.RevenueID) + " "
             + " AND Idnum = " + sqlStr(idNum) + " AND Itemid = " + sqlStr(itemCode) + " AND ReferenceNum = " + sqlStr(refNum);
    s << QStringLiteral("SELECT TOP 1 Description  ") + " FROM Radiology..tbBillExamListing  WITH (NOLOCK) WHERE RevenueID="
             + sqlStr(rev.RevenueID) + " AND ItemID=" + sqlStr(itemCode);
    s << QStringLiteral("SELECT TOP 1 SUBSTRING(Doc.FirstName + ' ' + Doc.LastName + ', MD' ,1,48) DocName ")
             + " FROM Build_File..tbcodoctor as Doc WITH (NOLOCK) WHERE Doc.Doctorid=" + sqlStr(doctor);
    s << QStringLiteral("SELECT RADIOLOGY.DBO.fn_GetAllergiesHL7(") + sqlStr(hospNum) + ") as Allergies";
    s << QStringLiteral("SELECT cast(AdmDiagnosis as varchar(1000)) AdmDiagnosis  ")
             + (outpatient ? QStringLiteral(",'' FinalDiagnosis FROM PATIENT_DATA..tbOutPatientHistory")
                           : QStringLiteral(",cast(FinalDiagnosis as varchar(1000)) FinalDiagnosis FROM PATIENT_DATA..tbPatientHistory"))
             + " WITH (NOLOCK) WHERE IDNum=" + sqlStr(idNum);
    s << QStringLiteral("SELECT Company FROM BUILD_FILE..tbCoCompany   WITH (NOLOCK)") + " WHERE AccountNum =" + sqlStr(hospNum);
    s << QStringLiteral("SELECT SUBSTRING(Emp.LastName + '^' + Emp.FirstName + ' ' + Isnull(Emp.MiddleName,''),1,48) EmpName FROM Password..tbpasswordmain EMP WITH (NOLOCK)")
             + "  WHERE Employeeid =" + sqlStr(staff);
    return s;
}

double run(EmbeddedConnection &db, const QStringList &mix, int rounds)
{
    QElapsedTimer t;
    t.start();
    for (int r = 0; r < rounds; ++r)
        for (const QString &sql : mix)
            db.open(sql);
    return double(mix.size()) * rounds / (t.nsecsElapsed() / 1e9);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const int rounds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 200;

    QTemporaryDir dir;
    hospitaldb::Hospital::create(dir.path(), true);
    EmbeddedConnection db(dir.path());
    const QString error = loadRevenueTable(&db, false);
    if (!error.isEmpty()) {
        out << "revenue load failed: " << error << '\n';
        return 1;
    }

    QStringList mix;
    for (const RevenueInfo &rev : gblRevenues) {
        Recordset rs = db.open(QStringLiteral("SELECT RequestNum, HospNum, IDNum, RefNum FROM RADIOLOGY..")
                               + rev.RequestTableName + QStringLiteral(" WITH (NOLOCK) WHERE RevenueID = ") + sqlStr(rev.RevenueID));
        for (; !rs.eof(); rs.moveNext())
            mix << orderDataStatements(db, rev, rs.field("RequestNum"), rs.field("HospNum"), rs.field("IDNum"),
                                       rs.field("RefNum"));
    }
    out << "statements in the mix: " << mix.size() << " (" << mix.size() / 11 << " requests), rounds: " << rounds << '\n';

    db.hospital().setTranslationCacheEnabled(true);
    run(db, mix, 1); // warm the cache and SQLite's pages
    const double cached = run(db, mix, rounds);
    db.hospital().setTranslationCacheEnabled(false);
    const double uncached = run(db, mix, rounds);
    out << QString::asprintf("translation cached:   %10.0f statements/s\n", cached);
    out << QString::asprintf("translation uncached: %10.0f statements/s\n", uncached);
    return 0;
}
