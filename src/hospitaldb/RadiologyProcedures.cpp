// The radiology database's stored procedures and functions of the embedded hospital:
//   RADIOLOGY..spRadio_SaveHL7Result   stores a RIS result (result, history, status, nursing)
//   RADIOLOGY..spRadioHL7Format        the queue of order messages the database prepares
//   RADIOLOGY..spRadioHL7EditPatient   the queue of patient-edit messages
//   Radiology.dbo.fn_GetAllergiesHL7   a patient's allergies as AL1 segments
//   Radiology.dbo.Fn_GetEmpID_HL7      the employee id of a staff member named in a result

#include "Hospital.h"
#include "TsqlDates.h"

#include <QDateTime>
#include <QRegularExpression>

#include <optional>

#include <sqlite3.h>

namespace hospitaldb {

namespace {

QString arg(const QVariantList &args, int i)
{
    return i < args.size() && !args[i].isNull() ? args[i].toString() : QString();
}

QString nowIso()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
}

QString quoteIdentifier(QString name)
{
    return u'"' + name.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

// A table named by the revenue table, checked to exist in the Radiology database before its
// name goes into a statement.
QString radiologyTable(Hospital &h, const QString &name)
{
    const ResultSet rs = h.query(QStringLiteral("SELECT name FROM Radiology.sqlite_master WHERE type IN ('table', 'view') "
                                                "AND name = ? COLLATE NOCASE"),
                                 {name});
    if (rs.rows.isEmpty())
        throw SqlError(QStringLiteral("Invalid object name 'Radiology..") + name + QStringLiteral("'."));
    return QStringLiteral("Radiology.") + quoteIdentifier(rs.rows[0][0].toString());
}

QString radiologyColumn(Hospital &h, const QString &table, const QString &column)
{
    const ResultSet rs = h.query(QStringLiteral("SELECT name FROM pragma_table_info(?, 'Radiology') WHERE name = ? COLLATE NOCASE"),
                                 {table, column});
    if (rs.rows.isEmpty())
        throw SqlError(QStringLiteral("Invalid column name '") + column + QStringLiteral("'."));
    return quoteIdentifier(rs.rows[0][0].toString());
}

// The date-time arguments come as the program formats them ("mm/dd/yyyy h:mm"); ISO text is
// taken too. An empty argument is the current time, as the program's own conversion does.
QString dateArgument(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return nowIso();
    auto value = tsqldates::parseMonthDayYear(t);
    if (!value)
        value = tsqldates::parseIso(t);
    if (!value)
        throw SqlError(QStringLiteral("Conversion failed when converting date and/or time from character string."));
    return tsqldates::formatIso(*value);
}

// ---------------------------------------------------------------------------------------------
// Staff names.

QString normalisedName(QString s)
{
    s.replace(u'`', u'\'');
    s.replace(u'.', u' ');
    s.replace(u',', u' ');
    return s.simplified().toUpper();
}

// The employee id of the staff member a result names (the radiographer). The RIS writes the
// name as the person is known there, so the usual forms are accepted: "LAST, FIRST",
// "LAST, FIRST MIDDLE", "FIRST LAST", "FIRST MIDDLE LAST", "FIRST M. LAST", and the employee id
// or login name itself; letter case, commas, periods and extra blanks do not matter, and a
// backquote stands for the apostrophe it replaced. Active staff are preferred. No match: null.
QVariant employeeIdOf(sqlite3 *db, const QString &name)
{
    const QString wanted = normalisedName(name);
    if (wanted.isEmpty())
        return {};
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db,
                           "SELECT EmployeeID, LastName, FirstName, MiddleName, LoginName FROM Password.tbpasswordmain "
                           "ORDER BY IFNULL(Active, 1) = 0, EmployeeID",
                           -1, &st, nullptr)
        != SQLITE_OK)
        throw SqlError(QString::fromUtf8(sqlite3_errmsg(db)));
    auto col = [st](int i) {
        const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(st, i));
        return p ? QString::fromUtf8(p) : QString();
    };
    QVariant found;
    while (sqlite3_step(st) == SQLITE_ROW) {
        const QString id = col(0), last = col(1), first = col(2), middle = col(3), login = col(4);
        const QString initial = middle.trimmed().left(1);
        const QStringList forms{id,
                                login,
                                last + u' ' + first,
                                last + u' ' + first + u' ' + middle,
                                first + u' ' + last,
                                first + u' ' + middle + u' ' + last,
                                first + u' ' + initial + u' ' + last};
        for (const QString &form : forms) {
            if (!form.trimmed().isEmpty() && normalisedName(form) == wanted) {
                found = id;
                break;
            }
        }
        if (found.isValid())
            break;
    }
    sqlite3_finalize(st);
    return found;
}

