#include "OrderData.h"

#include "CommLog.h"
#include "Database.h"

#include <exception>

namespace {

const QString kMammo = QStringLiteral("TBMAMMOMASTER");
const QString kNuc = QStringLiteral("TBNUCMASTER");

// One guarded look-up: every failure is traced with the step and the statement, and the
// gathering goes on with the next action.
class Step {
public:
    Step(Connection *connection, QString label) : m_connection(connection), m_label(std::move(label)) {}

    void fail(const QString &error) const
    {
        TraceLog(QStringLiteral("Error on GetHL7 ") + m_label + QStringLiteral(" ") + error + QStringLiteral(" ")
                 + m_sql);
    }

    // Sends sql; true when it returned a row.
    bool open(const QString &sql)
    {
        m_sql = sql;
        try {
            if (!m_connection)
                throw DbError(QStringLiteral("No connection"));
            m_rs = m_connection->open(sql);
            return m_rs.recordCount() > 0;
        } catch (const DbError &e) {
            fail(e.description());
        } catch (const std::exception &e) {
            fail(QString::fromLocal8Bit(e.what()));
        }
        m_rs = Recordset();
        return false;
    }

    QString text(const QString &column) const
    {
        try {
            return m_rs.field(column);
        } catch (const DbError &e) {
            fail(e.description());
        }
        return QString();
    }

    QString text(int column) const
    {
        try {
            return m_rs.field(column);
        } catch (const DbError &e) {
            fail(e.description());
        }
        return QString();
    }

    bool isNull(const QString &column) const
    {
        try {
            return m_rs.isNull(column);
        } catch (const DbError &e) {
            fail(e.description());
        }
        return true;
    }

    const QString &sql() const { return m_sql; }

private:
    Connection *m_connection;
    QString m_label;
    QString m_sql;
    Recordset m_rs;
};

QDateTime parseDate(const QString &text)
{
    QDateTime when = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    if (!when.isValid())
        when = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!when.isValid())
        when = QDateTime::fromString(text, Qt::ISODate);
    return when;
}

QString itemCodeColumn(const QString &table)
{
    const QString upper = table.toUpper();
    return upper == kMammo || upper == kNuc ? QStringLiteral("ItemID") : QStringLiteral("code");
}

} // namespace

QList<ItemCodeEntry> parseItemCodes(const QString &text)
{
    QList<ItemCodeEntry> entries;
    QString rest = text;
    while (!rest.isEmpty()) {
        const qsizetype space = rest.indexOf(QLatin1Char(' '));
        const QString token = space < 0 ? rest : rest.left(space);
        rest = space < 0 ? QString() : rest.mid(space + 1);
        if (token.isEmpty())
            break;
        entries.append({token.left(2), token.mid(2)});
    }
    return entries;
}

bool itemFilterSkips(const ItemFilters &filters, const QString &revenueId, const QString &itemCode)
{
    if (!filters.include.isEmpty() && filters.include.first().revenue == revenueId) {
        bool listed = false;
        for (const ItemCodeEntry &e : filters.include)
            listed = listed || e.item == itemCode;
        if (!listed)
            return true;
    }
    for (const ItemCodeEntry &e : filters.exclude) {
        if (e.revenue == revenueId && e.item == itemCode)
            return true;
    }
    return false;
}

bool isWalkIn(const QString &hospNum)
{
    return hospNum.startsWith(QLatin1Char('T'));
}

bool isOutpatientVisit(const QString &idNum)
{
    return idNum.contains(QLatin1Char('B'));
}

