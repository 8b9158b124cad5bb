#include "OrderMessage.h"

#include "ClientOptions.h"
#include "CommLog.h"
#include "Database.h"

#include <QDateTime>
#include <QHash>

#include <exception>

bool gblSkipHL7 = false;

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString sqlDate(const QDateTime &when)
{
    if (!when.isValid())
        return QStringLiteral("NULL");
    return sqlStr(when.toString(QStringLiteral("MM/dd/yyyy HH:mm:ss.zzz")));
}

} // namespace

QString modalityCode(const QString &revenueId)
{
    static const QHash<QString, QString> codes = {
        {QStringLiteral("XR"), QStringLiteral("CR")}, {QStringLiteral("MI"), QStringLiteral("MG")},
        {QStringLiteral("WC"), QStringLiteral("US")}, {QStringLiteral("P4"), QStringLiteral("CT")},
        {QStringLiteral("NU"), QStringLiteral("NM")}, {QStringLiteral("C1"), QStringLiteral("XA")},
        {QStringLiteral("RI"), QStringLiteral("MR")}, {QStringLiteral("R1"), QString()},
    };
    const auto it = codes.constFind(revenueId);
    return it == codes.constEnd() ? revenueId : it.value();
}

QString placerOrderNumber(const QString &requestNum, const QString &revenueId)
{
    bool numeric = false;
    requestNum.trimmed().toDouble(&numeric);
    return numeric && !requestNum.trimmed().isEmpty() ? requestNum + revenueId : requestNum;
}

QString orderControl(const QString &swfin)
{
    return swfin == QLatin1String("C") ? QStringLiteral("CA") : QStringLiteral("NW");
}

QString orderFileName(const QString &revenueId, const QString &requestNum, const QString &swfin)
{
    return modalityCode(revenueId) + placerOrderNumber(requestNum, revenueId)
        + (swfin.isEmpty() ? QStringLiteral("X") : swfin);
}

bool medavisVariant()
{
    const ClientOptions &options = ClientOptions::instance();
    return options.vesk() || options.medavis();
}

QString buildOrderMessage(const RadiologyOrderData &d, bool medavis)
{
    const OrderRequestRow &row = d.row;
    const QString modality = modalityCode(row.RevenueID);
    const QString placer = placerOrderNumber(row.RequestNum, row.RevenueID);
    const QString transDateTime = d.TranDateFormattedA + d.TranDateFormattedB;

    QString m = medavis ? QStringLiteral("MSH|^~\\&|RISRELAYON|KALDRAHIS|medavis RIS|MEDAVIS|")
                        : QStringLiteral("MSH|^~\\&|NOVARAD|KALDRAHIS|NOVARAD|NOVARADRIS|");
    m += transDateTime + QStringLiteral(" ||ORM^O01|") + d.DateWRequestNum + QStringLiteral("|P|2.3.1 ") + kCrLf;

    m += QStringLiteral("PID|1||") + row.HospNum + QStringLiteral("||") + d.PatName + QStringLiteral("||") + d.Bdate
        + QStringLiteral("|") + d.Sex + QStringLiteral("|||") + d.Address + QStringLiteral("||") + d.TelNum
        + QStringLiteral("^PRN^ph~") + d.CellNum + QStringLiteral("^ORN^CP") + kCrLf;

    m += QStringLiteral("PV1||") + d.PatientClass + QStringLiteral("|^") + d.Room + QStringLiteral("|||||")
        + d.RequestDoctorCode + QStringLiteral("^") + d.DocName + QStringLiteral("|||||||||||") + row.IDNum
        + QStringLiteral("|") + kCrLf;

    m += d.Allergies;

    if (medavis) {
        QString diagnosis = d.Diagnosis;
        diagnosis.remove(kCrLf);
        m += QStringLiteral("DG1|1||^") + diagnosis + QStringLiteral("|") + kCrLf;
        m += QStringLiteral("IN1|1|||") + d.Company + QStringLiteral("|") + kCrLf;
    }

    m += QStringLiteral("ORC|") + orderControl(row.SWFin) + QStringLiteral("|") + placer
        + QStringLiteral("|||||||") + transDateTime + QStringLiteral("|") + d.Receptionist + QStringLiteral("^")
        + d.EmpName + QStringLiteral("||") + d.DocName + QStringLiteral("|") + kCrLf;

    QString description = d.Description;
    description.replace(QLatin1Char('&'), QStringLiteral("AND"));
    m += QStringLiteral("OBR||") + placer + QStringLiteral("||") + modality + d.ItemCode + QStringLiteral("^")
        + description + QStringLiteral("|") + d.Priority + QStringLiteral("|") + d.RequestDate
        + QStringLiteral("|||||A||") + trimSpaces(d.ImagingReason + d.Remarks) + QStringLiteral("|||||||||||")
        + modality + QStringLiteral("|||^^^") + d.TranDateFormattedA + QStringLiteral("||||") + d.BriefHistory
        + QStringLiteral("|") + QStringLiteral("\r\x1c\r");
    return m;
}

