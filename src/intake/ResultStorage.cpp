#include "ResultStorage.h"

#include "CommLog.h"
#include "Database.h"
#include "Globals.h"
#include "RevenueTable.h"

#include <QDateTime>


namespace {

// A column written: its name, its value as traced, and the value as the statement holds it.
struct Column {
    QString name;
    QString value;
    QString literal;
};

Column text(const QString &name, const QString &value)
{
    return {name, value, sqlStr(value)};
}

// The workstation's clock, as a date the database reads back.
QString nowText()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("MM/dd/yyyy HH:mm:ss"));
}

QString insertStatement(const QString &table, const QList<Column> &columns)
{
    QStringList names;
    QStringList values;
    for (const Column &c : columns) {
        names << c.name;
        values << c.literal;
    }
    return QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") + names.join(QStringLiteral(", "))
           + QStringLiteral(") VALUES (") + values.join(QStringLiteral(", ")) + u')';
}

QString updateStatement(const QString &table, const QList<Column> &columns, const QString &where)
{
    QStringList sets;
    for (const Column &c : columns)
        sets << c.name + QStringLiteral(" = ") + c.literal;
    return QStringLiteral("UPDATE ") + table + QStringLiteral(" SET ") + sets.join(QStringLiteral(", ")) + where;
}

// Columns whose value is traced after it is written (while "Trace" is ticked).
bool tracedColumn(const QString &name)
{
    static const QStringList traced{
        QStringLiteral("RequestNum"),        QStringLiteral("HospNum"),   QStringLiteral("IDNum"),
        QStringLiteral("ItemCode"),          QStringLiteral("ExamTaken"), QStringLiteral("ResultDate"),
        QStringLiteral("VerifyDate"),        QStringLiteral("ExamDate"),  QStringLiteral("RequestDoctorCode"),
        QStringLiteral("RadCode"),           QStringLiteral("VerifyById"), QStringLiteral("InterpretationPureText"),
        QStringLiteral("RadTech")};
    return traced.contains(name);
}

} // namespace

QString StoredReportText(QString report)
{
    report.replace(u'~', QString(QChar(13)) + QChar(28));
    const qsizetype cut = report.indexOf(QLatin1String("Radiographer"));
    if (cut >= 0)
        report.truncate(cut);
    report.replace(QLatin1String("\\X0D\\\\X0A\\"), QString(QChar(13)));
    return report;
}

QString GetROOMID(Connection &connection, const QString &IDNum)
{
    if (IDNum.contains(u'B'))
        return QStringLiteral("OPD");
    try {
        const Recordset rs = connection.open(QStringLiteral("SELECT TOP 1 ")
                                             + QStringLiteral(" RoomID FROM Patient_Data..tbPatient    WITH (NOLOCK)  ")
                                             + QStringLiteral(" WHERE IDNum=") + sqlStr(IDNum));
        return rs.recordCount() > 0 ? rs.text(0, QStringLiteral("RoomID")) : QString();
    } catch (const DbError &e) {
        TraceLog(QStringLiteral("GetROOMID ") + e.description());
        return QString();
    }
}

QString RequestNumberOf(Connection &connection, const QString &requestTable, const QString &given)
{
    auto exists = [&](const QString &number) {
        return connection
                   .open(QStringLiteral("SELECT TOP 1 RequestNum FROM ") + requestTable
                         + QStringLiteral(" WITH (NOLOCK) WHERE RequestNum = ") + sqlStr(number))
                   .recordCount()
               > 0;
    };
    const QString made = PlacerRequestNumber(given);
    if (made.isEmpty() || exists(given))
        return given;
    return exists(made) ? made : given;
}