QString requestStatement(const QString &requestTableName, const QString &requestNum)
{
    const QString upper = requestTableName.toUpper();
    const QString receptionist = upper == kMammo ? QStringLiteral("[UserID]") : QStringLiteral("[By]");
    return QStringLiteral("SELECT  ")
        + QStringLiteral(" REPLACE(CONVERT(VARCHAR(10),PInfo.TransDate,127),'-','') AS TranDateFormattedA, ")
        + QStringLiteral(" REPLACE(CONVERT(VARCHAR(10),PInfo.TransDate,108),':','') AS TranDateFormattedB, "
                         "pinfo.TransDate, ")
        + QStringLiteral(" REPLACE(CONVERT(VARCHAR(10),getdate(),127),'-','') + "
                         "REPLACE(CONVERT(VARCHAR(10),getdate(),108),':','') + Pinfo.requestNum AS DateWRequestNum, ")
        + QStringLiteral(" ") + QStringLiteral(" RoomID,RequestDoctorCode,DoctorName,") + receptionist
        + QStringLiteral(" as Receptionist,ISNULL(stat,'0') as isStat,  ")
        + QStringLiteral(" REPLACE (cast(isnull(ImagingReason,'') as varchar(5000)),char(13) + char(10),"
                         "'\\X0D\\\\X0A\\') AS ImagingReason,    ")
        + itemCodeColumn(requestTableName) + QStringLiteral(" FROM RADIOLOGY..") + requestTableName
        + QStringLiteral(" AS PInfo WITH (NOLOCK)") + QStringLiteral(" WHERE RequestNum=") + sqlStr(requestNum);
}

QString patientStatement(const QString &hospNum)
{
    QString sql = QStringLiteral("SELECT TOP 1 HospNum,SUBSTRING(LastName + '^' + FirstName + ' ' + "
                                 "Isnull(MiddleName,''),1,48) PatName, ")
        + QStringLiteral(" REPLACE(CONVERT(VARCHAR(10),BirthDate,127),'-','') as BDATE,Sex,CellNum,");
    if (isWalkIn(hospNum)) {
        sql += QStringLiteral(" RTRIM(LTRIM(ISNULL(HouseStreet,''))) + '^' + RTRIM(LTRIM(ISNULL(Barangay,''))) + "
                              "'^' + RTRIM(LTRIM(ISNULL(Town,''))) + '^' + '' [Address],'' TelNum, ")
            + QStringLiteral(" '' As MSSCLassification")
            + QStringLiteral(" FROM PATIENT_DATA..tbCashPatient WITH (NOLOCK) ");
    } else {
        sql += QStringLiteral(" RTRIM(LTRIM(ISNULL(HouseStreet,''))) + '^' + RTRIM(LTRIM(ISNULL(Barangay,''))) + "
                              "'^' + '' + '^' + RTRIM(LTRIM(ISNULL(Province,''))) [Address],TelNum, ")
            + QStringLiteral(" CASE WHEN isnull(MSSDiscountExpiry,'') = '' OR MSSDiscountExpiry < GETDATE() then "
                             "'PAY'  Else   'SERVICE' END As MSSCLassification")
            + QStringLiteral(" FROM PATIENT_DATA..TBMaster   WITH (NOLOCK)");
    }
    return sql + QStringLiteral("  WHERE  HOSPNUM=") + sqlStr(hospNum);
}

QString visitStatement(const QString &idNum)
{
    QString sql = QStringLiteral("SELECT TOP 1 IDNum, AdmDate, DcrDate,age,AccountNum,");
    if (isOutpatientVisit(idNum))
        sql += QStringLiteral("    [ErNum],'OPD' as RoomID FROM Patient_Data..tbOutPatient WITH (NOLOCK) ");
    else
        sql += QStringLiteral(" '' [ErNum],RoomID FROM Patient_Data..tbPatient    WITH (NOLOCK)  ");
    return sql + QStringLiteral(" WHERE IDNum=") + sqlStr(idNum);
}

QString briefHistoryStatement(const QString &idNum)
{
    return QStringLiteral("SELECT TOP 1 replace(cast(isnull(BriefHistory,'') as varchar(5000)),char(13) + "
                          "char(10),'\\X0D\\\\X0A\\') BriefHistory    ")
        + QStringLiteral(" FROM STATION..tbNurseProfile WITH (NOLOCK) WHERE ") + QStringLiteral(" Idnum = ")
        + sqlStr(idNum);
}

QString nurseLogBookStatement(const QString &revenueId, const QString &idNum, const QString &itemCode,
                              const QString &refNum)
{
    return QStringLiteral("SELECT TOP 1 Remarks,  ISNULL(REPLACE(CONVERT(VARCHAR(10),Requestdate,127),'-',''),'') "
                          "+ ISNULL(REPLACE(CONVERT(VARCHAR(10),Requestdate,108),':',''),'')  AS RequestDate  ")
        + QStringLiteral(" FROM STATION..tbnurselogbook WITH (NOLOCK) WHERE ")
        + QStringLiteral("     Revenueid = ") + sqlStr(revenueId) + QStringLiteral(" ")
        + QStringLiteral(" AND Idnum = ") + sqlStr(idNum) + QStringLiteral(" AND Itemid = ") + sqlStr(itemCode)
        + QStringLiteral(" AND ReferenceNum = ") + sqlStr(refNum);
}