// ---------------------------------------------------------------------------------------------
// Allergies.

// The patient's active allergies as AL1 segments, each ended by CR LF like the other segments
// of an order message: AL1|set id|type|^allergen|severity|reaction|identified yyyymmdd.
// A patient without allergies gets the empty text.
QString allergiesHl7(sqlite3 *db, const QString &hospNum)
{
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db,
                           "SELECT IFNULL(AllergyType, ''), IFNULL(Allergen, ''), IFNULL(Severity, ''), "
                           "IFNULL(Reaction, ''), IFNULL(IdentifiedDate, '') FROM Patient_Data.tbPatientAllergy "
                           "WHERE HospNum = ? AND IFNULL(Active, 1) <> 0 ORDER BY AllergyID",
                           -1, &st, nullptr)
        != SQLITE_OK)
        throw SqlError(QString::fromUtf8(sqlite3_errmsg(db)));
    const QByteArray key = hospNum.toUtf8();
    sqlite3_bind_text(st, 1, key.constData(), key.size(), SQLITE_TRANSIENT);
    auto col = [st](int i) { return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, i))); };
    QString out;
    int setId = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        QString identified = col(4).left(10);
        identified.remove(u'-');
        out += QStringLiteral("AL1|") + QString::number(++setId) + u'|' + col(0) + QStringLiteral("|^") + col(1) + u'|'
               + col(2) + u'|' + col(3) + u'|' + identified + QStringLiteral("\r\n");
    }
    sqlite3_finalize(st);
    return out;
}

void resultText(sqlite3_context *ctx, const QVariant &value)
{
    if (value.isNull()) {
        sqlite3_result_null(ctx);
        return;
    }
    const QByteArray utf8 = value.toString().toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), utf8.size(), SQLITE_TRANSIENT);
}

QString textArg(sqlite3_value *v)
{
    const auto *p = reinterpret_cast<const char *>(sqlite3_value_text(v));
    return p ? QString::fromUtf8(p) : QString();
}

void fnGetAllergiesHl7(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    try {
        const QString hospNum = textArg(argv[0]).trimmed();
        const QString text = hospNum.isEmpty() ? QString() : allergiesHl7(sqlite3_context_db_handle(ctx), hospNum);
        sqlite3_result_text(ctx, text.toUtf8().constData(), -1, SQLITE_TRANSIENT);
    } catch (const SqlError &e) {
        sqlite3_result_error(ctx, e.what(), -1);
    }
}

void fnGetEmpIdHl7(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    try {
        resultText(ctx, employeeIdOf(sqlite3_context_db_handle(ctx), textArg(argv[0])));
    } catch (const SqlError &e) {
        sqlite3_result_error(ctx, e.what(), -1);
    }
}

// ---------------------------------------------------------------------------------------------
// spRadio_SaveHL7Result

struct RevenueRow {
    QString revenueId, requestTable, resultTable, historyTable, statusField;
};

std::optional<RevenueRow> activeRevenue(Hospital &h, const QString &code)
{
    const ResultSet rs = h.query(
        QStringLiteral("SELECT RevenueID, RequestTableName, IFNULL(ResultTableName, ''), IFNULL(HistoryTableName, ''), "
                       "IFNULL(StatusSWFinField, '') FROM Radiology.tbRadiologyRevenues "
                       "WHERE Active = 1 AND IFNULL(RequestTableName, '') <> '' AND UPPER(RevenueID) = UPPER(?) "
                       "ORDER BY GType LIMIT 1"),
        {code});
    if (rs.rows.isEmpty())
        return std::nullopt;
    const QVariantList &r = rs.rows[0];
    RevenueRow row{r[0].toString(), r[1].toString(), r[2].toString(), r[3].toString(), r[4].toString()};
    if (row.statusField.trimmed().isEmpty())
        row.statusField = QStringLiteral("SWFin");
    return row;
}