void StoreResultDirect(Connection &connection, const ResultValues &v, IntakeProgress &progress)
{
    const QString report = StoredReportText(v.reportText).trimmed();
    const QString hospNum = v.hospNum.trimmed();
    const QString idNum = v.idNum.trimmed();
    const QString radiologist = v.radiologistCode.trimmed();

    auto run = [&](const QString &statement) {
        progress.lastStatement = statement;
        connection.execute(statement);
    };
    auto open = [&](const QString &statement) {
        progress.lastStatement = statement;
        return connection.open(statement);
    };

    // The radiographer's employee id.
    QString radTech;
    if (!v.radiographer.isEmpty()) {
        progress.lastStep = QStringLiteral(" Radiology.dbo.Fn_GetEmpID_HL7");
        const Recordset rs = open(QStringLiteral("SELECT Radiology.dbo.Fn_GetEmpID_HL7(") + sqlStr(v.radiographer.trimmed())
                                  + QStringLiteral(") as EmpID"));
        if (rs.recordCount() > 0)
            radTech = rs.text(0, 0);
    }

    gblHospNum.clear();
    gblRequestNum.clear();
    const RevenueInfo *revenue = FindRevenue(v.departmentCode);
    if (!revenue) {
        // A result with nowhere to go is not taken as handled: the file is set aside in
        // "failed" for the operator instead of being filed away unstored.
        TraceLog(QStringLiteral("Handle input, revenue not found ") + v.modality.toUpper());
        throw IntakeError(QStringLiteral("Handle input, revenue not found ") + v.modality.toUpper()
                          + QStringLiteral(" for request ") + v.requestNum.trimmed());
    }
    const bool womens = revenue->ResultTableName.toUpper() == u"TBULWOMENSRESULTOB";
    const QString resultTable = QStringLiteral("RADIOLOGY..") + revenue->ResultTableName;
    const QString requestTable = QStringLiteral("RADIOLOGY..") + revenue->RequestTableName;

    progress.lastStep = QStringLiteral("SELECT * FROM  RADIOLOGY..") + revenue->ResultTableName;
    const QString requestNum = RequestNumberOf(connection, requestTable, v.requestNum.trimmed());

    // The result row, in the order its columns are written.
    QList<Column> columns;
    auto add = [&](const QString &name, const QString &value) { columns.append(text(name, value)); };
    if (!womens) {
        progress.lastField = QStringLiteral("HospNum");
        add(QStringLiteral("HospNum"), hospNum);
        add(QStringLiteral("IDNum"), idNum);
        add(QStringLiteral("ItemCode"), v.itemCode);
        add(QStringLiteral("ExamTaken"), v.serviceText.trimmed());
    }
    add(QStringLiteral("RequestNum"), requestNum);
    progress.lastField = QStringLiteral("TransDate");
    add(QStringLiteral("TransDate"), nowText());
    progress.lastField = QStringLiteral("ResultDate VerifyDate ExamDate ");
    add(QStringLiteral("ResultDate"), ResultDateText(v.reportStatusTime));
    add(QStringLiteral("VerifyDate"),
        ResultDateText(gblLISId == u"MEDAVIS" ? v.messageTime : v.reportStatusTime));
    add(QStringLiteral("ExamDate"), ResultDateText(v.transactionTime));
    if (womens) {
        progress.lastField = QStringLiteral("SonologistID");
        add(QStringLiteral("SonologistID"), radiologist);
    } else {
        progress.lastField = QStringLiteral("RoomID");
        const QString room = GetROOMID(connection, idNum);
        add(QStringLiteral("RequestDoctorCode"), v.attendingDoctor.trimmed());
        add(QStringLiteral("RadCode"), radiologist);
        add(QStringLiteral("VerifyById"), radiologist);
        add(QStringLiteral("InterpretationPureText"), report);
        add(QStringLiteral("RadTech"), radTech);
        add(QStringLiteral("RoomID"), room);
    }
    add(QStringLiteral("Interpretation"), report);

    const Recordset existing = open(QStringLiteral("SELECT * FROM  ") + resultTable + QStringLiteral(" WHERE RequestNum=")
                                    + sqlStr(requestNum));
    progress.lastField = QStringLiteral("Interpretation");
    if (existing.recordCount() == 0)
        run(insertStatement(resultTable, columns));
    else
        run(updateStatement(resultTable, columns, QStringLiteral(" WHERE RequestNum = ") + sqlStr(requestNum)));
    gblHospNum = hospNum;
    gblRequestNum = requestNum;
    gblPatientName = (v.familyName + u'^' + v.givenName).trimmed();
    if (TraceEnabled()) {
        for (const Column &c : std::as_const(columns))
            if (tracedColumn(c.name))
                TraceLog(c.name + QStringLiteral(": ") + c.value);
    }

    if (!womens) {
        progress.lastStep = QStringLiteral("SELECT * FROM  RADIOLOGY..  history ");
        progress.lastField.clear();
        run(insertStatement(QStringLiteral("RADIOLOGY..") + revenue->HistoryTableName,
                            {text(QStringLiteral("HospNum"), hospNum),
                             text(QStringLiteral("IDNum"), idNum),
                             text(QStringLiteral("ItemCode"), v.serviceCode.trimmed()),
                             text(QStringLiteral("RequestNum"), requestNum),
                             text(QStringLiteral("RadCode"), radiologist),
                             text(QStringLiteral("Interpretation"), report),
                             text(QStringLiteral("TranscribedByID"), radiologist),
                             text(QStringLiteral("VerifyByID"), radiologist),
                             text(QStringLiteral("VerifyDate"), ResultDateText(v.messageTime)),
                             {QStringLiteral("Version"), QStringLiteral("1"), sqlInt(1)}}));

        progress.lastStep = QStringLiteral("UPDATE  RADIOLOGY..") + revenue->RequestTableName;
        run(QStringLiteral("UPDATE  RADIOLOGY..") + revenue->RequestTableName + QStringLiteral("   SET ")
            + revenue->StatusSWFinField + QStringLiteral(" = 'Y' WHERE RequestNum = ") + sqlStr(requestNum));
    }

    // The nurse log book row of the examination. Orders carry the item with its modality
    // prefix (CR88) while the ward books the bare item (88): either form matches.
    const QString logWhere = QStringLiteral(" WHERE RequestNum = ") + sqlStr(requestNum) + QStringLiteral(" ")
                             + QStringLiteral(" AND HospNum = ") + sqlStr(hospNum) + QStringLiteral(" ")
                             + QStringLiteral(" AND IDNum = ") + sqlStr(idNum) + QStringLiteral(" ")
                             + QStringLiteral(" AND RevenueID = ") + sqlStr(v.saveCode) + QStringLiteral(" ")
                             + QStringLiteral(" AND ItemID IN (") + sqlStr(v.serviceCode) + u',' + sqlStr(v.itemCode)
                             + QStringLiteral(") ");
    const QString logSelect = QStringLiteral("SELECT RecordStatus,ResultBy,ResultDate FROM STATION..tbNurseLogBook ") + logWhere;
    progress.lastStep = logSelect;
    if (open(logSelect).recordCount() == 0)
        TraceError(QStringLiteral("Cannot Find row to update ") + logSelect);
    else
        run(updateStatement(QStringLiteral("STATION..tbNurseLogBook"),
                            {text(QStringLiteral("RecordStatus"), QStringLiteral("W")),
                             text(QStringLiteral("ResultBy"), radiologist),
                             text(QStringLiteral("ResultDate"), nowText())},
                            logWhere));

    const QString commWhere = QStringLiteral(" WHERE RequestNum = ") + sqlStr(requestNum) + QStringLiteral(" ");
    const QString commSelect = QStringLiteral("SELECT  RecordStatus FROM STATION..tbNurseCommunicationFile ") + commWhere;
    progress.lastStep = commSelect;
    if (open(commSelect).recordCount() == 0)
        TraceError(QStringLiteral("Cannot Find row to update ") + commSelect);
    else
        run(updateStatement(QStringLiteral("STATION..tbNurseCommunicationFile"),
                            {text(QStringLiteral("RecordStatus"), QStringLiteral("X"))}, commWhere));
}