QString examStatement(const QString &revenueId, const QString &itemCode)
{
    return QStringLiteral("SELECT TOP 1 Description  ")
        + QStringLiteral(" FROM Radiology..tbBillExamListing  WITH (NOLOCK) WHERE RevenueID=") + sqlStr(revenueId)
        + QStringLiteral(" AND ItemID=") + sqlStr(itemCode);
}

QString doctorStatement(const QString &doctorCode)
{
    return QStringLiteral("SELECT TOP 1 SUBSTRING(Doc.FirstName + ' ' + Doc.LastName + ', MD' ,1,48) DocName ")
        + QStringLiteral(" FROM Build_File..tbcodoctor as Doc WITH (NOLOCK) WHERE Doc.Doctorid=")
        + sqlStr(doctorCode);
}

QString allergiesStatement(const QString &hospNum)
{
    return QStringLiteral("SELECT RADIOLOGY.DBO.fn_GetAllergiesHL7(") + sqlStr(hospNum)
        + QStringLiteral(") as Allergies");
}

QString diagnosisStatement(const QString &patientClass, const QString &idNum)
{
    QString sql = QStringLiteral("SELECT cast(AdmDiagnosis as varchar(1000)) AdmDiagnosis  ");
    if (patientClass == QLatin1String("I"))
        sql += QStringLiteral(",cast(FinalDiagnosis as varchar(1000)) FinalDiagnosis FROM "
                              "PATIENT_DATA..tbPatientHistory");
    else
        sql += QStringLiteral(",'' FinalDiagnosis FROM PATIENT_DATA..tbOutPatientHistory");
    return sql + QStringLiteral(" WITH (NOLOCK) WHERE IDNum=") + sqlStr(idNum);
}

QString companyStatement(const QString &accountNum)
{
    return QStringLiteral("SELECT Company FROM BUILD_FILE..tbCoCompany   WITH (NOLOCK)")
        + QStringLiteral(" WHERE AccountNum =") + sqlStr(accountNum);
}

QString staffStatement(const QString &employeeId)
{
    return QStringLiteral("SELECT SUBSTRING(Emp.LastName + '^' + Emp.FirstName + ' ' + Isnull(Emp.MiddleName,''),"
                          "1,48) EmpName FROM Password..tbpasswordmain EMP WITH (NOLOCK)")
        + QStringLiteral("  WHERE Employeeid =") + sqlStr(employeeId);
}