// The request a result belongs to. The RIS answers with the placer order number of the order
// message, which for a numeric request number is the number followed by the revenue code
// (123XR); when no request carries the number as given, such a number is taken back to the
// request number it was made from.
QString requestNumberOf(Hospital &h, const QString &requestTable, const QString &given)
{
    auto exists = [&](const QString &n) {
        return !h.query(QStringLiteral("SELECT 1 FROM ") + requestTable + QStringLiteral(" WHERE RequestNum = ? LIMIT 1"), {n})
                    .rows.isEmpty();
    };
    if (exists(given))
        return given;
    static const QRegularExpression placer(QStringLiteral("^(\\d+)[A-Za-z][A-Za-z0-9]$"));
    const QRegularExpressionMatch m = placer.match(given);
    if (m.hasMatch() && exists(m.captured(1)))
        return m.captured(1);
    return given;
}

// Arguments, in the order the program sends them: department code, hospital number, visit
// number, request number, service code, service text, message time, observation time,
// transaction time, attending doctor, radiologist, verifying radiologist, report text,
// radiographer, resident. Dates come as "mm/dd/yyyy h:mm".
//
// What it stores is what the program's own storage path stores, in one unit (a failure leaves
// nothing half written):
// - the revenue: the first active revenue with a request table whose code is the department
//   code; a department without one stores nothing and is no error, like the program's path;
// - the result row of the request (added, or updated when the request has one): hospital and
//   visit number, the request's reference number, item code (the service code without its
//   two-letter modality prefix), exam,
//   dates (ResultDate the observation time, VerifyDate the message time, ExamDate the
//   transaction time, TransDate now), requesting doctor, radiologist, verifier, report text as
//   the program cleans it (a "~" becomes CR and FS, the text is cut before "Radiographer", the
//   \X0D\\X0A\ escape becomes CR), the radiographer's employee id, the room ("OPD" for an
//   outpatient visit), the resident, and status 'V' (verified by the RIS). The women's
//   ultrasound table (tbULWomensResultOB) takes only the dates, the sonologist and the report;
// - except for the women's table: a history row (version 1, full service code) and the
//   request's status column (the revenue's StatusSWFinField, SWFin by default) set to 'Y';
// - the first matching row of the nurse log book (request, hospital and visit number, revenue
//   and item, the item given with or without its modality prefix) gets RecordStatus 'W', the
//   radiologist and the time; the first communication file row of the request RecordStatus
//   'X'. Missing nursing rows are no error.
ResultSet saveHl7Result(Hospital &h, const QVariantList &args)
{
    static const QString name = QStringLiteral("spRadio_SaveHL7Result");
    if (args.size() > 15)
        throw SqlError(QStringLiteral("Procedure or function ") + name + QStringLiteral(" has too many arguments specified."));
    if (args.size() < 15)
        throw SqlError(QStringLiteral("Procedure or function '") + name
                       + QStringLiteral("' expects parameter '@Resident', which was not supplied."));

    const QString saveCode = arg(args, 0).trimmed();
    const QString hospNum = arg(args, 1).trimmed();
    const QString idNum = arg(args, 2).trimmed();
    const QString serviceCode = arg(args, 4).trimmed();
    const QString serviceText = arg(args, 5).trimmed();
    const QString messageTime = dateArgument(arg(args, 6));
    const QString observationTime = dateArgument(arg(args, 7));
    const QString transactionTime = dateArgument(arg(args, 8));
    const QString doctor = arg(args, 9).trimmed();
    const QString radiologist = arg(args, 10).trimmed();
    const QString verifier = arg(args, 11).trimmed();
    const QString radiographer = arg(args, 13).trimmed();
    const QString resident = arg(args, 14).trimmed();

    const std::optional<RevenueRow> revenue = activeRevenue(h, saveCode);
    if (!revenue)
        return {};

    const QString itemCode = serviceCode.size() > 2 ? serviceCode.mid(2) : serviceCode;
    QString report = arg(args, 12);
    report.replace(u'~', QString(QChar(13)) + QChar(28));
    const int cut = report.indexOf(QLatin1String("Radiographer"));
    if (cut >= 0)
        report.truncate(cut);
    report.replace(QLatin1String("\\X0D\\\\X0A\\"), QString(QChar(13)));
    report = report.trimmed();

    return h.atomically([&] {
        const QString requestTable = radiologyTable(h, revenue->requestTable);
        const QString resultTable = radiologyTable(h, revenue->resultTable);
        const bool womens = revenue->resultTable.toUpper() == QLatin1String("TBULWOMENSRESULTOB");
        const QString requestNum = requestNumberOf(h, requestTable, arg(args, 3).trimmed());
        const QString now = nowIso();

        QVariant radTech;
        if (!radiographer.isEmpty())
            radTech = employeeIdOf(h.handle(), radiographer);
        QString room;
        if (idNum.contains(u'B')) {
            room = QStringLiteral("OPD");
        } else {
            const ResultSet rs = h.query(QStringLiteral("SELECT RoomID FROM Patient_Data.tbPatient WHERE IDNum = ? LIMIT 1"), {idNum});
            if (!rs.rows.isEmpty())
                room = rs.rows[0][0].toString();
        }

        const ResultSet existing = h.query(QStringLiteral("SELECT ResultID FROM ") + resultTable
                                               + QStringLiteral(" WHERE RequestNum = ? ORDER BY ResultID LIMIT 1"),
                                           {requestNum});
        qint64 resultId;
        if (existing.rows.isEmpty()) {
            h.exec(QStringLiteral("INSERT INTO ") + resultTable + QStringLiteral(" (RequestNum) VALUES (?)"), {requestNum});
            resultId = h.lastInsertId();
        } else {
            resultId = existing.rows[0][0].toLongLong();
        }
        if (womens) {
            h.exec(QStringLiteral("UPDATE ") + resultTable
                       + QStringLiteral(" SET TransDate = ?, ResultDate = ?, VerifyDate = ?, ExamDate = ?, SonologistID = ?, "
                                        "Interpretation = ?, Status = 'V' WHERE ResultID = ?"),
                   {now, observationTime, messageTime, transactionTime, radiologist, report, resultId});
        } else {
            h.exec(QStringLiteral("UPDATE ") + resultTable
                       + QStringLiteral(" SET HospNum = ?, IDNum = ?, ItemCode = ?, ExamTaken = ?, TransDate = ?, "
                                        "ResultDate = ?, VerifyDate = ?, ExamDate = ?, RequestDoctorCode = ?, RadCode = ?, "
                                        "VerifyById = ?, InterpretationPureText = ?, RadTech = ?, RoomID = ?, "
                                        "Interpretation = ?, TranscribedBy = ?, Status = 'V', RefNum = COALESCE(RefNum, "
                                        "(SELECT RefNum FROM ") + requestTable + QStringLiteral(" WHERE RequestNum = ? LIMIT 1)) "
                                        "WHERE ResultID = ?"),
                   {hospNum, idNum, itemCode, serviceText, now, observationTime, messageTime, transactionTime, doctor,
                    radiologist, verifier, report, radTech, room, report, resident, requestNum, resultId});

            const QString historyTable = radiologyTable(h, revenue->historyTable);
            h.exec(QStringLiteral("INSERT INTO ") + historyTable
                       + QStringLiteral(" (HospNum, IDNum, ItemCode, RequestNum, RadCode, Interpretation, TranscribedByID, "
                                        "VerifyByID, VerifyDate, Version, TransDate) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, 1, ?)"),
                   {hospNum, idNum, serviceCode, requestNum, radiologist, report, radiologist, verifier, messageTime, now});

            const QString statusColumn = radiologyColumn(h, revenue->requestTable, revenue->statusField);
            h.exec(QStringLiteral("UPDATE ") + requestTable + QStringLiteral(" SET ") + statusColumn
                       + QStringLiteral(" = 'Y' WHERE RequestNum = ?"),
                   {requestNum});
        }

        h.exec(QStringLiteral("UPDATE STATION.tbNurseLogBook SET RecordStatus = 'W', ResultBy = ?, ResultDate = ? "
                              "WHERE LogID = (SELECT LogID FROM STATION.tbNurseLogBook WHERE RequestNum = ? AND HospNum = ? "
                              "AND IDNum = ? AND RevenueID = ? AND (ItemID = ? OR ItemID = ?) ORDER BY LogID LIMIT 1)"),
               {radiologist, now, requestNum, hospNum, idNum, saveCode, serviceCode, itemCode});
        h.exec(QStringLiteral("UPDATE STATION.tbNurseCommunicationFile SET RecordStatus = 'X' "
                              "WHERE CommID = (SELECT CommID FROM STATION.tbNurseCommunicationFile WHERE RequestNum = ? "
                              "ORDER BY CommID LIMIT 1)"),
               {requestNum});
        return ResultSet{};
    });
}