QString hl7LogStatement(const RadiologyOrderData &d, bool skipped, const QDateTime &exportDate)
{
    const OrderRequestRow &row = d.row;
    return QStringLiteral("INSERT INTO Radiology..tbHl7Logs (IDnum,RequestNum,Transdate,RevenueId,ItemID,Hospnum,"
                          "RefNum,ExportDate,HL7Type) VALUES (")
        + sqlStr(row.IDNum) + QStringLiteral(",")
        + sqlStr(skipped ? QString() : placerOrderNumber(row.RequestNum, row.RevenueID)) + QStringLiteral(",")
        + (skipped ? QStringLiteral("NULL") : sqlDate(d.TransDate)) + QStringLiteral(",") + sqlStr(row.RevenueID)
        + QStringLiteral(",") + sqlStr(d.ItemCode) + QStringLiteral(",") + sqlStr(row.HospNum)
        + QStringLiteral(",") + sqlStr(row.RefNum) + QStringLiteral(",") + sqlDate(exportDate)
        + QStringLiteral(",") + sqlStr(skipped ? QString() : orderControl(row.SWFin)) + QStringLiteral(")");
}

QString GetHL7(Connection *connection, const OrderRequestRow &row, const ItemFilters &filters, OrderResults &results)
{
    if (row.RequestNum.isEmpty())
        return QString();
    results.PatName.clear();
    results.HospNum.clear();
    if (row.RequestTableName.isEmpty())
        return QString();

    results.HL7RevenueID = row.RevenueID;
    results.HL7RequestNum = row.RequestNum;

    RadiologyOrderData data;
    const GatherOutcome outcome = gatherOrderData(connection, row, filters, data);
    if (outcome == GatherOutcome::NotFound)
        return QString();

    const bool skipped = outcome == GatherOutcome::Skipped;
    if (skipped) {
        gblSkipHL7 = true;
    } else {
        results.HL7 = buildOrderMessage(data, medavisVariant());
        results.FName = orderFileName(row.RevenueID, row.RequestNum, row.SWFin);
        results.HL7RevenueID = row.RevenueID;
        results.PatName = data.PatName;
        results.HospNum = row.HospNum;
    }

    const QString sql = hl7LogStatement(data, skipped, QDateTime::currentDateTime());
    try {
        if (!connection)
            throw DbError(QStringLiteral("No connection"));
        connection->execute(sql);
    } catch (const DbError &e) {
        TraceLog(QStringLiteral("Error on GetHL7 tbHl7Logs ") + e.description() + QStringLiteral(" ") + sql);
    } catch (const std::exception &e) {
        TraceLog(QStringLiteral("Error on GetHL7 tbHl7Logs ") + QString::fromLocal8Bit(e.what())
                 + QStringLiteral(" ") + sql);
    }
    return QString();
}

QString trimSpaces(const QString &text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text.at(from) == QLatin1Char(' '))
        ++from;
    while (to > from && text.at(to - 1) == QLatin1Char(' '))
        --to;
    return text.mid(from, to - from);
}