GatherOutcome gatherOrderData(Connection *connection, const OrderRequestRow &row, const ItemFilters &filters,
                              RadiologyOrderData &data)
{
    data = RadiologyOrderData();
    data.row = row;

    // 1. The request.
    {
        Step step(connection, QStringLiteral("REQUEST ORDER INFO"));
        const QString sql = requestStatement(row.RequestTableName, row.RequestNum);
        if (TraceEnabled())
            TraceLog(sql);
        if (!step.open(sql)) {
            TraceLog(QStringLiteral("Get HL7 RequestNum not found ") + row.RequestNum);
            return GatherOutcome::NotFound;
        }
        data.ItemCode = step.text(itemCodeColumn(row.RequestTableName));

        // 2. The item filter.
        if (itemFilterSkips(filters, row.RevenueID, data.ItemCode))
            return GatherOutcome::Skipped;

        // 3. The request's own values.
        data.TransDateText = step.text(QStringLiteral("TransDate"));
        data.TransDate = parseDate(data.TransDateText);
        data.TranDateFormattedA = step.text(QStringLiteral("TranDateFormattedA"));
        data.TranDateFormattedB = step.text(QStringLiteral("TranDateFormattedB"));
        data.DateWRequestNum = step.text(QStringLiteral("DateWRequestNum"));
        const QString room = step.text(QStringLiteral("RoomID"));
        if (!room.isEmpty())
            data.Room = room;
        data.RequestDoctorCode = step.text(QStringLiteral("RequestDoctorCode"));
        data.Receptionist = step.text(QStringLiteral("Receptionist"));
        data.Priority = step.text(QStringLiteral("isStat")) == QLatin1String("1") ? QStringLiteral("S")
                                                                                    : QStringLiteral("R");
        const QString reason = step.text(QStringLiteral("ImagingReason"));
        if (!reason.isEmpty())
            data.ImagingReason = QStringLiteral("IMAGING REASON:") + reason + QStringLiteral(";");
    }

    // 4. The patient.
    {
        Step step(connection, QStringLiteral("PID"));
        if (isWalkIn(row.HospNum))
            data.Room = QStringLiteral("Walk-in");
        if (step.open(patientStatement(row.HospNum))) {
            data.PatName = step.text(QStringLiteral("PatName"));
            data.Bdate = step.text(QStringLiteral("Bdate"));
            data.Sex = step.text(QStringLiteral("Sex"));
            data.Address = step.text(QStringLiteral("Address"));
            data.TelNum = step.text(QStringLiteral("TelNum"));
            data.CellNum = step.text(QStringLiteral("CellNum"));
        }
    }

    // 5. The visit.
    {
        Step step(connection, QStringLiteral("Patient_Data"));
        data.PatientClass = isOutpatientVisit(row.IDNum) ? QStringLiteral("O") : QStringLiteral("I");
        if (step.open(visitStatement(row.IDNum))) {
            if (!step.text(QStringLiteral("ErNum")).isEmpty())
                data.PatientClass = QStringLiteral("E");
            data.AccountNum = step.text(QStringLiteral("AccountNum"));
            if (!step.isNull(QStringLiteral("RoomID")))
                data.Room = step.text(QStringLiteral("RoomID"));
        }
    }

    // 6. The brief history.
    {
        Step step(connection, QStringLiteral("BriefHistory"));
        if (step.open(briefHistoryStatement(row.IDNum)))
            data.BriefHistory = step.text(QStringLiteral("BriefHistory"));
    }

    // 7. The nurse log book.
    {
        Step step(connection, QStringLiteral("tbnurselogbook"));
        if (step.open(nurseLogBookStatement(row.RevenueID, row.IDNum, data.ItemCode, row.RefNum))) {
            data.RequestDate = step.text(QStringLiteral("RequestDate"));
            const QString remarks = step.text(QStringLiteral("Remarks"));
            if (!remarks.isEmpty())
                data.Remarks = QStringLiteral("NURSE REMARKS:") + remarks;
        }
    }

    // 8. The exam description.
    if (!data.ItemCode.isEmpty()) {
        Step step(connection, QStringLiteral("tbBillExamListing"));
        if (step.open(examStatement(row.RevenueID, data.ItemCode)))
            data.Description = step.text(QStringLiteral("Description"));
    }

    // 9. The requesting doctor.
    if (!data.RequestDoctorCode.isEmpty()) {
        Step step(connection, QStringLiteral("Doctor Name"));
        if (step.open(doctorStatement(data.RequestDoctorCode)))
            data.DocName = step.text(QStringLiteral("DocName"));
    }

    // 10. Allergies.
    {
        Step step(connection, QStringLiteral("fn_GetAllergiesHL7"));
        if (step.open(allergiesStatement(row.HospNum)))
            data.Allergies = step.text(0);
    }

    // 11. Diagnosis.
    {
        Step step(connection, QStringLiteral("Diagnosis"));
        if (step.open(diagnosisStatement(data.PatientClass, row.IDNum))) {
            data.Diagnosis = step.text(QStringLiteral("FinalDiagnosis"));
            if (data.Diagnosis.isEmpty())
                data.Diagnosis = step.text(QStringLiteral("AdmDiagnosis"));
        }
    }

    // 12. Company.
    if (row.HospNum == data.AccountNum) {
        data.Company = QStringLiteral("PERSONAL");
    } else {
        Step step(connection, QStringLiteral("Company"));
        if (step.open(companyStatement(data.AccountNum)))
            data.Company = step.text(QStringLiteral("Company"));
    }
    if (data.Company.isEmpty())
        data.Company = data.AccountNum;

    // 13. Staff.
    {
        Step step(connection, QStringLiteral("Staff"));
        if (step.open(staffStatement(data.Receptionist)))
            data.EmpName = step.text(QStringLiteral("EmpName"));
    }
    return GatherOutcome::Complete;
}