// ---------------------------------------------------------------------------------------------
// spRadioHL7Format

QString hl7DateTime(const QString &iso)
{
    const auto value = tsqldates::parseIso(iso);
    if (!value)
        return {};
    return value->date.toString(QStringLiteral("yyyyMMdd")) + value->time.toString(QStringLiteral("HHmmss"));
}

QString first(const ResultSet &rs, int column)
{
    return rs.rows.isEmpty() || rs.rows[0][column].isNull() ? QString() : rs.rows[0][column].toString();
}

// Builds the order message of one request as the radiology database prepares it for a resend:
// ORM^O01 with the header and segments of the order generator's messages, the revenue's own
// DICOM modality, order control CA for a cancelled request (SWFin C) and NW otherwise, the
// placer order number (request number, plus the revenue code when the number is numeric), the
// patient, visit, allergies, exam and doctor.
// The file name is modality + placer order number + "R" (a resend), so that it does not
// replace the files the order generator names with X and C.
void queueOrderMessage(Hospital &h, const QString &requestNum, const QString &revenueCode)
{
    ResultSet rev = h.query(QStringLiteral("SELECT RevenueID, RequestTableName, IFNULL(DICOMModality, '') FROM "
                                           "Radiology.tbRadiologyRevenues WHERE UPPER(RevenueID) = UPPER(?) AND "
                                           "IFNULL(RequestTableName, '') <> '' ORDER BY Active = 0, GType LIMIT 1"),
                            {revenueCode});
    if (rev.rows.isEmpty())
        throw SqlError(QStringLiteral("Revenue ") + revenueCode + QStringLiteral(" has no request table."));
    const QString revenueId = rev.rows[0][0].toString();
    const QString table = radiologyTable(h, rev.rows[0][1].toString());
    QString modality = rev.rows[0][2].toString().trimmed();

    const ResultSet req = h.query(
        QStringLiteral("SELECT HospNum, IDNum, TransDate, COALESCE(NULLIF(code, ''), ItemID, ''), RoomID, RequestDoctorCode, "
                       "IFNULL(stat, 0), IFNULL(SWFin, ''), IFNULL(ImagingReason, ''), IFNULL([By], UserID), RevenueID FROM ")
            + table + QStringLiteral(" WHERE RequestNum = ? ORDER BY UPPER(RevenueID) = UPPER(?) DESC, RequestID LIMIT 1"),
        {requestNum, revenueCode});
    if (req.rows.isEmpty())
        throw SqlError(QStringLiteral("Request ") + requestNum + QStringLiteral(" of revenue ") + revenueCode
                       + QStringLiteral(" not found."));
    const QVariantList &r = req.rows[0];
    const QString hospNum = r[0].toString(), idNum = r[1].toString(), transDate = r[2].toString();
    const QString itemCode = r[3].toString(), doctorCode = r[5].toString();
    QString room = r[4].toString();
    const bool stat = r[6].toString() == QLatin1String("1");
    const QString swfin = r[7].toString().trimmed().toUpper();
    QString reason = r[8].toString();
    reason.replace(QLatin1String("\r\n"), QLatin1String("\\X0D\\\\X0A\\"));
    const QString receptionist = r[9].toString();

    const bool walkIn = hospNum.startsWith(u'T');
    const ResultSet pat = h.query(
        walkIn ? QStringLiteral("SELECT LastName, FirstName, IFNULL(MiddleName, ''), BirthDate, IFNULL(Sex, ''), "
                                "IFNULL(CellNum, ''), '' FROM Patient_Data.tbCashPatient WHERE HospNum = ?")
               : QStringLiteral("SELECT LastName, FirstName, IFNULL(MiddleName, ''), BirthDate, IFNULL(Sex, ''), "
                                "IFNULL(CellNum, ''), IFNULL(TelNum, '') FROM Patient_Data.TBMaster WHERE HospNum = ?"),
        {hospNum});
    const QString patName =
        (first(pat, 0) + u'^' + first(pat, 1) + u' ' + first(pat, 2)).left(48);
    const QString birth = first(pat, 3).left(10).remove(u'-');

    QString patientClass = QStringLiteral("I");
    QString account;
    if (idNum.contains(u'B')) {
        const ResultSet v = h.query(QStringLiteral("SELECT IFNULL(ErNum, ''), AccountNum FROM Patient_Data.tbOutPatient WHERE IDNum = ?"), {idNum});
        patientClass = first(v, 0).isEmpty() ? QStringLiteral("O") : QStringLiteral("E");
        account = first(v, 1);
        if (room.isEmpty())
            room = QStringLiteral("OPD");
    } else {
        const ResultSet v = h.query(QStringLiteral("SELECT RoomID, AccountNum FROM Patient_Data.tbPatient WHERE IDNum = ?"), {idNum});
        if (room.isEmpty())
            room = first(v, 0);
        account = first(v, 1);
    }
    if (room.isEmpty() && walkIn)
        room = QStringLiteral("Walk-in");
    Q_UNUSED(account);

    const QString docName = first(h.query(QStringLiteral("SELECT substr(FirstName || ' ' || LastName || ', MD', 1, 48) FROM "
                                                         "Build_File.tbCoDoctor WHERE DoctorID = ?"),
                                          {doctorCode}),
                                  0);
    const QString empName = first(h.query(QStringLiteral("SELECT substr(LastName || '^' || FirstName || ' ' || IFNULL(MiddleName, ''), "
                                                         "1, 48) FROM Password.tbpasswordmain WHERE EmployeeID = ?"),
                                          {receptionist}),
                                  0);
    QString history = first(h.query(QStringLiteral("SELECT BriefHistory FROM STATION.tbNurseProfile WHERE IDNum = ?"), {idNum}), 0);
    history.replace(QLatin1String("\r\n"), QLatin1String("\\X0D\\\\X0A\\"));
    QString description = first(h.query(QStringLiteral("SELECT Description FROM Radiology.tbBillExamListing WHERE RevenueID = ? "
                                                       "AND ItemID = ?"),
                                        {revenueId, itemCode}),
                                0);
    description.replace(u'&', QLatin1String("AND"));

    bool numeric = false;
    requestNum.toDouble(&numeric);
    const QString placer = numeric ? requestNum + revenueId : requestNum;
    const QString control = swfin == QLatin1String("C") ? QStringLiteral("CA") : QStringLiteral("NW");
    const QString when = hl7DateTime(transDate);
    const QString now = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss"));
    const QString crlf = QStringLiteral("\r\n");

    QString hl7 = QStringLiteral("MSH|^~\\&|RISRELAYON|KALDRAHIS|medavis RIS|MEDAVIS|") + when + QStringLiteral("||ORM^O01|")
                  + now + requestNum + QStringLiteral("|P|2.3.1") + crlf;
    hl7 += QStringLiteral("PID|1||") + hospNum + QStringLiteral("||") + patName + QStringLiteral("||") + birth + u'|'
           + first(pat, 4) + QStringLiteral("|||||") + first(pat, 6) + QStringLiteral("^PRN^ph~") + first(pat, 5)
           + QStringLiteral("^ORN^CP") + crlf;
    hl7 += QStringLiteral("PV1||") + patientClass + QStringLiteral("|^") + room + QStringLiteral("|||||") + doctorCode + u'^'
           + docName + QStringLiteral("|||||||||||") + idNum + u'|' + crlf;
    hl7 += allergiesHl7(h.handle(), hospNum);
    hl7 += QStringLiteral("ORC|") + control + u'|' + placer + QStringLiteral("|||||||") + when + u'|' + receptionist + u'^'
           + empName + QStringLiteral("||") + docName + u'|' + crlf;
    hl7 += QStringLiteral("OBR||") + placer + QStringLiteral("||") + modality + itemCode + u'^' + description + u'|'
           + (stat ? QStringLiteral("S") : QStringLiteral("R")) + QStringLiteral("||||||A||")
           + (reason.isEmpty() ? QString() : QStringLiteral("IMAGING REASON:") + reason + u';')
           + QStringLiteral("|||||||||||") + modality + QStringLiteral("|||^^^") + when.left(8) + QStringLiteral("||||") + history + u'|'
           + QChar(13);

    const QString fileName = modality + placer + u'R';
    // A request waits in the queue once: an unsent earlier message of it is replaced.
    h.exec(QStringLiteral("DELETE FROM Radiology.tbHL7Queue WHERE RequestNum = ? AND RevenueID = ? AND IFNULL(HL7Status, '') = ''"),
           {requestNum, revenueCode});
    h.exec(QStringLiteral("INSERT INTO Radiology.tbHL7Queue (RequestNum, RevenueID, FileName, HL7, HL7Status, QueuedDate) "
                          "VALUES (?, ?, ?, ?, '', ?)"),
           {requestNum, revenueCode, fileName, hl7, nowIso()});
}

// Mode '1': the waiting order messages (FileName, HL7, RequestNum, RevenueID) in the order
// they were queued. Mode '2', request number, revenue: marks that request's waiting messages
// sent (HL7Status 'X'). Mode '3', request number, revenue: queues the request's order message
// again (queueOrderMessage); an unknown request or revenue is an error. Any other mode does
// nothing.
ResultSet radioHl7Format(Hospital &h, const QVariantList &args)
{
    const QString mode = arg(args, 0).trimmed();
    if (mode == QLatin1String("1"))
        return h.query(QStringLiteral("SELECT FileName, HL7, RequestNum, RevenueID FROM Radiology.tbHL7Queue "
                                      "WHERE IFNULL(HL7Status, '') = '' ORDER BY SequenceNo"));
    if (mode == QLatin1String("2")) {
        h.exec(QStringLiteral("UPDATE Radiology.tbHL7Queue SET HL7Status = 'X', SentDate = ? "
                              "WHERE RequestNum = ? AND RevenueID = ? AND IFNULL(HL7Status, '') = ''"),
               {nowIso(), arg(args, 1), arg(args, 2)});
        return {};
    }
    if (mode == QLatin1String("3")) {
        h.atomically([&] { queueOrderMessage(h, arg(args, 1).trimmed(), arg(args, 2).trimmed()); });
        return {};
    }
    return {};
}

// Mode '1': the waiting patient-edit messages of tbMasterHL7 as FileName, HL7 and RequestNum
// (the row's SequenceNo, which the program uses to mark the row sent), oldest first. Any other
// mode lists nothing.
ResultSet radioHl7EditPatient(Hospital &h, const QVariantList &args)
{
    if (arg(args, 0).trimmed() != QLatin1String("1"))
        return {};
    return h.query(QStringLiteral("SELECT FileName, HL7, CAST(SequenceNo AS TEXT) AS RequestNum FROM Radiology.tbMasterHL7 "
                                  "WHERE IFNULL(HL7Status, '') = '' ORDER BY SequenceNo"));
}

} // namespace

void registerRadiologyObjects(Hospital &hospital)
{
    hospital.registerProcedure(QStringLiteral("spRadio_SaveHL7Result"), saveHl7Result);
    hospital.registerProcedure(QStringLiteral("spRadioHL7Format"), radioHl7Format);
    hospital.registerProcedure(QStringLiteral("spRadioHL7EditPatient"), radioHl7EditPatient);

    sqlite3 *db = hospital.handle();
    if (!db)
        throw SqlError(QStringLiteral("The radiology functions need the SQLite connection."));
    const int flags = SQLITE_UTF8;
    if (sqlite3_create_function_v2(db, "fn_GetAllergiesHL7", 1, flags, nullptr, fnGetAllergiesHl7, nullptr, nullptr, nullptr)
            != SQLITE_OK
        || sqlite3_create_function_v2(db, "Fn_GetEmpID_HL7", 1, flags, nullptr, fnGetEmpIdHl7, nullptr, nullptr, nullptr)
               != SQLITE_OK)
        throw SqlError(QString::fromUtf8(sqlite3_errmsg(db)));
}

} // namespace hospitaldb
